// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/ChannelCodes.h"
#include "core/clsChannel.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;
using vkt::GroupControls;

namespace {

class ChannelCodec : public ImageTest {
protected:
    GroupControls controls;
    clsChannel channel{controls};

    void setRow(int c, const char* rx, const char* rxcg, const char* tx, const char* txcg, const char* label) {
        auto& g = controls.grid();
        g.setCellText(c, 1, rx);
        g.setCellText(c, 2, rxcg);
        g.setCellText(c, 3, tx);
        g.setCellText(c, 4, txcg);
        g.setCellText(c, 5, label);
    }
    // The 8 bytes from an address on: a channel's slot, or its label.
    static std::array<uint8_t, 8> bytes(int address) {
        std::array<uint8_t, 8> s{};
        std::copy_n(MemoryImage.begin() + address, 8, s.begin());
        return s;
    }
    static std::array<uint8_t, 8> slot(int g, int c) { return bytes(ChannelSlotAddress(g, c)); }
    static std::array<uint8_t, 8> label(int g, int c) { return bytes(LabelSlotAddress(g, c)); }
    std::array<std::string, 6> row(int r) {
        std::array<std::string, 6> cells;
        for (int col = 0; col < 6; ++col) cells[static_cast<size_t>(col)] = controls.grid().cellText(r, col);
        return cells;
    }
};

} // namespace

TEST_F(ChannelCodec, WritesEveryFieldIntoItsSlot) {
    setRow(3, "162.4", "88.5", "162.401", "d023-", "fire");
    controls.chkLoPower[3].setValue(1);
    controls.chkScan[3].setValue(1);
    EXPECT_TRUE(channel.Write_Channel(4, 3));
    EXPECT_EQ(slot(4, 3), (std::array<uint8_t, 8>{0xC3, 0x00, 0x08, 0x85, 0xC3, 0x01, 0xC8, 0x13}));
    EXPECT_EQ(label(4, 3), (std::array<uint8_t, 8>{0x30, 0x30, 0x30, 0x30, 0x0F, 0x12, 0x1B, 0x0E}));
    const int block = GroupBase(4);
    EXPECT_EQ(At(block + 33), 0x08);  // low power, channel index 3
    EXPECT_EQ(At(block + 35), 0x00);
    EXPECT_EQ(At(block + 37), 0x08);  // scan
    setRow(3, "x", "x", "x", "x", "x");
    channel.Read_Channel(4, 3);
    EXPECT_EQ(row(3), (std::array<std::string, 6>{"", "162.40000", "088.5", "162.40125", "D023-", "    FIRE"}));
}

TEST_F(ChannelCodec, ErasedChannelReads) {
    std::fill_n(MemoryImage.begin() + ChannelSlotAddress(2, 7), 8, 0xFF);
    std::fill_n(MemoryImage.begin() + LabelSlotAddress(2, 7), 8, 0xFF);
    channel.Read_Channel(2, 7);
    EXPECT_EQ(row(7), (std::array<std::string, 6>{"", "181.91875", "D777-", "181.91875", "D777-", " BLANK  "}));
    // The placeholder text is stored as the letters of BLANK.
    channel.Write_Chan_Alpha(2, 7);
    EXPECT_EQ(label(2, 7), EncodeLabel(" BLANK  "));
}

TEST_F(ChannelCodec, FieldWritesTouchOnlyTheirOwnBits) {
    FillRandom(7);
    setRow(9, "154.5125", "D023-", "155", "100", "PD 9");
    controls.chkLoPower[9].setValue(1);
    controls.chkNarr[9].setValue(0);
    controls.chkScan[9].setValue(1);
    const Image before = MemoryImage;
    channel.Write_Channel(5, 9);
    const int slot = ChannelSlotAddress(5, 9), lab = LabelSlotAddress(5, 9), block = GroupBase(5);
    for (const auto& [address, bits] : ChangedBits(before, MemoryImage)) {
        const bool inSlot = address >= slot && address < slot + 8, inLabel = address >= lab && address < lab + 8;
        const bool flag = (address == block + 32 || address == block + 34 || address == block + 36) && bits == 2;
        EXPECT_TRUE(inSlot || inLabel || flag) << address << " bits " << bits;
    }
}

TEST_F(ChannelCodec, UnencodableTextsKeepTheirBytes) {
    FillRandom(3);
    const Image before = MemoryImage;
    setRow(2, "250.0", "D02", "99", "8.55", "OK");
    EXPECT_FALSE(channel.Write_Channel(0, 2));
    EXPECT_TRUE(std::equal(before.begin() + ChannelSlotAddress(0, 2), before.begin() + ChannelSlotAddress(0, 2) + 8, slot(0, 2).begin()));
    EXPECT_EQ(label(0, 2), EncodeLabel("OK"));  // the label still went in
}
