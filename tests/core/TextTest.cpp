// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/Text.h"

using namespace vkt;

// Numbers read and written have a point for their decimal mark whatever the
// user's locale says; a German one has a comma (skipped where not installed).
class Numbers : public ::testing::TestWithParam<const char*> {
    void SetUp() override { if (!std::setlocale(LC_NUMERIC, GetParam())) GTEST_SKIP() << "the locale " << GetParam() << " is not installed"; }
    void TearDown() override { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    const std::string previous_ = std::setlocale(LC_NUMERIC, nullptr);
};
INSTANTIATE_TEST_SUITE_P(InTheLocale, Numbers, ::testing::Values("C", "de_DE.UTF-8"));

TEST_P(Numbers, ValReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("162.4"), 162.4);
    EXPECT_DOUBLE_EQ(Val("  -2.5abc"), -2.5);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("1e3"), 1000);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    EXPECT_DOUBLE_EQ(Val("-"), 0);
    EXPECT_DOUBLE_EQ(Val("146,52"), 146);
    EXPECT_DOUBLE_EQ(Val("1e999"), 0);
}

TEST_P(Numbers, IsNumericAcceptsSignedDecimalsOnly) {
    for (const char* yes : {"154.525", "-2", "+7", ".5", "5.", " 12 ", "1e3"}) EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", "-", ".", "-.", "12a", "a12", "1 2", "D023", "146,52", "1e999", "+-1"}) EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST_P(Numbers, FixedTextRoundsToItsDecimals) {
    const std::tuple<double, int, const char*> cases[] = {
        {146.52, 5, "146.52000"}, {0.125, 2, "0.12"}, {0.375, 2, "0.38"}, {-2.5, 0, "-2"}, {8.04999, 1, "8.0"}, {1e20, 1, "100000000000000000000.0"}};
    for (const auto& [value, decimals, text] : cases) EXPECT_EQ(FixedText(value, decimals), text) << value;
}

TEST_P(Numbers, NumberTextIsShortest) {
    EXPECT_EQ(NumberText(146.94 - 0.6), "146.34");
    EXPECT_EQ(NumberText(0.25), ".25");
    EXPECT_EQ(NumberText(-0.5), "-.5");
    EXPECT_EQ(NumberText(2906.25), "2906.25");
    EXPECT_EQ(NumberText(30), "30");
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(1.0 / 3), ".333333333333333");
    EXPECT_EQ(NumberText(1e16), "1e+16");
}

TEST(Text, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(121.6), 122);
}

TEST(Text, CharactersAreCodePoints) {
    EXPECT_EQ(CharCount("Ch\xC3\xA9 1"), 5u);
    EXPECT_EQ(CharCount("\xF0\x9F\x93\xBB 1"), 3u);  // an emoji: four bytes, one character
    EXPECT_EQ(PadLeft("\xC3\xA9", 3, ' '), "  \xC3\xA9");
    EXPECT_EQ(CharsMid("abcdef", 2, 3), "cde");
    EXPECT_EQ(CharsMid("ab", 1, 5), "b");
}
