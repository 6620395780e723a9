// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlModule.h"
#include "core/GLOBALS.h"
#include "core/MemoryMap.h"
#include "tests/editor/EditorFixture.h"

using namespace VKTCore;

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

// A channel table that cannot open leaves the editor working on the image.
TEST_F(EditorTest, WithoutADatabaseTheEditorStillWorksOnTheImage) {
    std::filesystem::create_directories(folder / "broken.mdb");  // not a database file
    vktstore::ChannelTable broken((folder / "broken.mdb").string());
    EXPECT_FALSE(broken.connected());
    EXPECT_FALSE(broken.error().empty());
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
