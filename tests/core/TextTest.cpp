// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/Text.h"

using namespace vkt;

TEST(Text, ValReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("162.4"), 162.4);
    EXPECT_DOUBLE_EQ(Val("  -2.5abc"), -2.5);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("1e3"), 1000);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    EXPECT_DOUBLE_EQ(Val("-"), 0);
}

TEST(Text, IsNumericAcceptsSignedDecimalsOnly) {
    for (const char* yes : {"154.525", "-2", "+7", ".5", "5.", " 12 ", "1e3"}) EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", "-", ".", "-.", "12a", "a12", "1 2", "D023"}) EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST(Text, NumberTextIsShortest) {
    EXPECT_EQ(NumberText(146.94 - 0.6), "146.34");
    EXPECT_EQ(NumberText(0.25), ".25");
    EXPECT_EQ(NumberText(-0.5), "-.5");
    EXPECT_EQ(NumberText(2906.25), "2906.25");
    EXPECT_EQ(NumberText(30), "30");
    EXPECT_EQ(NumberText(0), "0");
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
