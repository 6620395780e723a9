// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/MemoryMap.h"
#include "core/clsGroup.h"
#include "tests/core/TestImage.h"

using namespace VKTCore;
using vkt::GroupControls;

namespace {

class GroupCodec : public ImageTest {
protected:
    GroupControls c;
    clsGroup group{c};

    int block(int g, int r) { return At(GroupBase(g) + r); }
    void setBlock(int g, int r, int v) { MemoryImage[static_cast<size_t>(GroupBase(g) + r)] = static_cast<uint8_t>(v); }
};

struct FieldCase {
    const char* name;
    std::function<void(GroupControls&)> set;  // puts a value into the controls
    void (clsGroup::*write)(int);
    std::vector<Field> fields;  // the declared fields it may change
};

std::vector<FieldCase> FieldCases() {
    using G = GroupControls;
    using C = clsGroup;
    namespace GB = GroupBlock;
    return {
        {"password", [](G& c) { c.txtPassWord.setText("987654"); }, &C::Write_Password, {GB::Password}},
        {"label", [](G& c) { c.txtGrpLab.setText("FIRE"); }, &C::Write_Group_Label, {GB::Label}},
        {"tot+scan", [](G& c) { c.cboTOT.setText("60"); c.cboScan.setText("2.5"); }, &C::Write_TOT_Scan,
         {GB::TimeOutTimer, GB::ScanHoldTime}},
        {"id", [](G& c) { c.txtID.setText("1234567"); }, &C::Write_ID_Num, {GB::IdNumber}},
        {"display", [](G& c) { c.cboDisplay.setListIndex(1); }, &C::Write_Display_Mode, {GB::DisplayMode}},
        {"backlight", [](G& c) { c.cboBackLight.setListIndex(2); }, &C::Write_BackLight, {GB::BackLight}},
        {"duration", [](G& c) { c.cboDuration.setListIndex(5); }, &C::Write_Duration, {GB::BackLightDuration}},
        {"pri1 ch", [](G& c) { c.cboPri1Chan.setListIndex(5); }, &C::Write_Pri_1,
         {GB::Priority1Off, GB::Priority1Main, GB::Priority1Channel}},
        {"pri2 main", [](G& c) { c.cboPri2Chan.setListIndex(17); }, &C::Write_Pri_2,
         {GB::Priority2Off, GB::Priority2Main}},
        {"pri tx", [](G& c) { c.chkPriTX.setValue(1); }, &C::Write_Pri_TX, {GB::TransmitOnPriority1}},
        {"batt", [](G& c) { vkt::selectOption(c.optBattSaveOff, {&c.optBattSaveOn, &c.optBattSaveOff}); },
         &C::Write_Battery_Saver, {GB::BatterySaverOff}},
        {"lockouts", [](G& c) { c.chkPriKeyLock.setValue(1); c.chkENTCLRLock.setValue(0); }, &C::Write_Keyboard_Lockouts,
         {GB::PriorityKeyLockout, GB::EntClrKeyLockout}},
        {"bci", [](G& c) { c.cboBCI.setListIndex(3); }, &C::Write_Busy_Channel_Indicate, {GB::BusyChannelIndicator}},
        {"ani", [](G& c) { c.cboANI.setListIndex(2); }, &C::Write_ANI_DTMF, {GB::ResidentAniDtmf}},
        {"group scan", [](G& c) { c.chkGroupScanList.setValue(1); }, &C::Write_Group_Scan_List, {GB::GroupScanList}},
        {"ucg encode", [](G& c) { c.chkUCGEncode.setValue(1); }, &C::Write_UCG_Encode, {GB::UCGEncodeOnly}},
        {"ucg enable", [](G& c) { vkt::selectOption(c.optUCGEnabled, {&c.optUCGEnabled, &c.optUCGDisabled}); c.cboUCGChan.setListIndex(3); },
         &C::Write_UCG_Enable, {GB::UCGEnabled, GB::UCGChannelSelected}},
        {"ucg chan", [](G& c) { c.cboUCGChan.setListIndex(7); }, &C::Write_UCG_Chan, {GB::UCGChannel}},
    };
}

} // namespace

TEST_F(GroupCodec, EachFieldWritesOnlyItsOwnBits) {
    for (const FieldCase& f : FieldCases()) {
        for (int g : {0, 1, 14}) {
            FillRandom(static_cast<unsigned>(g * 100 + f.fields[0].offset));
            const Image before = MemoryImage;
            f.set(c);
            (group.*f.write)(g);
            for (const auto& [address, changed] : ChangedBits(before, MemoryImage)) {
                int allowed = 0;
                for (const Field& field : f.fields) allowed |= FieldBitsAt(field, address - GroupBase(g));
                EXPECT_EQ(changed & ~allowed, 0) << f.name << " group " << g << " address " << address;
            }
        }
    }
}

// Random bytes, but in the forms this program itself stores: label codes from the table, digital codes with bit
// 11 set and bits 13, 12, 10, 9 clear, priority bytes not both OFF and MAIN.
static void RandomStoredForms(unsigned seed) {
    std::mt19937 rng(seed);
    for (auto& b : MemoryImage) b = static_cast<uint8_t>(rng());
    auto at = [](int a) -> uint8_t& { return MemoryImage[static_cast<size_t>(a)]; };
    for (int g = 0; g < 15; ++g) {
        for (int i = 0; i < 8; ++i) at(GroupBase(g) + 51 + i) %= 49;
        for (int r : {46, 47}) if (at(GroupBase(g) + r) & 0x80) at(GroupBase(g) + r) &= 0xBF;
        for (int ch = 0; ch < 16; ++ch) {
            for (int i = 0; i < 8; ++i) at(LabelSlotAddress(g, ch) + i) %= 49;
            for (int k : {2, 6}) {
                uint8_t& hi = at(ChannelSlotAddress(g, ch) + k);
                if (hi & 0x80) hi = static_cast<uint8_t>((hi & 0xC1) | 0x08);
            }
        }
    }
}

TEST_F(GroupCodec, ReadThenWriteLeavesStoredFormsAsTheyWere) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        RandomStoredForms(seed);
        const Image before = MemoryImage;
        for (int g = 0; g < 15; ++g) {
            group.Read_Group(g);
            group.Write_Group(g);  // tones with non-decimal digits are refused and kept
        }
        for (const auto& [address, bits] : ChangedBits(before, MemoryImage)) {
            // The ID's first digit is never shown, and the enable bit of the user code guard channel follows the option buttons.
            const int r = (address - 256) % 384;
            const bool idFirstDigit = r == 41 && (bits & 0x0F) == 0, ucgChannelSelected = r == 0 && bits == 0x10;
            EXPECT_TRUE(idFirstDigit || ucgChannelSelected) << "seed " << seed << " address " << address << " bits " << bits;
        }
    }
}

// What is typed stores these bytes of the group block and reads back so; group 2 (index 1) lives in the second
// half of its page. A letter the keyboard makes of several bytes is one digit, stored as 0.
TEST_F(GroupCodec, TypedValuesStoreTheirBytesAndReadBack) {
    struct Case {
        vkt::TextBox* box;  // none: the time-out, with the scan hold time
        const char *typed, *scan;
        int offset;
        std::vector<int> bytes;
        const char* shown;
    };
    const Case cases[] = {
        {&c.txtPassWord, "123", nullptr, 38, {0x00, 0x01, 0x23}, "000123"},
        {&c.txtPassWord, "1234567", nullptr, 38, {0x12, 0x34, 0x56}, "123456"},
        {&c.txtPassWord, "1\xC3\xA9" "3456", nullptr, 38, {0x10, 0x34, 0x56}, "103456"},
        {&c.txtID, "1234567", nullptr, 41, {0x01, 0x23, 0x45, 0x67}, "1234567"},
        {&c.txtID, "12\xC3\xA9" "4567", nullptr, 41, {0x01, 0x20, 0x45, 0x67}, "1204567"},
        {&c.txtGrpLab, "GROUP 1", nullptr, 51, {0x30, 0x10, 0x1B, 0x18, 0x1E, 0x19, 0x30, 0x01}, " GROUP 1"},
        {nullptr, "60", "2.5", 45, {0x45}, "60"},
        {nullptr, "225", "7.5", 45, {0xFF}, "225"},
        {nullptr, "OFF", "0.0", 45, {0x00}, "OFF"},
        {nullptr, "15", "0.5", 45, {0x11}, "15"},
    };
    for (const Case& k : cases) {
        k.box ? k.box->setText(k.typed) : c.cboTOT.setText(k.typed);
        if (k.scan) c.cboScan.setText(k.scan);
        group.Write_Group(1);
        for (size_t i = 0; i < k.bytes.size(); ++i) EXPECT_EQ(block(1, k.offset + static_cast<int>(i)), k.bytes[i]) << k.typed << " " << i;
        for (auto* t : {&c.txtPassWord, &c.txtID, &c.txtGrpLab}) t->setText("x");
        c.cboTOT.setListIndex(-1);
        c.cboScan.setListIndex(-1);
        group.Read_Group(1);
        EXPECT_EQ(k.box ? k.box->Text() : c.cboTOT.Text(), k.shown) << k.typed;
        if (k.scan) { EXPECT_EQ(c.cboScan.Text(), k.scan); }
    }
    setBlock(1, 41, 0x91);  // the ID's first digit is never shown
    group.Read_Group(1);
    EXPECT_EQ(c.txtID.Text(), "1204567");
    for (int i = 0; i < 8; ++i) setBlock(0, 51 + i, 0xFF);
    group.Read_Group_Label(0);
    EXPECT_EQ(c.txtGrpLab.Text(), "");  // no BLANK placeholder for groups
}

TEST_F(GroupCodec, PriorityChannels) {
    setBlock(0, 46, 0x37);  // bits 5-4 set, channel 7
    c.cboPri1Chan.setListIndex(17);
    group.Write_Pri_1(0);
    EXPECT_EQ(block(0, 46), 0x77);  // MAIN keeps the channel bits
    c.cboPri1Chan.setText("Ch 5");
    group.Write_Pri_1(0);
    EXPECT_EQ(block(0, 46), 0x34);
    c.cboPri1Chan.setText("OFF");
    group.Write_Pri_1(0);
    EXPECT_EQ(block(0, 46), 0xB4);
    const std::pair<int, const char*> reads[] = {{0x05, "Ch 6"}, {0x80, "OFF"}, {0x40, "MAIN"}, {0xC3, "OFF"}, {0x0F, "Ch 16"}};
    for (const auto& [byte, text] : reads) {
        setBlock(0, 47, byte);
        group.Read_Pri_2(0);
        EXPECT_EQ(c.cboPri2Chan.Text(), text) << byte;
    }
}

// Bit 4 marks the channel of an enabled guard and never changes what 1 ... 15 read as; "0" and "16" both store
// channel bits 15, and bit 4 tells them apart, enabled or disabled.
TEST_F(GroupCodec, UserCodeGuard) {
    struct Case { vkt::OptionButton* option; int item; int bits; };
    const Case cases[] = {{&c.optUCGEnabled, 3, 0x12},  {&c.optUCGEnabled, 12, 0x1B}, {&c.optUCGEnabled, 0, 0x0F},
                          {&c.optUCGEnabled, 16, 0x1F}, {&c.optUCGDisabled, 0, 0x0F}, {&c.optUCGDisabled, 16, 0x1F},
                          {&c.optUCGDisabled, 3, 0x02}, {&c.optUCGDisabled, 15, 0x0E}};
    for (const Case& k : cases) {
        vkt::selectOption(*k.option, {&c.optUCGEnabled, &c.optUCGDisabled});
        c.cboUCGChan.setListIndex(k.item);
        group.Write_UCG_Enable(0);
        group.Write_UCG_Chan(0);
        EXPECT_EQ(block(0, 49) & 0x80, k.option == &c.optUCGEnabled ? 0x80 : 0) << k.item;
        EXPECT_EQ(block(0, 0) & 0x1F, k.bits) << k.option->Caption() << " " << k.item;
        c.cboUCGChan.setListIndex(-1);
        group.Read_UCG_Chan(0);
        EXPECT_EQ(c.cboUCGChan.ListIndex(), k.item) << k.option->Caption() << " " << k.item;
    }
}

TEST_F(GroupCodec, HugeTypedNumbersDoNotOverflow) {
    c.cboTOT.setEditText("1e300");
    c.cboScan.setEditText("-1e300");
    group.Write_TOT_Scan(0);
    EXPECT_EQ(block(0, 45), 0xF0);
}
