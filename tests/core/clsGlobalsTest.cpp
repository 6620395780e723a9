// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/MemoryMap.h"
#include "core/clsGlobals.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;
using vkt::GlobalsControls;

namespace {

class GlobalsCodec : public ImageTest {
protected:
    GlobalsControls c;
    clsGlobals globals{c};
};

} // namespace

// Each setting of the signalling and options bytes as the boxes show it.
TEST_F(GlobalsCodec, SignallingAndOptionsBytes) {
    struct Case { int address, byte; vkt::ComboBox* box; const char* shown; };
    const Case cases[] = {
        {7, 0xF8, &c.cboDTMFDev, "2906.25"}, {7, 0xF8, &c.cboANIRate, "10"}, {7, 0xF8, &c.cboPorchTime, "30"},
        {7, 0x0F, &c.cboDTMFDev, "93.75"},   {7, 0x0F, &c.cboANIRate, "20"}, {7, 0x0F, &c.cboPorchTime, "1020"},
        {155, 0xA6, &c.cboFreqDisplay, "Enabled"}, {155, 0xA6, &c.cboLoPower, "Disabled"}, {155, 0xA6, &c.cboTalkBack, "Enabled"},
        {155, 0xA6, &c.cboNuisanceChan, "Disabled"}, {155, 0xA6, &c.cboPriRate, "1.75"}, {6, 0x04, &c.cboBattSave, "Inhibit"},
    };
    for (const Case& k : cases) {
        MemoryImage[static_cast<size_t>(k.address)] = static_cast<uint8_t>(k.byte);
        globals.Read_Globals();
        EXPECT_EQ(k.box->Text(), k.shown) << k.address << " " << k.byte;
    }
}

TEST_F(GlobalsCodec, ListItems) {
    EXPECT_EQ(c.cboDTMFDev.ListCount(), 32);
    EXPECT_EQ(c.cboDTMFDev.Items()[2], "187.5");
    EXPECT_EQ(c.cboDTMFDev.Items()[3], "281.25");
    EXPECT_EQ(c.cboDTMFDev.Items()[4], "375");
    EXPECT_EQ(c.cboDTMFDev.Items()[30], "2812.5");
    EXPECT_EQ(c.cboGroup[0].Items().back(), "Global");
    EXPECT_EQ(c.cboChan[0].ListCount(), 17);
    EXPECT_EQ(c.cboChan[2].Text(), "Channel 16");
    EXPECT_EQ(c.cboDTMFDev.ToolTip(), "Select value from list.");
}

TEST_F(GlobalsCodec, SwitchCodeTable) {
    // Every code in every switch position: read, shown, written back.
    for (int code = 0; code < 8; ++code) {
        const int written = code == 1 || code == 2 ? 3 : code;
        MemoryImage[152] = static_cast<uint8_t>(code << 5 | code << 2 | code >> 1);
        MemoryImage[153] = static_cast<uint8_t>((code & 1) << 7 | code << 4 | code << 1 | 0x01);
        globals.Read_Switch_Assignments();
        for (auto* box : {&c.cboLoPowerSwitch, &c.cboChanScan, &c.cboPriScan, &c.cboRTA, &c.cboGroupScan})
            EXPECT_EQ(box->Text(), SwitchCodeText(written)) << code;
        globals.Write_Switch_Assignments();
        EXPECT_EQ(At(152), written << 5 | written << 2 | written >> 1) << code;
        EXPECT_EQ(At(153), (written & 1) << 7 | written << 4 | written << 1 | 0x01) << code;
    }
}

TEST_F(GlobalsCodec, RotaryPositionWithGlobalGroupAndTheGlobalChannel) {
    c.cboGroup[15].setText("Global");
    c.cboChan[15].setText("Channel 4");
    c.cboGlobalGroup.setText("15");
    c.cboGlobalChannel.setText("16");
    globals.Write_Rotary_Switch();
    EXPECT_EQ(At(143), 0x03);
    EXPECT_EQ(At(144), 0x80);
    EXPECT_EQ(At(255), 0xEF);
    for (auto* box : {&c.cboGroup[15], &c.cboChan[15], &c.cboGlobalGroup, &c.cboGlobalChannel}) box->setListIndex(0);
    globals.Read_Rotary_Switch();
    EXPECT_EQ(c.cboGroup[15].Text(), "Global");
    EXPECT_EQ(c.cboChan[15].Text(), "Channel 4");
    EXPECT_EQ(c.cboGlobalGroup.Text(), "15");
    EXPECT_EQ(c.cboGlobalChannel.Text(), "16");
}

TEST_F(GlobalsCodec, RotaryFlagBitOrder) {
    struct Case { int p; int address; int bit; };
    const Case cases[] = {{0, 149, 0}, {7, 149, 7}, {8, 148, 0}, {15, 148, 7}};
    for (const Case& k : cases) {
        MemoryImage.fill(0);
        GlobalsControls fresh;
        fresh.chkGrpVar[static_cast<size_t>(k.p)].setValue(1);
        fresh.chkChanVar[static_cast<size_t>(k.p)].setValue(1);
        fresh.cboGroup[static_cast<size_t>(k.p)].setText("Global");
        fresh.cboChan[static_cast<size_t>(k.p)].setText("Global");
        clsGlobals(fresh).Write_Rotary_Switch();
        // Group and channel variable at the address and 2 on, their global flags 4 and 2 before.
        for (int a = 144; a <= 151; ++a) {
            const bool flag = a == k.address || a == k.address + 2 || a == k.address - 4 || a == k.address - 2;
            EXPECT_EQ(At(a), flag ? 1 << k.bit : 0) << k.p << " " << a;
        }
    }
}

TEST_F(GlobalsCodec, WritesOnlyTheUnitWideBits) {
    // Only the bits of the unit-wide settings; everything else of the image must survive.
    for (unsigned seed = 1; seed <= 10; ++seed) {
        FillRandom(seed);
        const Image before = MemoryImage;
        globals.Read_Globals();
        globals.Write_Globals();
        for (const auto& [address, bits] : ChangedBits(before, MemoryImage)) EXPECT_EQ(bits & ~UnitWideBits(address), 0) << address;
    }
}
