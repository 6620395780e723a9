// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "core/MemoryMap.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;

namespace {

// The radio's memory map written out by hand, byte by byte: the one place the declarations are checked against
// literal addresses and masks. Group fields are offsets of the group block, channel fields of the slot.
using Bytes = std::vector<std::pair<int, int>>;

std::map<std::string, Bytes> GoldenPage0() {
    // Fields that share a byte stand on its line.
    std::map<std::string, Bytes> m = {
        {"Number of Groups", {{5, 0xFF}}},
        {"Global Battery Saver", {{6, 0x04}}},
        {"DTMF Deviation", {{7, 0xF8}}}, {"ANI Rate", {{7, 0x04}}}, {"Front Porch Time", {{7, 0x03}}},
        {"Low Power Switch", {{152, 0xE0}}}, {"Channel Scan Switch", {{152, 0x1C}}},
        {"Priority Scan Switch", {{152, 0x03}, {153, 0x80}}},
        {"Repeater Talk Around Switch", {{153, 0x70}}}, {"Group Scan Switch", {{153, 0x0E}}},
        {"Display Frequencies Only", {{155, 0x80}}}, {"Per Channel Power", {{155, 0x40}}},
        {"Talk Back Scan", {{155, 0x20}}}, {"Nuisance Channel Delete", {{155, 0x10}}},
        {"Priority Rate", {{155, 0x07}}},
        {"Global Group", {{255, 0xF0}}}, {"Global Channel", {{255, 0x0F}}},
        {"Receiver Front End DAC", {{8, 0xFF}}},
        {"Transmit Modulation", {{9, 0xFF}}},
        {"High Power DAC", {{11, 0xFF}}},
        {"Low Power DAC", {{20, 0xFF}}},
        {"Crystal Correction", {{31, 0xFF}, {32, 0xFF}}},
        {"Pull Correction", {{55, 0xFF}, {56, 0xFF}}},
        {"Narrow Band Squelch Gain", {{67, 0xFF}}},
        {"Wide Band Squelch Gain", {{76, 0xFF}}},
    };
    for (int p = 1; p <= 16; ++p) {
        const std::string pos = "Rotary Position " + std::to_string(p) + " ";
        m[pos + "Group"] = {{127 + p, 0xF0}};
        m[pos + "Channel"] = {{127 + p, 0x0F}};
        // Positions 1 ... 8 in the second byte of each pair, 9 ... 16 in the first.
        const int second = p <= 8 ? 1 : 0, bit = p <= 8 ? 1 << (p - 1) : 1 << (p - 9);
        m[pos + "Group Global"] = {{144 + second, bit}};
        m[pos + "Channel Global"] = {{146 + second, bit}};
        m[pos + "Group Keypad"] = {{148 + second, bit}};
        m[pos + "Channel Keypad"] = {{150 + second, bit}};
    }
    return m;
}

std::map<std::string, Bytes> GoldenGroupBlock() {
    std::map<std::string, Bytes> m = {
        {"UCG Channel", {{0, 0x0F}}}, {"UCG Channel Selected", {{0, 0x10}}}, {"UCG Encode Only", {{0, 0x20}}},
        {"Password", {{38, 0xFF}, {39, 0xFF}, {40, 0xFF}}},
        {"ID Number", {{41, 0xFF}, {42, 0xFF}, {43, 0xFF}, {44, 0xFF}}},
        {"Time Out Timer", {{45, 0xF0}}}, {"Scan Hold Time", {{45, 0x0F}}},
        {"Priority 1 Off", {{46, 0x80}}}, {"Priority 1 Main", {{46, 0x40}}}, {"Priority 1 Channel", {{46, 0x0F}}},
        {"Priority 2 Off", {{47, 0x80}}}, {"Priority 2 Main", {{47, 0x40}}}, {"Priority 2 Channel", {{47, 0x0F}}},
        {"Battery Saver Off", {{48, 0x80}}}, {"Group Scan List", {{48, 0x40}}},
        {"Transmit on Priority 1", {{48, 0x20}}}, {"Priority Key Lockout", {{48, 0x10}}},
        {"ENT/CLR Key Lockout", {{48, 0x08}}},
        {"UCG Enabled", {{49, 0x80}}}, {"Busy Channel Indicator", {{49, 0x60}}},
        {"Resident ANI/DTMF", {{49, 0x18}}},
        {"Back Light", {{50, 0x30}}}, {"Display Mode", {{50, 0x08}}}, {"Back Light Duration", {{50, 0x07}}},
        {"Label", {{51, 0xFF}, {52, 0xFF}, {53, 0xFF}, {54, 0xFF}, {55, 0xFF}, {56, 0xFF}, {57, 0xFF}, {58, 0xFF}}},
    };
    for (int c = 1; c <= 16; ++c) {
        const std::string ch = "Ch " + std::to_string(c) + " ";
        const int second = c <= 8 ? 1 : 0, bit = c <= 8 ? 1 << (c - 1) : 1 << (c - 9);
        m[ch + "Low Power"] = {{32 + second, bit}};
        m[ch + "Narrow"] = {{34 + second, bit}};
        m[ch + "Scan"] = {{36 + second, bit}};
    }
    return m;
}

const std::map<std::string, Bytes> GoldenChannelSlot = {
    {"Rec Freq", {{0, 0xFF}, {1, 0xFF}}},
    {"Rec CG", {{2, 0xFF}, {3, 0xFF}}},
    {"Tx Freq", {{4, 0xFF}, {5, 0xFF}}},
    {"Tx CG", {{6, 0xFF}, {7, 0xFF}}},
};

std::string ElementName(const Field& run, int i) { return run.element ? std::string(run.element) + " " + std::to_string(i + 1) + " " + run.name : run.name; }

template <typename Fields>
std::map<std::string, Bytes> Declared(const Fields& fields) {
    std::map<std::string, Bytes> m;
    for (const Field& run : fields) {
        for (int i = 0; i < run.count; ++i) {
            const Field f = run[i];
            Bytes bytes;
            for (int k = 0; k < f.size; ++k) if (FieldBitsAt(f, f.offset + k)) bytes.emplace_back(f.offset + k, FieldBitsAt(f, f.offset + k));
            m[ElementName(run, i)] = bytes;
        }
    }
    return m;
}

} // namespace

TEST(MemoryMap, EveryDeclaredFieldLiesWhereTheMapSays) {
    std::vector<Field> page0(Page0::UnitWide.begin(), Page0::UnitWide.end());
    page0.insert(page0.end(), Page0::Alignment.begin(), Page0::Alignment.end());
    page0.push_back(Page0::GroupsHeld);
    EXPECT_EQ(Declared(page0), GoldenPage0());
    EXPECT_EQ(Declared(GroupBlock::Fields), GoldenGroupBlock());
    EXPECT_EQ(Declared(ChannelSlot::Fields), GoldenChannelSlot);
    EXPECT_EQ(Declared(std::array{LabelSlot::Label}), (std::map<std::string, Bytes>{
        {"Label", {{0, 0xFF}, {1, 0xFF}, {2, 0xFF}, {3, 0xFF}, {4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}}}}));
}

TEST(MemoryMap, TheUnitWideBitsAreTheBitsAWriteMaySendOfPageZero) {
    std::array<int, 256> expected{};
    expected[6] = 0x04;
    expected[7] = 0xFF;
    for (int a = 128; a <= 152; ++a) expected[static_cast<size_t>(a)] = 0xFF;
    expected[153] = 0xFE;
    expected[155] = 0xF7;
    expected[255] = 0xFF;
    for (int a = 0; a < 256; ++a) EXPECT_EQ(UnitWideBits(a), expected[static_cast<size_t>(a)]) << a;
}

TEST_F(ImageTest, ANumberFieldIsShownWithItsScale) {
    WriteField(MemoryImage, 0, Page0::DTMFDeviation, 31);
    EXPECT_EQ(FieldText(MemoryImage, 0, Page0::DTMFDeviation), "2906.25");
}
