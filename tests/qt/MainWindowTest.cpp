// The main window through its real widgets: what a technician types reaches
// the image, the radio and the files whatever key stores it, the group list,
// the clipboard commands and the editing keys, and closing the window.

#include <QClipboard>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QStatusBar>
#include <QMenu>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <set>

#include "tests/qt/ViewFixture.h"

using vkt::Answer;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path, int at, int count) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly) || !f.seek(at)) return {};
    const QByteArray b = f.read(count);
    return {b.begin(), b.end()};
}

} // namespace

TEST_F(ViewTest, MainWindowShowsTheFactorySetup) {
    EXPECT_EQ(view->windowTitle(), "VKTEDWIN  -  VKT Editor");
    EXPECT_EQ(shown(0, 1), "162.40000");
    EXPECT_EQ(shown(0, 5), "    Ch 1");
    EXPECT_EQ(grid()->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Ch Label");
    EXPECT_EQ(action("Read Radio")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(action("Write Current Group to Radio")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_FALSE(action("Read Current Group")->isVisible());
    EXPECT_TRUE(Centred(view.get()));
}

// The road a technician takes: read the radio, pick a group from the list,
// type a frequency and write the group while the cell is still open.
TEST_F(ViewTest, ReadPickTypeAndWriteWithTheCellStillOpen) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 1) + 1)] = 0x08;  // 162.41 in group 1
    command(Qt::Key_F2);
    EXPECT_EQ(shown(1, 1), "162.41000");

    pickFromList(groupBox(), 2);
    EXPECT_EQ(main->currentGroup, 2);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP3");

    clickCell(2, 1);
    type("155.5");
    ASSERT_TRUE(main->Grid.editing());
    platform.answer(Answer::OK, "Are you sure you want to write to the radio?");
    command(Qt::Key_F4);
    EXPECT_EQ(radioByte(VKTCore::ChannelSlotAddress(2, 2)), 0xAD);  // (155.5 - 100) / 0.00125 = 0xAD70
    EXPECT_EQ(radioByte(VKTCore::ChannelSlotAddress(2, 2) + 1), 0x70);
    EXPECT_EQ(shown(2, 1), "155.50000");
    EXPECT_EQ(platform.beeps, 2);  // the end of the read and of the write
    EXPECT_EQ(main->statusText.Caption().rfind("Wrote group 3 to radio 2AAA0105 in ", 0), 0u) << main->statusText.Caption();
}

// A frequency left in an open cell is checked on its own row by every
// command that stores the group, and a refused one is never stored.
TEST_F(ViewTest, AnOpenCellIsCheckedOnItsOwnRowBeforeAnyStore) {
    const std::string setup = (temp.path() / "setup.vkt").string();
    const int at = VKTCore::ChannelSlotAddress(0, 3);
    const std::vector<uint8_t> factory{radioByte(at), radioByte(at + 1)};
    const QString before = shown(3, 1);
    auto onRadio = [&] { return std::vector<uint8_t>{radioByte(at), radioByte(at + 1)}; };
    auto inFile = [&] { return FileBytes(setup, at, 2); };
    struct Road {
        const char* name;
        std::function<void()> store;
        std::function<std::vector<uint8_t>()> stored;
    };
    const Road roads[] = {
        {"F4", [&] { platform.answer(Answer::OK); command(Qt::Key_F4); }, onRadio},
        {"F3", [&] { platform.answer(Answer::OK); platform.answer(Answer::No, "Write Global Parameters?"); command(Qt::Key_F3); }, onRadio},
        {"Ctrl+S", [&] { platform.dialogAnswers.push_back(setup); press(Qt::Key_S, Qt::ControlModifier); }, inFile},
        {"Save As", [&] { platform.dialogAnswers.push_back(setup); action("Sa&ve As")->trigger(); }, inFile},
        {"close, Yes", [&] { platform.answer(Answer::Yes, "Save before exit?"); platform.dialogAnswers.push_back(setup); view->close(); }, inFile},
    };
    for (const Road& road : roads) {
        QFile::remove(QString::fromStdString(setup));
        clickCell(3, 1);
        type("180");
        ASSERT_TRUE(main->Grid.editing()) << road.name;
        const int beeps = platform.beeps;
        road.store();
        EXPECT_EQ(road.stored(), factory) << road.name;
        EXPECT_GT(platform.beeps, beeps) << road.name;
        EXPECT_EQ(shown(3, 1), before) << road.name;
        EXPECT_EQ(table->value(3, 1).text, before.toStdString()) << road.name;
        EXPECT_FALSE(main->Grid.editing()) << road.name;
    }
}

TEST_F(ViewTest, APickFromTheGroupListSwitchesAtOnce) {
    pickFromList(groupBox(), 4);
    EXPECT_EQ(main->currentGroup, 4);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP5");
    // A shortcut right after the pick keeps it.
    press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(groupBox()->currentText(), "5");
    EXPECT_EQ(main->currentGroup, 4);

    groupBox()->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(main->currentGroup, 5);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP6");
}

TEST_F(ViewTest, ANumberTypedIntoTheGroupBoxNeverSwitches) {
    groupBox()->setFocus();
    groupBox()->lineEdit()->selectAll();
    type("7");
    EXPECT_EQ(groupBox()->currentText(), "7");
    EXPECT_EQ(platform.beeps, 0);
    press(Qt::Key_Return);
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(groupBox()->currentText(), "1");
    EXPECT_EQ(main->currentGroup, 0);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP1");

    groupBox()->lineEdit()->selectAll();
    type("x");
    EXPECT_EQ(platform.beeps, 2);
    EXPECT_EQ(groupBox()->currentText(), "1");
}

TEST_F(ViewTest, CopyAllMarksTheRowsAndPasteShowsThemAtOnce) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 0) + 2)] = 0x08;  // Rec CG 088.5 in row 1
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 0) + 3)] = 0x85;
    command(Qt::Key_F2);
    clickCell(5, 2);
    press(Qt::Key_A, Qt::ControlModifier);
    const QItemSelectionModel* marks = grid()->selectionModel();
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 6; ++c) EXPECT_TRUE(marks->isSelected(grid()->model()->index(r, c))) << r << "," << c;
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(5, 2));
    screenshot(view.get(), "main-copy-all");

    pickFromList(groupBox(), 1);
    ASSERT_EQ(main->currentGroup, 1);
    grid()->setFocus();
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(0, 1), "162.40000");
    EXPECT_EQ(shown(0, 2), "088.5");
    EXPECT_EQ(shown(0, 3), "000.00");
    EXPECT_EQ(shown(0, 4), "000.0");
    EXPECT_EQ(shown(0, 5), "    Ch 1");
}

TEST_F(ViewTest, EditingKeysBelongToTheBoxThatHasTheFocus) {
    // In an open cell: the cell's own text editing, never the row commands
    // (a row Paste of text this window did not copy would show a message).
    QGuiApplication::clipboard()->setText("XY");
    clickCell(2, 5);
    type("AB");
    ASSERT_TRUE(main->Grid.editing());
    auto* cell = qobject_cast<QLineEdit*>(focus());
    ASSERT_NE(cell, nullptr);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(cell->selectedText(), "AB");
    press(Qt::Key_End);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), "ABXY");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), "AB");
    EXPECT_EQ(main->clipboard.copiedLength, -1);
    press(Qt::Key_Escape);
    EXPECT_FALSE(main->Grid.editing());
    EXPECT_EQ(shown(2, 5), "    Ch 3");

    // In a text box: the box's, also when it has nothing to undo or paste.
    clickCell(4, 5);
    type("FIRE");
    press(Qt::Key_Return);
    auto* label = view->findChild<QLineEdit*>("txtGrpLab");
    ASSERT_NE(label, nullptr);
    label->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(4, 5), "FIRE");
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(label->selectedText(), "  GROUP1");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(label->text(), "XY");
    EXPECT_EQ(main->txtGrpLab.Text(), "XY");
    QGuiApplication::clipboard()->clear();
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(main->clipboard.copiedLength, -1);
    groupBox()->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(groupBox()->lineEdit()->selectedText(), "1");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(4, 5), "FIRE");
    EXPECT_EQ(main->clipboard.copiedLength, -1);

    // In the grid: the row commands.
    clickCell(4, 1);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(main->clipboard.allCopied);
    EXPECT_GT(main->clipboard.copiedLength, 0);
    groupBox()->setFocus();
    press(Qt::Key_Down);
    grid()->setFocus();
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(4, 5), "FIRE");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ViewTest, ClosingWithTheGlobalsWindowOpenAsksEachQuestionOnce) {
    action("Global Parameters")->trigger();
    ASSERT_TRUE(globalsView->isVisible());
    // Cancel on either question keeps every window open.
    platform.answer(Answer::Cancel, "Save Global Parameters?");
    EXPECT_FALSE(view->close());
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::Cancel, "Save before exit?");
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(globalsView->isVisible());
    EXPECT_TRUE(main->globalsWindowOpen());

    // Otherwise the program ends with the window, hidden windows or not.
    action("Global Parameters")->trigger();
    main->globalsForm.mnuExit_Click();  // only hidden
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::No, "Save before exit?");
    QTimer::singleShot(0, view.get(), [this] { view->close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(globalsView->isVisible());
    EXPECT_EQ(platform.boxes.size(), 5u);
}

TEST_F(ViewTest, ClosingDuringATransferWaitsForIt) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(14, 15) + 1)] = 0x08;
    bool refused = false;
    std::string said;
    platform.onEvents = [&] {
        if (refused || main->proc.Prog1.Value() <= 100) return;
        refused = !view->close();
        said = main->statusText.Caption();
    };
    command(Qt::Key_F2);
    platform.onEvents = nullptr;
    EXPECT_TRUE(refused);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(said, vkteditor::frmGroups::RadioBusyText);
    EXPECT_EQ(VKTCore::MemoryImage[static_cast<size_t>(VKTCore::ChannelSlotAddress(14, 15) + 1)], 0x08);  // the read went on to the end
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ViewTest, GlobalsAnsweredNoStayOutOfTheSetupSavedOnExit) {
    const std::string setup = (temp.path() / "exit.vkt").string();
    action("Global Parameters")->trigger();
    main->globalsForm.cboGlobalGroup.setListIndex(6);
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back(setup);
    EXPECT_TRUE(view->close());
    const auto saved = FileBytes(setup, 255, 1);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0] >> 4, 0);  // the factory's global group 1, not 7
}

TEST_F(ViewTest, MenusOpenWithAltAndTheirFirstLetter) {
    const std::pair<Qt::Key, QString> menus[] = {
        {Qt::Key_F, "File"}, {Qt::Key_R, "Radio"}, {Qt::Key_E, "Edit"}, {Qt::Key_C, "Comm-Port"}, {Qt::Key_H, "Help"}};
    for (const auto& [letter, title] : menus) {
        grid()->setFocus();
        press(letter, Qt::AltModifier);
        auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(open, nullptr) << title.toStdString();
        EXPECT_EQ(open->title(), "&" + title);
        press(Qt::Key_Escape);
        press(Qt::Key_Escape);
        activate(view.get());
    }
    bool tuned = false;
    main->showTune = [&] { tuned = true; };
    grid()->setFocus();
    press(Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(tuned);
}

TEST_F(ViewTest, TabWalksTheControlsInReadingOrder) {
    QStringList expected{"txtGrpLab", "txtID", "txtPassWord", "Grid"};
    QStringList walked;
    groupBox()->setFocus();
    for (int i = 0; i < 4; ++i) {
        press(Qt::Key_Tab);
        walked << focus()->objectName();
    }
    // Tab walks the cells; from the last one it goes on.
    grid()->setCurrentIndex(grid()->model()->index(15, 5));
    for (int r = 1; r <= 16; ++r)
        for (const char* column : {"chkScan", "chkNarr", "chkLoPower"}) expected << column + QString::number(r);
    expected << "cboDisplay" << "cboBackLight" << "cboDuration" << "cboPri1Chan" << "cboPri2Chan" << "chkPriTX"
             << "optUCGEnabled" << "chkUCGEncode" << "cboUCGChan" << "cboBCI" << "cboANI" << "optBattSaveOn" << "chkENTCLRLock"
             << "chkPriKeyLock" << "cboTOT" << "cboScan" << "chkGroupScanList";
    while (walked.size() < expected.size()) {
        press(Qt::Key_Tab);
        walked << focus()->objectName();
    }
    EXPECT_EQ(walked.join(" "), expected.join(" "));
}

TEST_F(ViewTest, EnterTakesACellAndMovesDownEscapeCancelsIt) {
    clickCell(2, 1);
    type("155.5");
    press(Qt::Key_Return);
    EXPECT_EQ(shown(2, 1), "155.50000");
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(3, 1));
    const QString before = shown(3, 1);
    type("150");
    ASSERT_TRUE(main->Grid.editing());
    press(Qt::Key_Escape);
    EXPECT_FALSE(main->Grid.editing());
    EXPECT_EQ(shown(3, 1), before);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(3, 1));
    EXPECT_EQ(platform.beeps, 0);
}

// Typing a box cannot take beeps, changes nothing, and the status bar says why.
TEST_F(ViewTest, RefusedTypingSaysWhy) {
    struct Case {
        const char* box;
        QString typed;
        QString kept;
        std::string why;
    };
    const Case cases[] = {
        {"txtPassWord", "12a3456789", "123456", "Pass Word takes 6 digits"},
        {"txtID", "x12345678", "1234567", "ANI/ID Number takes 7 digits"},
        {"txtGrpLab", "fire!1234567", "fire!123", vkteditor::frmGroups::GroupLabelRule},
    };
    for (const Case& c : cases) {
        auto* box = view->findChild<QLineEdit*>(c.box);
        box->setFocus();
        box->selectAll();
        const int beeps = platform.beeps;
        type(c.typed);
        EXPECT_EQ(box->text(), c.kept) << c.box;
        EXPECT_EQ(platform.beeps, beeps + c.typed.size() - c.kept.size()) << c.box;
        EXPECT_EQ(main->statusText.Caption(), c.why) << c.box;
    }
    EXPECT_EQ(main->txtPassWord.Text(), "123456");

    clickCell(4, 3);
    type("180");
    press(Qt::Key_Return);
    EXPECT_EQ(main->statusText.Caption(), "Tx Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none");
    groupBox()->setFocus();
    groupBox()->lineEdit()->selectAll();
    type("0");
    EXPECT_EQ(main->statusText.Caption(), vkteditor::frmGroups::GroupNumberRule);
}

// A code with a digit 9 is refused with a beep; a label character without a
// code is taken, to be stored as a space.
TEST_F(ViewTest, TheGridRefusesACodeItCannotStoreAndTakesAnyLabel) {
    clickCell(2, 2);
    type("D999");
    press(Qt::Key_Return);
    EXPECT_EQ(shown(2, 2), "000.0");
    EXPECT_EQ(platform.beeps, 1);
    clickCell(2, 5);
    type("ST.JOHN");
    press(Qt::Key_Return);
    EXPECT_EQ(shown(2, 5), "ST.JOHN");
    EXPECT_EQ(platform.beeps, 1);
}

// The close box, "Save before exit?" answered Yes, and a save that fails:
// the window stays open.
TEST_F(ViewTest, AFailedSaveOnExitKeepsTheMainWindowOpen) {
    std::filesystem::create_directory(temp.path() / "taken.vkt");
    platform.answer(Answer::Yes, vkteditor::frmGroups::SaveBeforeExit);
    platform.dialogAnswers.push_back((temp.path() / "taken.vkt").string());
    platform.answer(Answer::OK);
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(platform.boxes.back().title, vktstore::FileOpenSave::FileErrorTitle);
}

// The emulated radio is chosen like a Comm Port, and while it is, the status
// bar, the progress window and every write confirmation say so.
TEST_F(ViewTest, TheEmulatedRadioIsNamedWhereverTheRadioIs) {
    auto* mark = [this]() -> QLabel* {
        for (auto* l : view->statusBar()->findChildren<QLabel*>())
            if (l->text() == "Emulated radio") return l;
        return nullptr;
    }();
    ASSERT_NE(mark, nullptr);
    EXPECT_FALSE(mark->isVisible());
    action("Emulated Radio")->trigger();
    EXPECT_TRUE(action("Emulated Radio")->isChecked());
    EXPECT_FALSE(action("Use Comm Port 1")->isChecked());
    EXPECT_TRUE(mark->isVisible());

    std::set<std::string> shown;
    platform.onEvents = [&] { if (main->proc.Loaded()) shown.insert(main->proc.lblInfo.Caption()); };
    command(Qt::Key_F2);
    platform.onEvents = nullptr;
    EXPECT_EQ(shown, (std::set<std::string>{"Please Wait - Reading Radio (emulated radio)", "Reading VKT Memory (emulated radio)"}));
    platform.answer(Answer::Cancel, "Are you sure you want to write to the radio? (emulated radio)");
    command(Qt::Key_F4);

    action("Use Comm Port 2")->trigger();
    EXPECT_FALSE(mark->isVisible());
    platform.answer(Answer::Cancel, "Are you sure you want to write to the radio?");
    command(Qt::Key_F4);
}

// Verify Radio comes after Write Radio and reads the radio aside.
TEST_F(ViewTest, VerifyRadioFromTheMenu) {
    QAction* write = action("Write Radio");
    QAction* verify = action("Verify Radio");
    const auto items = write->associatedObjects();
    ASSERT_FALSE(items.isEmpty());
    const auto menu = qobject_cast<QMenu*>(items.first());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().indexOf(verify), menu->actions().indexOf(write) + 1);
    platform.answer(Answer::OK, VKTCom::RadioCommands::RadioMatches);
    verify->trigger();
    activate(view.get());
    EXPECT_EQ(platform.boxes.back().title, VKTCom::RadioCommands::VerifyTitle);
}
