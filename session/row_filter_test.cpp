#include "session/row_filter.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

ListRow Row(const char* number, const char* compressed, const char* depth, const char* x,
            const char* y, const char* pit, const char* data, const char* modified) {
    ListRow row;
    const char* texts[] = {number, compressed, depth, x, y, pit, data, "20", modified, ""};
    for (int c = 0; c < kColumnCount; ++c) row[c] = QString::fromUtf8(texts[c]);
    return row;
}

// Rows of the demo's kinds: which of them each filter text keeps.
TEST(RowFilterTest, TermsAndTheirCombinations) {
    const std::vector<ListRow> rows = {
        Row("1", "", "1", "4", "4", "660010", "500000", ""),
        Row("2", "yes", "16", "32", "32", "660018", "5001C8", "yes"),
        Row("3", "yes", "8", "32", "24", "670010", "501A70", ""),
        Row("4", "", "12", "101", "80", "6600F8", "5E2000", "yes"),
    };
    struct Case {
        const char* filter;
        std::vector<int> kept;  // row numbers
    };
    const Case cases[] = {
        {"", {1, 2, 3, 4}},
        {"   ", {1, 2, 3, 4}},
        {"670010", {3}},      // PIT
        {"1a7", {3}},         // part of Data, either case
        {"0x5e2000", {4}},    // with the prefix
        {"6600", {1, 2, 4}},  // part of several PIT texts
        {"32x32", {2}},
        {"32X*", {2, 3}},
        {"*x80", {4}},
        {"101\u0445"
         "80",
         {4}},  // a Cyrillic "x" from a Russian keyboard
        {"4\u00D74", {1}},
        {"16bit", {2}},
        {"8BITS", {3}},
        {"12 bit", {4}},  // the number and the word apart
        {"1bit", {1}},
        {"modified", {2, 4}},
        {"Modifyed", {2, 4}},
        {"compressed", {2, 3}},
        {"compressed modified", {2}},
        {"modified 16bit 32x32 6600", {2}},
        {"modified 8bit", {}},
        {"zzz", {}},
        {"32x", {}},  // not a size, and no such text
    };
    for (const Case& c : cases) {
        const RowFilter filter(QString::fromUtf8(c.filter));
        std::vector<int> kept;
        for (const ListRow& row : rows)
            if (filter.Matches(row)) kept.push_back(row[ColNumber].toInt());
        EXPECT_EQ(kept, c.kept) << "filter \"" << c.filter << "\"";
    }
    EXPECT_TRUE(RowFilter(QStringLiteral(" \t")).IsEmpty());
    EXPECT_FALSE(RowFilter(QStringLiteral("x")).IsEmpty());
}

}  // namespace
}  // namespace vorlix
