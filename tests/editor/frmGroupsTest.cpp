// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlModule.h"
#include "core/GLOBALS.h"
#include "core/MemoryMap.h"
#include "editor/clsMoves.h"
#include "tests/editor/EditorFixture.h"

using namespace VKTCore;
using vkteditor::clsMoves;

TEST_F(EditorTest, SettingsOnAFirstRunAndTheTuneWarning) {
    struct NoScreen : ControlModule::StartUpScreen {
        void showSplash(vkteditor::frmSplash&) override { ++shown; }
        void closeSplash(vkteditor::frmSplash&) override { ++closed; }
        void showMain(vkteditor::frmGroups&) override { ++mains; }
        int shown = 0, closed = 0, mains = 0;
    } screen;
    vkteditor::frmSplash splash;
    vkteditor::frmGroups fresh(platform, link, *table);
    ControlModule::Main(platform, link, splash, fresh, screen);
    EXPECT_TRUE(GLOBALS::ShowTuneWarning);
    EXPECT_EQ(splash.lblVersion.Caption(), "Version 2.5.0");
    EXPECT_EQ(splash.lblProductName.Caption(), "VKT Editor");
    EXPECT_EQ(screen.shown + screen.closed + screen.mains, 3);
    EXPECT_TRUE(fresh.loading);  // the first activation is still to come
    platform.SaveSetting("VKTEDWIN", "Settings", "Show Tune Warning Message", "yes");
    ControlModule::Main(platform, link, splash, fresh, screen);
    EXPECT_FALSE(GLOBALS::ShowTuneWarning);
    GLOBALS::ShowTuneWarning = true;
}

TEST_F(EditorTest, LoadScreensFillTheGridAndCheckTheirItem) {
    main->mnuBlank_Click();
    EXPECT_TRUE(main->mnuBlank.Checked());
    EXPECT_EQ(cell(0, 1), "000.00000");
    EXPECT_EQ(cell(0, 5), "00000000");
    main->mnuLast_Click();
    EXPECT_TRUE(main->mnuLast.Checked());
    EXPECT_FALSE(main->mnuBlank.Checked());
    EXPECT_EQ(cell(0, 1), "162.40000");
    EXPECT_EQ(cell(0, 5), "    Ch 1");
    const uint8_t before = image(ChannelSlotAddress(0, 0));
    main->mnuDefault_Click();
    EXPECT_EQ(image(ChannelSlotAddress(0, 0)), before);  // the image waits for the next store
}

TEST_F(EditorTest, WithoutADatabaseTheEditorStillWorksOnTheImage) {
    std::filesystem::create_directories(folder / "broken.mdb");  // not a database file
    vktstore::ChannelTable broken((folder / "broken.mdb").string());
    vkteditor::frmGroups other(platform, link, broken);
    other.Form_Load();
    other.Form_Activate();
    EXPECT_EQ(other.Grid.cellText(0, 1), "162.40000");
    other.Grid.setCellText(2, 5, "FIRE");
    other.cboCurrentGroup.setListIndex(4);
    other.cboCurrentGroup_Click();
    other.cboCurrentGroup.setListIndex(0);
    other.cboCurrentGroup_Click();
    EXPECT_EQ(other.Grid.cellText(2, 5), "    FIRE");
}

// Read Radio refreshes the globals window only when it is open; Read Global Information always does.
TEST_F(EditorTest, ReadsRefreshTheGlobalsWindow) {
    const vkt::ComboBox& dtmf = main->globalsForm.cboDTMFDev;
    radio().eeprom[7] = 0x0F;
    main->mnuRead_Click();
    EXPECT_EQ(dtmf.Text(), "2906.25");  // closed: untouched
    main->mnuReadGlobal_Click();
    EXPECT_EQ(dtmf.Text(), "93.75");
    EXPECT_FALSE(main->globalsWindowOpen());
    main->mnuGlobals_Click();
    radio().eeprom[7] = 0xF8;
    main->mnuRead_Click();
    EXPECT_EQ(dtmf.Text(), "2906.25");
    VKTCore::MemoryImage[7] = 0x0F;
    main->globalsForm.mnuReadSettings_Click();
    EXPECT_EQ(dtmf.Text(), "93.75");
}

TEST_F(EditorTest, MovesRotateOnlyTheChannelSlotBlocks) {
    const std::tuple<int, int, std::vector<int>> cases[] = {
        // from, to, which old bank ends up in banks 1 ... 15
        {1, 15, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}},
        {15, 1, {15, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {7, 7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const auto& [from, to, order] : cases) {
        // Every byte marked with its own address, so moves show up.
        for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 7 + a / 256);
        const Image before = MemoryImage;
        clsMoves().moveGroups(from, to);
        for (int a = 0; a < ImageSize; ++a) {
            const int bank = a / 384;
            const bool slots = a % 384 < 128 && bank >= 1 && bank <= 15;
            const int source = slots ? 384 * order[static_cast<size_t>(bank - 1)] + a % 384 : a;
            ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], before[static_cast<size_t>(source)]) << from << "->" << to << " at " << a;
        }
    }
}

TEST_F(EditorTest, MoveShowsTheGroupAgainFromTheImage) {
    main->txtPassWord.setText("424242");  // not stored: the move replaces it
    main->moveForm.cboFromBank.setText("2");
    main->moveForm.cboToBank.setText("1");
    VKTCore::MemoryImage[ChannelSlotAddress(1, 0)] = 0xC5;
    main->moveForm.btnMoveOK_Click();
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    EXPECT_EQ(cell(0, 1), StepsToMHzText(0xC500 + image(ChannelSlotAddress(0, 0) + 1)));
    EXPECT_EQ(cell(0, 5), "    Ch 1");  // labels stay where they were
}
