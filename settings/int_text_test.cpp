#include <gtest/gtest.h>

#include "settings/settings.h"

namespace vorlix {
namespace {

TEST(IntText, ConvertsByTheOneRule) {
    // clang-format off
    const std::pair<const char*, std::int32_t> good[] = {
        {"101", 101}, {"  +42", 42}, {"-5", -5}, {"-2147483648", INT32_MIN}, {"0x800000", 0x800000},
        {"0X1f", 31}, {"x10", 16}, {"X10", 16}, {"$C4625C", 0xC4625C}, {"0xFFFFFFFB", -5},
        {"-0x10", -16}, {"-$10", -16}};
    // clang-format on
    for (const auto& [text, value] : good) EXPECT_EQ(ParseIntText(text), value) << text;
    for (const char* text :
         {"", "  ", "-", "0x", "$", "0x1FFFFFFFB", "2147483648", "-2147483649",
          "99999999999999999999", "42 ", "\t42", "12z", "0x0x12", "- 5", "1e3"}) {
        EXPECT_EQ(ParseIntText(text), std::nullopt) << text;
    }
    std::int32_t out = 77;
    const Status bad = ConvertInt(QStringLiteral("%1"), out);
    EXPECT_EQ(bad.message(), QStringLiteral("'%1' is not a valid integer value"));
    EXPECT_EQ(out, 77);
}

TEST(IntText, HexFormsReadBack) {
    EXPECT_EQ(HexSetting(0), QStringLiteral("0x000000"));
    EXPECT_EQ(HexSetting(0x1000000), QStringLiteral("0x1000000"));
    EXPECT_EQ(HexSetting(-5), QStringLiteral("0xFFFFFFFB"));
    EXPECT_EQ(Hex6(0xABC), QStringLiteral("000ABC"));
    for (std::int32_t v : {0, 0x7FFFFF, 0x1000000, -1, -5, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(ParseIntText(QStringLiteral("0x") + Hex6(v)), v);
    }
}

}  // namespace
}  // namespace vorlix
