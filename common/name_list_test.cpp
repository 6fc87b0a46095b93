#include "common/name_list.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

TEST(NameListTest, NamesTheFirstAndCountsTheRest) {
    struct Case {
        QStringList names;
        qsizetype shown;
        QString expected;
    };
    const Case cases[] = {
        {{}, 5, QString()},
        {{"a"}, 5, "a"},
        {{"a", "b", "c"}, 3, "a, b, c"},
        {{"a", "b", "c", "d"}, 3, "a, b, c, и ещё 1"},
        {{"a", "b", "c", "d", "e", "f"}, 2, "a, b, и ещё 4"},
        {{"a", "b"}, 0, "и ещё 2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameList(c.names, c.shown), c.expected) << c.expected.toStdString();
}

}  // namespace
}  // namespace vorlix
