// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/ChannelCodes.h"
#include "core/WriteDefaults.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;

namespace {

// The factory image as it must be, built by hand from the factory table.
Image ExpectedFactoryImage() {
    Image img{};
    img[5] = 0x0F;
    img[7] = 0xF8;
    for (int i = 1; i <= 15; ++i) img[static_cast<size_t>(128 + i)] = static_cast<uint8_t>(i * 16 + 15);
    img[148] = img[149] = 0xFF;
    img[152] = 0xFA;
    img[153] = 0x80;
    const uint16_t rx[4] = {49920, 49960, 50000, 50040};
    for (int g = 0; g < 15; ++g) {
        const std::string digits = std::to_string(g + 1);
        const std::string label = std::string(8 - 5 - digits.size(), ' ') + "GROUP" + digits;
        const LabelCodes codes = EncodeLabel(label);
        for (int i = 0; i < 8; ++i) img[static_cast<size_t>(GroupBase(g) + 51 + i)] = codes[static_cast<size_t>(i)];
        for (int c = 0; c < 16; ++c) {
            const int slot = ChannelSlotAddress(g, c);
            img[static_cast<size_t>(slot)] = static_cast<uint8_t>(rx[c % 4] >> 8);
            img[static_cast<size_t>(slot + 1)] = static_cast<uint8_t>(rx[c % 4] & 0xFF);
            const std::string n = std::to_string(c + 1);
            const std::string chLabel = std::string(8 - 3 - n.size(), ' ') + "Ch " + n;
            const LabelCodes ch = EncodeLabel(chLabel);
            for (int i = 0; i < 8; ++i) img[static_cast<size_t>(LabelSlotAddress(g, c) + i)] = ch[static_cast<size_t>(i)];
        }
    }
    return img;
}

} // namespace

// What the defaults write, and the factory setup file shipped, byte for byte.
TEST_F(ImageTest, DefaultsWriteEveryByteOfTheFactorySetupAndSoIsItsFile) {
    WriteDefaults::WriteAllDefaults();
    const Image expected = ExpectedFactoryImage();
    for (const auto& [address, bits] : ChangedBits(expected, MemoryImage)) ADD_FAILURE() << "address " << address;
    std::ifstream in(std::string(VKT_TEST_DATA_DIR) + "/factory.vkt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(expected.begin(), expected.end()));
}
