// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;

TEST(MemoryImage, GroupPageTable) {
    const int expected[15] = {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 16, 17, 19, 20, 22};
    for (int g = 0; g < 15; ++g) EXPECT_EQ(GroupPage(g), expected[g]) << g;
    EXPECT_EQ(LabelSlotAddress(14, 15) + 7, 6015);  // the last byte of the image
}

// What the defaults write is the factory setup shipped, byte for byte.
TEST_F(ImageTest, DefaultsWriteEveryByteOfTheFactorySetup) {
    WriteDefaults::WriteAllDefaults();
    for (const auto& [address, bits] : ChangedBits(SetupFile("factory.vkt"), MemoryImage)) ADD_FAILURE() << "address " << address;
}

TEST(MemoryImage, HexToNumber) {
    const std::pair<const char*, double> cases[] = {
        {"2F", 47}, {"0A", 10}, {"ABC", 2748}, {"", 0}, {"1234", 0}, {"G", 0},
        {"85", 133}, {"ff", 255}, {"G1", 1}, {"7", 7},
        // A letter of several bytes is one digit worth 0.
        {"5\xC3\xA9", 80}, {"\xC3\xA9" "5", 5}, {"AB\xC3\xA9", 2736}, {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(HexToNumber(text), value) << text;
}

TEST(MemoryImage, SwitchCodeText) {
    const char* expected[] = {"Keypad", "", "", "Always Off", "Always On", "Right Toggle", "Middle Toggle", "Left Toggle", ""};
    for (int code = 0; code <= 8; ++code) EXPECT_EQ(SwitchCodeText(code), expected[code]) << code;
}
