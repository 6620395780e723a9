#include "app/ControlModule.h"
#include "core/GLOBALS.h"
#include "tests/editor/EditorFixture.h"

using vkt::Answer;
using namespace VKTCore;

TEST_F(EditorTest, StartUpShowsGroupOneOfTheFactorySetup) {
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP1");  // "GROUP 0" never stays
    EXPECT_EQ(main->txtID.Text(), "0000000");
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    EXPECT_EQ(cell(0, 1), "162.40000");
    EXPECT_EQ(cell(1, 1), "162.45000");
    EXPECT_EQ(cell(0, 3), "000.00");
    EXPECT_EQ(cell(0, 2), "000.0");
    EXPECT_EQ(cell(15, 5), "   Ch 16");
    EXPECT_EQ(main->cboCurrentGroup.Text(), "1");
    EXPECT_EQ(main->currentGroup, 0);
    EXPECT_FALSE(main->loading);
    EXPECT_EQ(main->Caption(), "VKTEDWIN  -  VKT Editor");
    EXPECT_TRUE(main->mnuCommPort[0].Checked());
    EXPECT_EQ(port.portNumber(), 1);
    EXPECT_EQ(image(5), 0x0F);
    // What the grid showed went into the channel table too.
    vktstore::ChannelTable reread(dbGlobal::CurrentPath());
    EXPECT_EQ(reread.value(0, 1).text, "162.40000");
    EXPECT_EQ(reread.value(15, 5).text, "   Ch 16");
}

TEST_F(EditorTest, MenusCarryTheirCaptionsAndKeys) {
    const std::tuple<vkt::MenuItem*, const char*, const char*> items[] = {
        {&main->mnuSave, "&Save", "Ctrl+S"}, {&main->mnuOpen, "&Open", "Ctrl+O"}, {&main->mnuLast, "&Last Screen", "Ctrl+L"},
        {&main->mnuPrint, "&Print Displayed VKT Setup", "Ctrl+P"}, {&main->mnuRead, "Read Radio", "F2"},
        {&main->mnuWriteAll, "Write Radio", "F3"}, {&main->mnuWriteGroup, "Write Current Group to Radio", "F4"},
        {&main->mnuUndo, "Undo", "Ctrl+Z"}, {&main->mnuAll, "Copy All", "Ctrl+A"}, {&main->mnuRow, "Copy a row", "Ctrl+R"},
        {&main->mnuPaste, "Paste", "Ctrl+V"}, {&main->mnuMove, "Move", "Ctrl+M"}, {&main->mnuHelp, "Help", "Ctrl+H"}};
    for (const auto& [item, caption, key] : items) {
        EXPECT_EQ(item->Caption(), caption);
        EXPECT_EQ(item->Shortcut(), key) << caption;
    }
    EXPECT_FALSE(main->mnuReadCurrGroup.Visible());
    EXPECT_FALSE(main->mnuWriteCurrGroup.Visible());
    EXPECT_EQ(main->mnuCommPort[3].Caption(), "Use Comm Port 4");
}

TEST_F(EditorTest, SwitchingGroupsStoresTheGroupLeftAndShowsTheNew) {
    main->txtPassWord.setText("123456");
    type(4, 5, "FIRE");
    pick(2);
    EXPECT_EQ(image(GroupBase(0) + 38), 0x12);
    EXPECT_EQ(image(LabelSlotAddress(0, 4) + 4), 0x0F);  // F of "    FIRE"
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP3");
    EXPECT_EQ(cell(4, 5), "    Ch 5");
    EXPECT_EQ(main->gridEditor.undoCol, -1);
    EXPECT_EQ(grid().Row(), 0);
    pick(0);
    EXPECT_EQ(main->txtPassWord.Text(), "123456");
    EXPECT_EQ(cell(4, 5), "    FIRE");
}

TEST_F(EditorTest, PickingTheSameGroupShowsTheEncodedForm) {
    main->txtPassWord.setText("12");
    main->txtGrpLab.setText("fire");
    pick(0);
    EXPECT_EQ(main->txtPassWord.Text(), "000012");
    EXPECT_EQ(main->txtGrpLab.Text(), "    FIRE");
}

TEST_F(EditorTest, TypingIntoTheGroupBoxIsCheckedKeyByKey) {
    for (const char* typed : {"16", "0", "a", ""}) {
        main->cboCurrentGroup_KeyDown('1');
        main->cboCurrentGroup.setEditText(typed);
        const int beeps = platform.beeps;
        main->cboCurrentGroup_KeyUp('1');
        EXPECT_EQ(platform.beeps, beeps + 1) << typed;
        EXPECT_EQ(main->cboCurrentGroup.Text(), "1") << typed;
    }
    main->cboCurrentGroup_KeyDown('7');
    main->cboCurrentGroup.setEditText("7");
    const int beeps = platform.beeps;
    main->cboCurrentGroup_KeyUp('7');
    EXPECT_EQ(platform.beeps, beeps);
    EXPECT_EQ(main->cboCurrentGroup.Text(), "7");
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP1");  // typing never switches
    // A command that stores the shown group stores it where it belongs.
    main->txtPassWord.setText("654321");
    main->storeGroupMemory();
    EXPECT_EQ(image(GroupBase(0) + 38), 0x65);
    EXPECT_EQ(image(GroupBase(6) + 38), 0x00);
    EXPECT_EQ(main->cboCurrentGroup.Text(), "1");
}

TEST_F(EditorTest, ClosingAsksToSave) {
    platform.answer(Answer::Cancel, "Save before exit?");
    EXPECT_TRUE(main->Form_QueryUnload());
    EXPECT_EQ(platform.boxes[0].icon, vkt::Icon::Question);
    EXPECT_EQ(platform.boxes[0].buttons, vkt::Buttons::YesNoCancel);

    platform.answer(Answer::No, "Save before exit?");
    EXPECT_FALSE(main->Form_QueryUnload());

    // Yes, then a cancelled file dialog: the window still closes.
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back(std::nullopt);
    EXPECT_FALSE(main->Form_QueryUnload());

    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back((folder / "exit.vkt").string());
    main->txtPassWord.setText("999999");
    EXPECT_FALSE(main->Form_QueryUnload());
    EXPECT_EQ(std::filesystem::file_size(folder / "exit.vkt"), 6019u);
    EXPECT_FALSE(port.isOpen());
}

// Yes, then a save that fails: nothing typed may be lost, so the window
// stays open with everything as it was, as if Cancel had been answered.
TEST_F(EditorTest, AFailedSaveOnExitKeepsTheWindowOpen) {
    main->txtPassWord.setText("999999");
    type(3, 5, "KEEP ME");
    std::filesystem::create_directory(folder / "taken.vkt");  // a folder where the file would go
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back((folder / "taken.vkt").string());
    platform.answer(Answer::OK);
    EXPECT_TRUE(main->Form_QueryUnload());
    EXPECT_EQ(platform.boxes.back().title, vktstore::FileOpenSave::FileErrorTitle);
    EXPECT_EQ(main->txtPassWord.Text(), "999999");
    EXPECT_EQ(cell(3, 5), "KEEP ME");
    EXPECT_EQ(main->Caption(), vkteditor::frmGroups::MainCaption);
    EXPECT_TRUE(main->files.SetupFileName.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.vkt"));

    // The next close can still save, to a place that takes the file.
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back((folder / "kept.vkt").string());
    EXPECT_FALSE(main->Form_QueryUnload());
    EXPECT_EQ(std::filesystem::file_size(folder / "kept.vkt"), 6019u);
}

TEST_F(EditorTest, ActivationEmptiesTheClipboardAndDisablesPaste) {
    main->mnuRow_Click();
    EXPECT_TRUE(main->mnuPaste.Enabled());
    EXPECT_FALSE(platform.clipboard.empty());
    main->Form_Activate();
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_FALSE(main->mnuPaste.Enabled());
    EXPECT_EQ(main->clipboard.copiedLength, -1);
    main->Form_GotFocus();
    EXPECT_FALSE(main->mnuPaste.Enabled());
}

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

TEST_F(EditorTest, CommPortMenuStoresThePort) {
    main->mnuCommPort_Click(3);
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Comm", "Port", ""), "3");
    EXPECT_TRUE(main->mnuCommPort[2].Checked());
    EXPECT_FALSE(main->mnuCommPort[0].Checked());
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
    const auto folder = std::filesystem::temp_directory_path() / "vkt-no-db-folder";
    std::filesystem::create_directories(folder / "VktCurrent.mdb");  // not a database file
    vktstore::ChannelTable table((folder / "VktCurrent.mdb").string());
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
    std::filesystem::remove_all(folder);
}
