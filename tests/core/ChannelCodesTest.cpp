// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/ChannelCodes.h"

using namespace VKTCore;

TEST(LabelCodes, TableBothWays) {
    const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-*$/+%\\|_<>h ";
    ASSERT_EQ(chars.size(), 49u);
    for (size_t code = 0; code < chars.size(); ++code) {
        const std::string ch(1, chars[code]);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(code));
        EXPECT_EQ(CharToLabelCode(ch), hex) << ch;
        EXPECT_EQ(LabelCodeToChar(hex), ch) << hex;
    }
    EXPECT_EQ(CharToLabelCode("a"), "30");
    EXPECT_EQ(CharToLabelCode("H"), "11");
    EXPECT_EQ(CharToLabelCode("\xC3\xA9"), "30");
    EXPECT_EQ(LabelCodeToChar("A"), "A");  // one digit is padded: "0A"
    EXPECT_EQ(LabelCodeToChar("31"), "");
    EXPECT_EQ(LabelCodeToChar("FF"), "");
}

TEST(LabelCodes, EncodeRightAlignsAndKeepsLowerCaseH) {
    const LabelCodes ch1 = EncodeLabel("Ch 1");
    EXPECT_EQ(ch1, (LabelCodes{0x30, 0x30, 0x30, 0x30, 0x0C, 0x2F, 0x30, 0x01}));
    EXPECT_EQ(EncodeLabel("fire"), EncodeLabel("    FIRE"));
    EXPECT_EQ(EncodeLabel("ABCDEFGHI"), EncodeLabel("ABCDEFGH"));
    const uint8_t allFF[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(DecodeLabel(allFF), "");
    EXPECT_EQ(DecodeLabel(ch1.data()), "    Ch 1");
}

TEST(Frequency, TextToStepsAndBack) {
    struct Case { const char* text; int steps; const char* back; };
    const Case cases[] = {
        {"162.4", 49920, "162.40000"},   {"162.40000", 49920, "162.40000"},
        {"162.401", 49921, "162.40125"}, {"181.91875", 65535, "181.91875"},
        {"100.00125", 1, "100.00125"},   {"0", 0, "000.00"},
        {"000.00", 0, "000.00"},         {"abc", 0, "000.00"},
        {"", 0, "000.00"},               {"100.000625", 0, "000.00"}, // half a step rounds to even 0
    };
    for (const Case& c : cases) {
        const auto steps = FreqTextToSteps(c.text);
        ASSERT_TRUE(steps.has_value()) << c.text;
        EXPECT_EQ(*steps, c.steps) << c.text;
        EXPECT_EQ(strHexToFreq(*steps), c.back) << c.text;
    }
}

TEST(Frequency, OutsideTheStepRangeHasNoEncoding) {
    for (const char* text : {"181.92", "200", "99.99", "50", "-146"}) EXPECT_FALSE(FreqTextToSteps(text).has_value()) << text;
}

TEST(ChannelGuard, TextsToCodes) {
    struct Case { const char* text; uint16_t code; const char* back; };
    const Case cases[] = {
        {"88.5", 0x0885, "088.5"},   {"088.5", 0x0885, "088.5"}, {"100", 0x1000, "100.0"},
        {"100.0", 0x1000, "100.0"},  {"", 0x0000, "000.0"},      {"0", 0x0000, "000.0"},
        {"000.0", 0x0000, "000.0"},  {"67.0", 0x0670, "067.0"},  {"d023-", 0xC813, "D023-"},
        {"D023", 0x8813, "D023"},    {"D754", 0x89EC, "D754"},   {"D754-", 0xC9EC, "D754-"},
        {"D777-", 0xC9FF, "D777-"},  {"5.", 0x0050, "005.0"},    {".5", 0x0005, "000.5"},
        {"0088.5", 0x0885, "088.5"}, {"250.3", 0x2503, "250.3"},   {"799.9", 0x7999, "799.9"},
    };
    for (const Case& c : cases) {
        const auto code = CGTextToCode(c.text);
        ASSERT_TRUE(code.has_value()) << c.text;
        EXPECT_EQ(*code, c.code) << c.text;
        EXPECT_EQ(CGCodeToText(*code), c.back) << c.text;
    }
}

TEST(ChannelGuard, ErasedCodeReadsAsInvertedD777) {
    EXPECT_EQ(CGCodeToText(0xFFFF), "D777-");
    EXPECT_EQ(CGCodeToText(0x8000), "D000");
}

// Nothing is cut off or folded: 8 and 9 are no octal digits, and a tone has four decimal digits at most and
// stays below 800 Hz, whose first digit would make it a digital code.
TEST(ChannelGuard, TextsThatAreNotWhollyACodeAreRefused) {
    for (const char* text : {"D", "D02", "DX23", "D0A3", "D999", "D089", "D008-", "d023-junk-", "D0234", "D023+", "D023 ",
                             "88.55", "088.55", "8.55", "12345.6", "1234.5678", "1234", "1234.5", "12a.5", "8.8.8", "abc", "800", "800.0", "948.8", "999.9",
                             " 88.5", "-88.5", "D\xC3\xA9" "23"}) EXPECT_FALSE(CGTextToCode(text).has_value()) << text;
}
