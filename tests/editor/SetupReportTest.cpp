// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"

using namespace VKTCore;

namespace {

class ReportTest : public ::testing::Test {
protected:
    ReportTest() {
        MemoryImage.fill(0);
        WriteDefaults::WriteAllDefaults();
    }
    const vkt::PrintDocument& print(const std::string& file = "") {
        vkteditor::PrintSetupReport(printer, file);
        return printer.lastDocument();
    }
    static std::vector<std::string> Lines(const vkt::PrintDocument& doc, size_t page) {
        vkt::PrintDocument one;
        one.pages = {doc.pages.at(page)};
        std::vector<std::string> out;
        std::istringstream in(one.text());
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    vkt::DocumentPrinter printer;
};

} // namespace

TEST_F(ReportTest, FactoryImageOnEightPages) {
    const vkt::PrintDocument& doc = print();
    ASSERT_EQ(doc.pages.size(), 8u);
    EXPECT_EQ(printer.documents(), 1);
    const auto p1 = Lines(doc, 0);
    const std::vector<std::string> head = {
        "                   VKT Unit Data Printout:    ",
        "",
        "         Unit Global Data:",
        "         DTMF Dev = 2906.25    Front Porch Time = 30    ANI Rate = 10    Priority Rate = .25",
        "         Global Battery Saver is Enabled    Display Frequencies Only is Disabled    Per Channel Power is Disabled",
        "         Talk Back Scan is Disabled    Nuisance Channel Delete is Disabled",
        "",
        "         Toggle Switch Assignments:",
        "         Low Power = Left Toggle    Channel Scan = Middle Toggle    Priority Scan = Right Toggle",
        "         Repeater Talk Around = Keypad    Group Scan = Keypad",
        "",
        "         Rotary Switch Assignments:",
        "         Position:   Variable:  Group:  Channel:  Variable:",
        "           1            Yes     1       1            No",
        "           2            Yes     2       16           No",
    };
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(p1.at(i), head[i]) << i;
    EXPECT_EQ(p1.at(28), "           16           Yes     16      16           No");
    EXPECT_EQ(p1.at(29), "         The Global Group is 1   The Global Channel is 1");
    EXPECT_EQ(p1.at(31), "         Group 1 Data:");
    EXPECT_EQ(p1.at(32), "         ANI/ID Number: 0000000      Group Label:   GROUP1      Unit Password = 000000");
    EXPECT_EQ(p1.at(33), "         Time Out Timer = OFF      Scan Hold Time = 0      Group Scan Enabled = False");
    EXPECT_EQ(p1.at(34), "         Display: 7 Segment Mode     Back Light: Always Off     Duration: Off");
    EXPECT_EQ(p1.at(35), "         Priority 1 Channel: 1     Priority 2 Channel: 1      Transmit on Priority 1: No");
    EXPECT_EQ(p1.at(36), "         Battery Saver: On      Priority Key: Enabled      'ENT' & 'CLR' Keys: Enabled");
    EXPECT_EQ(p1.at(37), "         Busy Channel Indicator: Off      Resident ANI/DTMF: Off");
    EXPECT_EQ(p1.at(38), "         User Code Guard is Disabled      User code Guard Channel: 1      User Code Guard Encode Only: No");
    EXPECT_EQ(p1.at(39), "         Chan: Rec Freq:     Rec CG:   Tx Freq:      Tx CG:    Label:      Scan:   Narrow:   Low Power:");
    EXPECT_EQ(p1.at(40), "         1     162.40000     000.0     000.00        000.0         Ch 1");
    EXPECT_EQ(p1.size(), 57u);
    const auto p8 = Lines(doc, 7);
    EXPECT_EQ(p8.at(2), "         Group 14 Data:");
    EXPECT_EQ(p8.at(28), "         Group 15 Data:");
    EXPECT_EQ(doc.pages[0][0].font, "Arial");
    EXPECT_EQ(doc.pages[0][0].size, 16);
    EXPECT_EQ(doc.pages[0][2].size, 10);
}

TEST_F(ReportTest, EveryValueBranch) {
    const int g = GroupBase(0), slot = ChannelSlotAddress(0, 0);
    const std::pair<int, uint8_t> bytes[] = {
        {5, 3},  // fewer than 15 groups: group 1 only
        {6, 0x04}, {7, 0x0F}, {155, 0xF7}, {255, 0xEF},
        {144, 0x80},  // position 16's group is global
        {151, 0x01},  // position 1's channel is variable
        {g, 0x2C}, {g + 32, 0x80}, {g + 33, 1}, {g + 35, 1}, {g + 37, 1}, {g + 41, 0x91}, {g + 45, 0x15} /* the shortest time-out */, {g + 46, 5},
        {g + 47, 0x80}, {g + 48, 0xF8}, {g + 49, 0xFF}, {g + 50, 0x3F}, {slot + 2, 0xC8}, {slot + 3, 0x13}, {slot + 6, 0x08}, {slot + 7, 0x85}};
    for (const auto& [address, value] : bytes) MemoryImage[static_cast<size_t>(address)] = value;
    for (int i = 0; i < 8; ++i) {
        MemoryImage[static_cast<size_t>(g + 51 + i)] = 0xFF;
        MemoryImage[static_cast<size_t>(LabelSlotAddress(0, 0) + i)] = 0xFF;
    }

    const vkt::PrintDocument& doc = print("/tmp/x.vkt");
    ASSERT_EQ(doc.pages.size(), 1u);
    const auto p = Lines(doc, 0);
    EXPECT_EQ(p.at(0), "                   VKT Unit Data Printout:    /tmp/x.vkt");
    EXPECT_EQ(p.at(3), "         DTMF Dev = 93.75    Front Porch Time = 1020    ANI Rate = 20    Priority Rate = 2");
    EXPECT_EQ(p.at(4), "         Global Battery Saver is Inhibited    Display Frequencies Only is Enabled    Per Channel Power is Enabled");
    EXPECT_EQ(p.at(5), "         Talk Back Scan is Enabled    Nuisance Channel Delete is Enabled");
    EXPECT_EQ(p.at(13), "           1            Yes     1       1            Yes");
    EXPECT_EQ(p.at(28), "           16           Yes     Global  16           No");
    EXPECT_EQ(p.at(29), "         The Global Group is 15   The Global Channel is 16");
    EXPECT_EQ(p.at(32), "         ANI/ID Number: 1000000      Group Label: BLANK!      Unit Password = 000000");
    EXPECT_EQ(p.at(33), "         Time Out Timer = 15      Scan Hold Time = 2.5      Group Scan Enabled = True");
    EXPECT_EQ(p.at(34), "         Display: Alpha-Numeric Mode     Back Light: Keypad & Display Change     Duration: 7 Sec On");
    EXPECT_EQ(p.at(35), "         Priority 1 Channel: 6     Priority 2 Channel: Off      Transmit on Priority 1: Yes");
    EXPECT_EQ(p.at(36), "         Battery Saver: Off      Priority Key: Locked Out      'ENT' & 'CLR' Keys: Locked Out");
    EXPECT_EQ(p.at(37), "         Busy Channel Indicator: Lockout      Resident ANI/DTMF: DTMF w/Manual ANI");
    EXPECT_EQ(p.at(38), "         User Code Guard is Enabled      User code Guard Channel: 13      User Code Guard Encode Only: Yes");
    EXPECT_EQ(p.at(40), "         1     162.40000     D023-     000.00        088.5     BLANK!      S       N         L");
    // Columns count from 1: the low-power mark stands in column 94.
    EXPECT_EQ(p.at(55), "         16    162.55000     000.0     000.00        000.0        Ch 16" + std::string(22, ' ') + "L");
}

TEST_F(ReportTest, GroupCountAboveFifteenPrintsTheFifteen) {
    MemoryImage[5] = 200;
    EXPECT_EQ(print().pages.size(), 8u);
    MemoryImage[7] = 0x00;
    MemoryImage[47] = 0x40;
    MemoryImage[256 + 47] = 0x40;
    const auto p = Lines(print(), 0);
    EXPECT_NE(p.at(35).find("Priority 2 Channel: Main"), std::string::npos) << p.at(35);
}
