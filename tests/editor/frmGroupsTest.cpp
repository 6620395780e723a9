// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlModule.h"
#include "core/GLOBALS.h"
#include "core/ChannelPlan.h"
#include "core/MemoryMap.h"
#include "tests/editor/EditorFixture.h"

#include <fstream>

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

TEST(EditorWithoutDatabase, TheEditorStillWorksOnTheImage) {
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port(clock);
    vkttest::ScriptedPlatform platform(clock);
    platform.setSerialPort(port);
    VKTCom::RadioLink link(platform);
    const TempFolder temp("vkt-no-db-");
    std::filesystem::create_directories(temp.path() / "VktCurrent.mdb");  // not a database file
    vktstore::ChannelTable table((temp.path() / "VktCurrent.mdb").string());
    EXPECT_FALSE(table.connected());
    EXPECT_FALSE(table.error().empty());
    vkteditor::frmGroups main(platform, link, table);
    main.Form_Load();
    main.Form_Activate();
    EXPECT_EQ(main.Grid.cellText(0, 1), "162.40000");
    main.Grid.setCellText(2, 5, "FIRE");
    main.cboCurrentGroup.setListIndex(4);
    main.cboCurrentGroup_Click();
    main.cboCurrentGroup.setListIndex(0);
    main.cboCurrentGroup_Click();
    EXPECT_EQ(main.Grid.cellText(2, 5), "    FIRE");
}

// Export writes the setup with the shown group's edits; a file that is no
// plan is said at once; Undo of an import gives way to any change made since.
TEST_F(EditorTest, ChannelPlanExportAndAnImportsUndoOnlyWhileNothingChanged) {
    const auto file = [&](const char* name) { return (folder / name).string(); };
    type(0, vkt::ColChLabel, "FIRE");
    for (const auto format : {PlanFormat::IncidentPlan, PlanFormat::ChannelList}) {
        platform.dialogAnswers.push_back(file("out.csv"));
        format == PlanFormat::IncidentPlan ? main->mnuExportIncident_Click() : main->mnuExportList_Click();
        std::ifstream in(file("out.csv"), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WritePlan(MemoryImage, format));
        EXPECT_NE(WritePlan(MemoryImage, format).find(",FIRE,"), std::string::npos);
    }
    std::ofstream(file("notes.csv")) << "Name,Phone\nJ. Doe,555\n";
    platform.dialogAnswers.push_back(file("notes.csv"));
    platform.answer(vkt::Answer::OK, file("notes.csv") + ":\rno line names the columns of a plan: an incident plan's \"Ch #\" and "
                                     "\"RX Freq\", or a channel list's \"Location\" and \"Frequency\"");
    main->mnuImportPlan_Click();
    EXPECT_FALSE(main->planImport.Visible());

    std::ofstream(file("plan.csv")) << "Zone/Grp,Ch #,Channel Name,RX Freq,RX Tone,TX Freq,TX Tone,Mode\n1,3,CMD,154.0000N,CSQ,,,A\n";
    const std::string before = cell(2, vkt::ColChLabel);
    for (int pass = 0; pass < 2; ++pass) {
        platform.dialogAnswers.push_back(file("plan.csv"));
        main->mnuImportPlan_Click();
        main->planImport.btnImportOK_Click();
        EXPECT_EQ(cell(2, vkt::ColChLabel), "     CMD");
        EXPECT_EQ(main->statusText.Caption(), "Channel plan imported: group 1: channel 3 (Undo puts them back)");
        if (pass == 1) break;
        main->mnuUndo_Click();
        EXPECT_EQ(cell(2, vkt::ColChLabel), before);
    }
    main->txtGrpLab.setText("NORTH");
    main->mnuUndo_Click();
    EXPECT_EQ(main->txtGrpLab.Text(), "NORTH");
    EXPECT_EQ(FieldText(MemoryImage, LabelSlotAddress(0, 2), LabelSlot::Label), "     CMD");
}
