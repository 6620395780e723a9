// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the windows it opens, through their real widgets.

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>

#include <fstream>
#include <functional>
#include <set>
#include <tuple>

#include "core/ChannelCodes.h"
#include "core/ChannelPlan.h"
#include "core/Text.h"
#include "tests/views/ViewFixture.h"
#include "views/PlanImportView.h"

using vkt::Answer;

TEST_F(ViewTest, MainWindowShowsTheFactorySetup) {
    EXPECT_EQ(view->windowTitle(), "VKTEDWIN  -  VKT Editor");
    EXPECT_EQ(groupBox()->currentText(), "1");
    const std::pair<const char*, const char*> boxes[] = {{"txtGrpLab", "  GROUP1"}, {"txtID", "0000000"}, {"txtPassWord", "000000"}};
    for (const auto& [box, text] : boxes) EXPECT_EQ(view->findChild<QLineEdit*>(box)->text(), text);  // "GROUP 0" never stays
    const std::tuple<int, int, const char*> cells[] = {
        {0, 1, "162.40000"}, {1, 1, "162.45000"}, {0, 2, "000.0"}, {0, 3, "000.00"}, {0, 5, "    Ch 1"}, {15, 5, "   Ch 16"}};
    for (const auto& [row, col, text] : cells) EXPECT_EQ(shown(row, col), text) << row << "," << col;
    EXPECT_EQ(grid()->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Ch Label");
    EXPECT_EQ(image(5), 0x0F);
    vktstore::ChannelTable reread(dbGlobal::CurrentPath());
    EXPECT_EQ(reread.value(0, 1).text, "162.40000");
    EXPECT_EQ(reread.value(15, 5).text, "   Ch 16");

    const std::pair<const char*, const char*> keys[] = {
        {"&Save", "Ctrl+S"}, {"&Open", "Ctrl+O"}, {"&Last Screen", "Ctrl+L"}, {"&Print Displayed VKT Setup", "Ctrl+P"},
        {"Read Radio", "F2"}, {"Write Radio", "F3"}, {"Write Current Group to Radio", "F4"}, {"Undo", "Ctrl+Z"},
        {"Copy All", "Ctrl+A"}, {"Copy a row", "Ctrl+R"}, {"Paste", "Ctrl+V"}, {"Move", "Ctrl+M"}, {"Help", "Ctrl+H"}};
    for (const auto& [caption, key] : keys) EXPECT_EQ(action(caption)->shortcut(), QKeySequence(key)) << caption;
    EXPECT_FALSE(action("Read Current Group")->isVisible());
    EXPECT_FALSE(action("Write Current Group")->isVisible());
    EXPECT_TRUE(action("Use Comm Port 1")->isChecked());
    EXPECT_EQ(port.portNumber(), 1);
    EXPECT_TRUE(Centred(view.get()));
}

TEST_F(ViewTest, AnOpenCellIsCheckedOnItsOwnRowBeforeAnyStore) {
    const std::string setup = (temp.path() / "setup.vkt").string();
    const int at = VKTCore::ChannelSlotAddress(0, 3);
    auto onRadio = [&] { return std::vector<uint8_t>{radioByte(at), radioByte(at + 1)}; };
    auto inFile = [&] { return FileBytes(setup, at, 2); };
    struct Road {
        const char* name;
        std::function<void()> store;
        std::function<std::vector<uint8_t>()> stored;
        const char* typed = "180";  // refused: no channel step in the band
    };
    const auto f4 = [&] {
        platform.answer(Answer::OK);
        command(Qt::Key_F4);
        EXPECT_EQ(main->statusText.Caption().rfind("Wrote group 1 to radio 2AAA0105 in ", 0), 0u) << main->statusText.Caption();
    };
    const Road roads[] = {
        {"F4, taken", f4, onRadio, "155.5"},
        {"F4", f4, onRadio},
        {"F3", [&] { platform.answer(Answer::OK); platform.answer(Answer::No, "Write Global Parameters?"); command(Qt::Key_F3); }, onRadio},
        {"Ctrl+S", [&] { platform.dialogAnswers.push_back(setup); press(Qt::Key_S, Qt::ControlModifier); }, inFile},
        {"Save As", [&] { platform.dialogAnswers.push_back(setup); action("Sa&ve As")->trigger(); }, inFile},
        {"close, Yes", [&] { platform.answer(Answer::Yes, "Save before exit?"); platform.dialogAnswers.push_back(setup); view->close(); }, inFile},
    };
    for (const Road& road : roads) {
        QFile::remove(QString::fromStdString(setup));
        const QString before = shown(3, 1);
        clickCell(3, 1);
        type(road.typed);
        ASSERT_TRUE(main->Grid.editing()) << road.name;
        EXPECT_GT(beepsDuring(road.store), 0) << road.name;
        EXPECT_EQ(road.stored(), (std::vector<uint8_t>{0xAD, 0x70})) << road.name;  // (155.5 - 100) / 0.00125
        EXPECT_EQ(shown(3, 1), road.typed == std::string("180") ? before : "155.50000") << road.name;
        EXPECT_EQ(table->value(3, 1).text, shown(3, 1).toStdString()) << road.name;
        EXPECT_FALSE(main->Grid.editing()) << road.name;
    }
}

// The group left is stored; picked again, it shows what was stored, encoded.
TEST_F(ViewTest, APickFromTheGroupListSwitchesAtOnce) {
    QLineEdit* password = typeInto("txtPassWord", "123456");
    enter(4, 5, "FIRE");
    // The grid's current cell moves once: a screen reader hears of one cell, not of the 96 the showing passed.
    QSignalSpy moves(grid()->selectionModel(), &QItemSelectionModel::currentChanged);
    pickFromList(groupBox(), 4);
    EXPECT_EQ(moves.size(), 1);
    EXPECT_EQ(main->currentGroup, 4);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP5");
    EXPECT_EQ(image(VKTCore::GroupBase(0) + 38), 0x12);
    EXPECT_EQ(image(VKTCore::LabelSlotAddress(0, 4) + 4), 0x0F);  // F of "    FIRE"
    EXPECT_EQ(shown(4, 5), "    Ch 5");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_EQ(main->gridEditor.undoCol, -1);
    // A shortcut right after the pick keeps it.
    press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(groupBox()->currentText(), "5");
    EXPECT_EQ(main->currentGroup, 4);

    pickFromList(groupBox(), 0);
    EXPECT_EQ(password->text(), "123456");
    EXPECT_EQ(shown(4, 5), "    FIRE");
    typeInto("txtPassWord", "12");
    QLineEdit* label = typeInto("txtGrpLab", "fire");
    pickFromList(groupBox(), 0);
    EXPECT_EQ(password->text(), "000012");
    EXPECT_EQ(label->text(), "    FIRE");
}

TEST_F(ViewTest, ANumberTypedIntoTheGroupBoxNeverSwitches) {
    groupBox()->setFocus();
    for (const QString typed : {"16", "0", "x", ""}) {
        groupBox()->lineEdit()->selectAll();
        const auto key = [&] { typed.isEmpty() ? press(Qt::Key_Backspace) : type(typed); };
        EXPECT_EQ(beepsDuring(key), 1) << typed.toStdString();
        EXPECT_EQ(groupBox()->currentText(), "1") << typed.toStdString();
        EXPECT_EQ(main->statusText.Caption(), vkteditor::frmGroups::GroupNumberRule) << typed.toStdString();
    }
    EXPECT_EQ(beepsDuring([this] { typeOver(groupBox()->lineEdit(), "7"); }), 0);
    EXPECT_EQ(groupBox()->currentText(), "7");
    EXPECT_EQ(beepsDuring([] { press(Qt::Key_Return); }), 1);
    EXPECT_EQ(groupBox()->currentText(), "1");
    EXPECT_EQ(main->currentGroup, 0);

    // Typed and not entered, it changes nothing a command stores: Save
    // stores the group shown, where it belongs.
    typeInto("txtPassWord", "654321");
    typeOver(groupBox()->lineEdit(), "7");
    const std::string setup = save("typed.vkt");
    EXPECT_EQ(FileBytes(setup, VKTCore::GroupBase(0) + 38, 1), std::vector<uint8_t>{0x65});
    EXPECT_EQ(FileBytes(setup, VKTCore::GroupBase(6) + 38, 1), std::vector<uint8_t>{0x00});
    EXPECT_EQ(groupBox()->currentText(), "1");

    // Nor does leaving the box with a number typed in it switch the group.
    typeOver(groupBox()->lineEdit(), "7");
    clickCell(3, 1);
    EXPECT_EQ(main->currentGroup, 0);
    EXPECT_EQ(groupBox()->currentText(), "1");
}

TEST_F(ViewTest, CopyAllMarksTheRowsAndPasteShowsThemAtOnce) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 0) + 2)] = 0x08;  // Rec CG 088.5 in row 1
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 0) + 3)] = 0x85;
    port.radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(0) + 33)] = 0x01;  // and low power
    for (int r = 0; r < 16; ++r) {
        const VKTCore::LabelCodes label = VKTCore::EncodeLabel("ROW" + std::to_string(r));
        std::copy(label.begin(), label.end(), port.radio().eeprom.begin() + VKTCore::LabelSlotAddress(0, r));
    }
    command(Qt::Key_F2);
    clickCell(5, 2);
    press(Qt::Key_A, Qt::ControlModifier);
    const QItemSelectionModel* marks = grid()->selectionModel();
    for (int r = 0; r < 16; ++r) for (int c = 0; c < 6; ++c) EXPECT_TRUE(marks->isSelected(grid()->model()->index(r, c))) << r << "," << c;
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(5, 2));
    Screenshot(view.get(), "main-copy-all");

    pickFromList(groupBox(), 1);
    clickCell(3, 5);
    type("TYPED");  // a cell left open while Paste is chosen from the menu: the paste has the last word
    action("Paste")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(shown(0, 1), "162.40000");
    EXPECT_EQ(shown(0, 2), "088.5");
    for (int r = 0; r < 16; ++r) EXPECT_EQ(shown(r, 5), QString("ROW%1").arg(r).rightJustified(8)) << r;
    EXPECT_EQ(shown(15, 0), "16");
    EXPECT_EQ(main->statusText.Caption(), "Pasted 16 rows (Undo puts them back)");
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(0, 0));
    EXPECT_FALSE(main->Grid.columnsSelected());
    EXPECT_FALSE(marks->isSelected(grid()->model()->index(15, 5)));

    // A row copied onto another keeps that row's Chan and brings its flags.
    view->findChild<QAbstractButton*>("chkNarr1")->click();
    clickCell(0, 2);
    press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "1\t162.40000\t088.5\t000.00\t000.0\t    ROW0\t0\t1\t1\r");  // nine fields, ended by CR
    clickCell(9, 3);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(9, 0), "10");
    EXPECT_EQ(shown(9, 2), "088.5");
    EXPECT_EQ(shown(9, 5), "    ROW0");
    EXPECT_EQ(main->chkLoPower[9].Value(), 1);
    EXPECT_EQ(main->chkNarr[9].Value(), 1);
}

TEST_F(ViewTest, EditingKeysBelongToTheBoxThatHasTheFocus) {
    // In an open cell: the cell's own text editing, never the row commands
    // (a row Paste of text this window did not copy would show a message).
    QGuiApplication::clipboard()->setText("XY");
    clickCell(2, 5);
    type("AB");
    auto* cell = qobject_cast<QLineEdit*>(focus());
    ASSERT_NE(cell, nullptr);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(cell->selectedText(), "AB");
    press(Qt::Key_End);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), "ABXY");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), "AB");
    press(Qt::Key_Escape);
    EXPECT_FALSE(main->Grid.editing());
    EXPECT_EQ(shown(2, 5), "    Ch 3");

    // In a text box: the box's, also when it has nothing to undo or paste.
    enter(4, 5, "FIRE");
    auto* label = view->findChild<QLineEdit*>("txtGrpLab");
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
}

TEST_F(ViewTest, ClosingWithTheGlobalsWindowOpenAsksEachQuestionOnce) {
    action("Global Parameters")->trigger();
    platform.answer(Answer::Cancel, "Save Global Parameters?");
    EXPECT_FALSE(view->close());
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::Cancel, "Save before exit?");
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(globalsView->isVisible());
    EXPECT_TRUE(main->globalsWindowOpen());
    EXPECT_EQ(platform.boxes[2].icon, vkt::Icon::Question);

    // Otherwise the program ends with the window, hidden windows or not,
    // also when Yes is followed by a cancelled file dialog.
    action("Global Parameters")->trigger();
    main->globalsForm.mnuExit_Click();  // only hidden
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back(std::nullopt);
    QTimer::singleShot(0, view.get(), [this] { view->close(); });
    QTimer::singleShot(FailAfterMs, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(port.isOpen());
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
    EXPECT_EQ(said, vkteditor::frmGroups::RadioBusyText);
    EXPECT_EQ(VKTCore::MemoryImage[static_cast<size_t>(VKTCore::ChannelSlotAddress(14, 15) + 1)], 0x08);  // the read went on to the end
}

// Global parameters answered No stay out of the radio, which gets no page 0
// at all, and out of the setup saved on exit.
TEST_F(ViewTest, GlobalsAnsweredNoStayOutOfTheRadioAndTheSetupSavedOnExit) {
    action("Global Parameters")->trigger();
    main->globalsForm.cboGlobalGroup.setListIndex(6);
    radio().eeprom[255] = 0x20;  // page 0 as the image does not have it
    platform.answer(Answer::OK, VKTCom::RadioCommands::ConfirmWrite);
    platform.answer(Answer::No, VKTCom::RadioCommands::AskGlobals);
    command(Qt::Key_F3);
    EXPECT_EQ(radioByte(255), 0x20);
    const std::string setup = (temp.path() / "exit.vkt").string();
    platform.answer(Answer::No, "Save Global Parameters?");
    platform.answer(Answer::Yes, "Save before exit?");
    platform.dialogAnswers.push_back(setup);
    EXPECT_TRUE(view->close());
    EXPECT_EQ(FileBytes(setup, 255, 1).at(0) >> 4, 0);  // the factory's global group 1, not 7
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
    for (int r = 1; r <= 16; ++r) for (const char* column : {"chkScan", "chkNarr", "chkLoPower"}) expected << column + QString::number(r);
    expected << "cboDisplay" << "cboBackLight" << "cboDuration" << "cboPri1Chan" << "cboPri2Chan" << "chkPriTX"
             << "optUCGEnabled" << "chkUCGEncode" << "cboUCGChan" << "cboBCI" << "cboANI" << "cboTOT" << "cboScan"
             << "chkGroupScanList" << "optBattSaveOn" << "chkENTCLRLock" << "chkPriKeyLock";
    while (walked.size() < expected.size()) {
        press(Qt::Key_Tab);
        walked << focus()->objectName();
    }
    EXPECT_EQ(walked.join(" "), expected.join(" "));
}

TEST_F(ViewTest, RefusedTypingSaysWhy) {
    struct Case { const char* box; QString typed; QString kept; std::string why; };
    const Case cases[] = {
        {"txtPassWord", "12a3456789", "123456", "Pass Word takes 6 digits"},
        {"txtID", "x12345678", "1234567", "ANI/ID Number takes 7 digits"},
        {"txtGrpLab", "fire!1234567", "fire!123", vkteditor::frmGroups::GroupLabelRule},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(beepsDuring([&] { typeInto(c.box, c.typed); }), c.typed.size() - c.kept.size()) << c.box;
        EXPECT_EQ(view->findChild<QLineEdit*>(c.box)->text(), c.kept) << c.box;
        EXPECT_EQ(main->statusText.Caption(), c.why) << c.box;
    }
    EXPECT_EQ(main->txtPassWord.Text(), "123456");
    // The hint gives way to the next key taken, and to the next command.
    typeInto("txtGrpLab", "A");
    EXPECT_EQ(main->statusText.Caption(), "");
    typeInto("txtID", "x");
    action("Undo")->trigger();
    EXPECT_EQ(main->statusText.Caption(), "");

    enter(4, 3, "180");
    EXPECT_EQ(main->statusText.Caption(), "Tx Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none");
    // A cell's hint goes as a box's does: after a few seconds, at the next
    // key a cell takes, and when another group is shown.
    const QList<QTimer*> timers = view->findChildren<QTimer*>();
    EXPECT_TRUE(std::any_of(timers.begin(), timers.end(), [](QTimer* t) { return t->isActive() && t->interval() == 5000; }));
    enter(4, 3, "155.5");
    EXPECT_EQ(main->statusText.Caption(), "");
    EXPECT_EQ(shown(4, 3), "155.50000");
    enter(4, 1, "180");
    EXPECT_EQ(main->statusText.Caption(), "Rec Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none");
    pickFromList(groupBox(), 2);
    EXPECT_EQ(main->statusText.Caption(), "");

    const std::string setup = (temp.path() / "said.vkt").string();
    for (const auto& [item, done] : {std::pair{"Sa&ve As", "Saved "}, {"&Open", "Opened "}}) {
        typeInto("txtID", "x");
        platform.dialogAnswers.push_back(setup);
        action(item)->trigger();
        EXPECT_EQ(main->statusText.Caption(), done + setup);
    }
}

// Each hint and result the status bar shows is announced as it comes. Runs
// where a screen reader could listen (tests/CMakeLists.txt).
using AnnouncementTest = ViewTest;
TEST_F(AnnouncementTest, StatusMessagesAreAnnounced) {
    if (!AccessibilityBusUp()) GTEST_SKIP() << "no accessibility bus here, so nothing is announced";
    Said shown(QAccessible::ObjectShow);
    typeInto("txtID", "x");
    EXPECT_EQ(shown.last(), vkteditor::frmGroups::IdRule);
    enter(4, 3, "180");
    EXPECT_EQ(shown.last(), "Tx Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none");
    const QString saved = QString::fromStdString("Saved " + save("said.vkt"));
    EXPECT_EQ(shown.last(), saved);
    EXPECT_TRUE(HeardOverBus().contains("notification\t" + saved));
}

TEST_F(ViewTest, TheGridRefusesACodeItCannotStoreAndTakesAnyLabel) {
    const std::pair<QString, QString> frequencies[] = {  // typed, shown ("" when refused)
        {"154.5125", "154.51250"}, {"154.51875", "154.51875"}, {"154.5126", ""}, {"135.9975", ""}, {"174.0025", ""}, {"136", "136.00000"},
        {"174", "174.00000"}, {"154.5125001", ""}, {"0", "0"}, {"154525", "154.52500"}, {"15.4525", "154.52500"}, {"146.34", "146.34000"}};
    for (const auto& [typed, want] : frequencies) {
        const QString before = shown(2, 1);
        EXPECT_EQ(beepsDuring([&] { enter(2, 1, typed); }), want.isEmpty()) << typed.toStdString();
        EXPECT_EQ(shown(2, 1), want.isEmpty() ? before : want) << typed.toStdString();
    }
    const std::pair<int, QString> refused[] = {{2, "D999"}, {2, "D02"}, {4, "D089"}, {2, "d023-junk-"}, {4, "12345.6"}};
    for (const auto& [col, typed] : refused) {
        EXPECT_EQ(beepsDuring([&] { enter(2, col, typed); }), 1) << typed.toStdString();
        EXPECT_EQ(shown(2, col), "000.0") << typed.toStdString();
    }
    const int beeps = platform.beeps;
    clickCell(2, 1);
    type("150");
    press(Qt::Key_Escape);  // the cell as it was, and no beep
    EXPECT_EQ(shown(2, 1), "146.34000");
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(2, 1));
    enter(2, 2, "d023-");
    enter(2, 5, "ST.JOHN");
    EXPECT_EQ(shown(2, 2), "d023-");
    EXPECT_EQ(shown(2, 5), "ST.JOHN");
    EXPECT_EQ(platform.beeps, beeps);
    main->storeGroupMemory();
    EXPECT_EQ(image(VKTCore::ChannelSlotAddress(0, 2) + 2), 0xC8);
    EXPECT_EQ(image(VKTCore::ChannelSlotAddress(0, 2) + 3), 0x13);
    const VKTCore::LabelCodes stJohn = {0x30, 0x1C, 0x1D, 0x30, 0x13, 0x18, 0x11, 0x17};
    EXPECT_TRUE(std::equal(stJohn.begin(), stJohn.end(), VKTCore::MemoryImage.begin() + VKTCore::LabelSlotAddress(0, 2)));
    main->displayGroupMemory();
    EXPECT_EQ(shown(2, 5), " ST JOHN");
}

// Nothing typed may be lost: the window stays as it was, as if Cancel had
// been answered, and the next close can still save.
TEST_F(ViewTest, AFailedSaveOnExitKeepsTheMainWindowOpen) {
    QLineEdit* password = typeInto("txtPassWord", "999999");
    clickCell(3, 5);
    type("KEEP ME");
    std::filesystem::create_directory(temp.path() / "taken.vkt");  // a folder where the file would go
    platform.answer(Answer::Yes, vkteditor::frmGroups::SaveBeforeExit);
    platform.dialogAnswers.push_back((temp.path() / "taken.vkt").string());
    platform.answer(Answer::OK);
    EXPECT_FALSE(view->close());
    EXPECT_EQ(platform.boxes.back().title, vktstore::FileOpenSave::FileErrorTitle);
    EXPECT_EQ(password->text(), "999999");
    EXPECT_EQ(shown(3, 5), "KEEP ME");
    EXPECT_EQ(view->windowTitle(), "VKTEDWIN  -  VKT Editor");
    EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "taken.vkt"));

    platform.answer(Answer::Yes, vkteditor::frmGroups::SaveBeforeExit);
    platform.dialogAnswers.push_back((temp.path() / "kept.vkt").string());
    EXPECT_TRUE(view->close());
    EXPECT_EQ(FileBytes((temp.path() / "kept.vkt").string(), VKTCore::GroupBase(0) + 38, 3), (std::vector<uint8_t>{0x99, 0x99, 0x99}));
}

TEST_F(ViewTest, TheEmulatedRadioIsNamedWhereverTheRadioIs) {
    QLabel* mark = nullptr;
    for (auto* l : view->statusBar()->findChildren<QLabel*>()) if (l->text() == "Emulated radio") mark = l;
    ASSERT_NE(mark, nullptr);
    EXPECT_FALSE(mark->isVisible());
    action("Emulated Radio")->trigger();
    EXPECT_TRUE(action("Emulated Radio")->isChecked());
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
    EXPECT_TRUE(action("Use Comm Port 2")->isChecked());
    EXPECT_FALSE(action("Emulated Radio")->isChecked());
    EXPECT_EQ(port.portNumber(), 2);
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Comm", "Port", ""), "2");
    // A write cancelled at its question sends nothing, but the group is stored.
    typeInto("txtPassWord", "111111");
    const size_t sent = port.sent.size();
    platform.answer(Answer::Cancel, "Are you sure you want to write to the radio?");
    command(Qt::Key_F4);
    EXPECT_EQ(port.sent.size(), sent);
    EXPECT_EQ(image(VKTCore::GroupBase(0) + 38), 0x11);
}

// Write Changes keeps the radio's read as its backup; a Cancel in its read
// writes nothing, one in its write is asked about and says what went.
TEST_F(ViewTest, WriteChangesWritesOnlyWhatDiffersAndSaysSo) {
    QAction* write = action("Write Radio");
    const auto menu = qobject_cast<QMenu*>(write->associatedObjects().value(0));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().indexOf(action("Write Changes")), menu->actions().indexOf(write) + 1);
    EXPECT_EQ(menu->actions().indexOf(action("Verify Radio")), menu->actions().indexOf(write) + 2);

    main->keepBackupsIn((folder / "backups").string());
    command(Qt::Key_F2);
    enter(3, 1, "155.5");   // group 1 channel 4
    enter(15, 1, "155.6");  // and channel 16, another block
    const int ch4 = VKTCore::ChannelSlotAddress(0, 3) / 32, ch16 = VKTCore::ChannelSlotAddress(0, 15) / 32;
    auto written = [&] {
        std::vector<int> blocks;
        for (size_t i = 0; i + 1 < port.sent.size(); ++i) if (port.sent[i].byte == 212) blocks.push_back(port.sent[i + 1].byte), i += 33;
        return blocks;
    };
    struct Case { std::function<bool()> cancelWhen; std::vector<int> blocks; std::string said; };  // cancelWhen nothing: no Cancel
    const std::string backup = ", backup radio-2AAA0105-";
    const Case cases[] = {
        {[&] { return main->proc.Prog1.Value() > 3000 && main->proc.lblInfo.Caption() == "Reading VKT Memory"; }, {},
         "its read was cancelled: nothing was written"},
        {[&] { return written().size() == 1; }, {ch4}, "cancelled: block " + std::to_string(ch4) + " had been written" + backup},
        {{}, {ch16}, "1 block written and verified" + backup},  // the other went before
        {{}, {}, "already holds the setup shown: nothing written" + backup},
        // The radio differs everywhere, the globals too: what went, in ranges.
        {[&] { return main->proc.lblInfo.Caption() == "Writing VKT Memory" && main->proc.Prog1.Value() > 1000; }, {},
         "cancelled: blocks 8-31 and 30 unit-wide bytes had been written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        const bool everywhere = &c == &cases[4];
        if (everywhere) for (uint8_t& b : radio().eeprom) b = static_cast<uint8_t>(~b);
        port.sent.clear();
        platform.answer(Answer::OK, VKTCom::RadioCommands::ConfirmWrite);
        platform.answer(everywhere ? Answer::Yes : Answer::No, VKTCom::RadioCommands::AskGlobals);
        platform.onEvents = [&, done = false]() mutable {
            if (done || !c.cancelWhen || !c.cancelWhen()) return;
            done = true;
            if (!c.blocks.empty() || everywhere) platform.answer(Answer::Yes, VKTCom::frmProc::CancelWriteQuestion);
            QTest::mouseClick(procView->findChild<QPushButton*>(), Qt::LeftButton);
        };
        action("Write Changes")->trigger();
        platform.onEvents = nullptr;
        activate(view.get());
        EXPECT_EQ(everywhere ? c.blocks : written(), c.blocks);
        const std::string status = main->statusText.Caption();
        EXPECT_EQ(status.rfind("Write changes to radio 2AAA0105", 0), 0u) << status;
        EXPECT_NE(status.find("): " + c.said), std::string::npos) << status;
        released();
        if (!c.cancelWhen && c.blocks.empty()) {  // the backup is the radio as it was read
            const auto latest = main->backups()->latestFor(vktsim::RadioModel::FastIdentity);
            ASSERT_TRUE(latest);
            EXPECT_EQ(FileBytes(*latest, 0, 6016), std::vector<uint8_t>(radio().eeprom.begin(), radio().eeprom.begin() + 6016));
        }
    }
    const auto question = std::find_if(platform.boxes.begin(), platform.boxes.end(),
                                       [](const auto& b) { return b.text == VKTCom::frmProc::CancelWriteQuestion; });
    ASSERT_NE(question, platform.boxes.end());
    EXPECT_EQ(question->icon, vkt::Icon::Question);
    EXPECT_EQ(question->buttons, vkt::Buttons::YesNo);
    EXPECT_EQ(question->title, "VKT Editor");

    platform.answer(Answer::OK);
    action("Verify Radio")->trigger();
    activate(view.get());
    EXPECT_EQ(platform.boxes.back().title, VKTCom::RadioCommands::VerifyTitle);
}

TEST_F(ViewTest, AFailedOrCancelledReadChangesNothing) {
    for (const auto& [index, password] : {std::pair{1, "222222"}, {4, "555555"}, {2, "333333"}}) {
        pickFromList(groupBox(), index);
        typeInto("txtPassWord", password);
    }
    enter(2, 1, "155.5");
    action("Global Parameters")->trigger();
    main->globalsForm.cboGlobalGroup.setListIndex(6);
    activate(view.get());
    for (uint8_t& b : port.radio().eeprom) b = static_cast<uint8_t>(~b);  // the radio differs everywhere
    const VKTCore::Image before = VKTCore::MemoryImage;
    struct Case { const char* item; int failAtBlock; int cancelAfterBytes; std::string said; std::string why = ""; };  // failAtBlock -1: cancelled
    const Case cases[] = {
        {"Read Radio", 100, 0, "Read radio: failed after ", "block 100: byte 1 missing after 0.5 s, asked again 3 times"},
        {"Read Radio", -1, 60 * 32, "Read radio: cancelled after "},
        {"Read Global Information from Radio", 5, 0, "Read global information from radio: failed after ", "block 5: byte 1 missing after 0.5 s, asked again 3 times"},
        {"Read Global Information from Radio", -1, 3 * 32, "Read global information from radio: cancelled after "},
        {"Read Group from Radio", 38, 0, "Read group 3 from radio: failed after ", "block 38: byte 1 missing after 0.5 s, asked again 3 times"},
        {"Read Group from Radio", -1, 4 * 32, "Read group 3 from radio: cancelled after "},
    };
    // The error box stays open a while, and the time said is the transfer's.
    double start = 0, failedAt = 0;
    platform.onBox = [&](const vkttest::ShownBox& box) { failedAt = box.time; clock.advance(370); };
    for (const Case& c : cases) {
        port.radio().faults.silentFromBlock = c.failAtBlock;
        if (c.failAtBlock >= 0) platform.answer(Answer::OK, VKTCom::Transfers::ReadErrorText);
        else platform.onEvents = [this, bytes = c.cancelAfterBytes] {
            if (main->proc.Prog1.Value() >= bytes && !main->proc.Cancelled) QTest::mouseClick(procView->findChild<QPushButton*>(), Qt::LeftButton);
        };
        start = clock.now();
        action(c.item)->trigger();
        activate(view.get());
        platform.onEvents = nullptr;
        const std::string said = main->statusText.Caption();
        if (c.failAtBlock >= 0) EXPECT_EQ(said, c.said + vkt::FixedText(failedAt - start, 1) + " s (" + c.why + "); nothing was changed");
        else EXPECT_TRUE(said.rfind(c.said, 0) == 0 && said.ends_with("; nothing was changed")) << said;
        EXPECT_TRUE(VKTCore::MemoryImage == before) << said;
        EXPECT_EQ(view->findChild<QLineEdit*>("txtPassWord")->text(), "333333") << said;
        EXPECT_EQ(shown(2, 1), "155.50000") << said;
        EXPECT_EQ(table->value(2, 1).text, "155.50000") << said;
        EXPECT_EQ(main->globalsForm.cboGlobalGroup.ListIndex(), 6) << said;
    }
    const std::string setup = save("kept.vkt");
    for (const auto& [group, digits] : {std::pair{1, 0x22}, {2, 0x33}, {4, 0x55}})
        EXPECT_EQ(FileBytes(setup, VKTCore::GroupBase(group) + 38, 3), std::vector<uint8_t>(3, static_cast<uint8_t>(digits))) << group;
    EXPECT_EQ(FileBytes(setup, VKTCore::ChannelSlotAddress(2, 2), 2), (std::vector<uint8_t>{0xAD, 0x70}));
}

TEST_F(ViewTest, APastedValueIsCheckedAsATypedOneIs) {
    clickCell(0, 1);
    press(Qt::Key_A, Qt::ControlModifier);
    // The copied rows with some fields changed, their lengths kept.
    QStringList rows = QString::fromStdString(platform.clipboard).split('\r');
    auto change = [&](int row, int field, const QString& to) {
        QStringList fields = rows[row].split('\t');
        ASSERT_EQ(fields[field].size(), to.size()) << fields[field].toStdString();
        fields[field] = to;
        rows[row] = fields.join('\t');
    };
    change(0, 1, "190.00000");
    change(1, 1, "135.99999");
    change(2, 2, "D089-");
    change(6, 3, "180.00");
    change(6, 1, "190.00000");  // a second refused cell in row 7: still one refused row
    change(3, 3, "155.50");
    change(3, 4, "088.5");
    platform.clipboard = rows.join('\r').toStdString();
    const QString row0 = shown(0, 1), row1 = shown(1, 1), row6 = shown(6, 1);
    EXPECT_EQ(beepsDuring([] { press(Qt::Key_V, Qt::ControlModifier); }), 1);
    const std::string rules = ". Rec Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none; Rec CG takes a tone such as 088.5, or a digital "
                              "code such as D023 or D023-; Tx Freq must be 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none";
    EXPECT_EQ(main->statusText.Caption(), "Pasted 16 rows; refused: Rec Freq of rows 1, 2 and 7; Rec CG of row 3; Tx Freq of row 7" + rules);
    const std::tuple<int, int, QString> cells[] = {
        {0, 1, row0}, {1, 1, row1}, {6, 1, row6}, {2, 2, "000.0"}, {6, 3, "000.00"}, {3, 3, "155.50000"}, {3, 4, "088.5"}};
    for (const auto& [row, col, text] : cells) EXPECT_EQ(shown(row, col), text) << row << "," << col;

    const std::string setup = save("pasted.vkt");
    EXPECT_EQ(FileBytes(setup, VKTCore::ChannelSlotAddress(0, 0), 2), (std::vector<uint8_t>{radioByte(VKTCore::ChannelSlotAddress(0, 0)),
                                                                                                radioByte(VKTCore::ChannelSlotAddress(0, 0) + 1)}));
    EXPECT_EQ(FileBytes(setup, VKTCore::ChannelSlotAddress(0, 3) + 4, 4), (std::vector<uint8_t>{0xAD, 0x70, 0x08, 0x85}));

    grid()->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(3, 3), "000.00");
    EXPECT_EQ(shown(3, 4), "000.0");
    EXPECT_EQ(main->statusText.Caption(), "Paste undone: 16 rows put back");

    // A row of three refused cells is pasted still; the status bar shows which, at its width, and the rest in a tool tip.
    clickCell(3, 1);
    main->mnuRow_Click();
    rows = QString::fromStdString(platform.clipboard).split('\r');
    for (const auto& [field, to] : {std::pair{1, "190.00000"}, {2, "D089-"}, {3, "180.00"}, {5, "NEWLABEL"}}) change(0, field, to);
    platform.clipboard = rows.join('\r').toStdString();
    press(Qt::Key_V, Qt::ControlModifier);
    const QString said = QString::fromStdString(main->statusText.Caption());
    EXPECT_EQ(said.toStdString(), "Pasted 1 row; refused: Rec Freq, Rec CG and Tx Freq of row 4" + rules);
    EXPECT_EQ(shown(3, 5), "NEWLABEL");
    QLabel* status = nullptr;
    for (auto* l : view->statusBar()->findChildren<QLabel*>()) if (l->text() == said) status = l;
    ASSERT_NE(status, nullptr);
    EXPECT_LE(status->fontMetrics().horizontalAdvance(said.left(said.indexOf(". "))), status->contentsRect().width());
    EXPECT_EQ(status->toolTip(), said);
}

// The offset box opens with the last offset, checked when it is taken.
TEST_F(ViewTest, AnOffsetIsCheckedOnTheRowItWasOpenedFor) {
    const double rx = shown(2, 1).toDouble();
    auto* box = view->findChild<QLineEdit*>("txtOffset");
    const char* last = "";
    for (const char* offset : {"-50", ".6", "-.6"}) {  // partial numbers pass: "-", "-.", "."
        clickCell(2, 3);
        press(Qt::Key_Space);
        ASSERT_EQ(focus(), box);
        EXPECT_EQ(box->text(), last);
        const QString opened = shown(2, 3);
        clickCell(5, 1);  // the grid keeps working meanwhile
        box->setFocus();
        EXPECT_EQ(beepsDuring([&] { type(offset); }), !*last) << offset;  // only into an empty box
        platform.answer(Answer::OK, vkteditor::ClipboardCommands::OffsetHint);
        press(Qt::Key_F1);
        const bool refused = offset == std::string("-50");
        EXPECT_EQ(beepsDuring([] { press(Qt::Key_Return); }), refused) << offset;
        EXPECT_FALSE(box->isVisible()) << offset;
        EXPECT_EQ(shown(2, 3), refused ? opened : QString::number(rx + vkt::Val(offset), 'f', 5)) << offset;
        if (refused) { EXPECT_EQ(main->statusText.Caption(), "Tx Freq of row 3 refused: 136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none"); }
        last = offset;
    }
    clickCell(2, 3);
    press(Qt::Key_Space);
    // The key after the letter finds it: a beep, and the box starts again.
    EXPECT_EQ(beepsDuring([] { type("x1"); }), 1);
    EXPECT_EQ(box->text(), "1");
    EXPECT_EQ(main->statusText.Caption(), vkteditor::ClipboardCommands::OffsetRule);
    EXPECT_EQ(shown(2, 3), QString::number(rx - 0.6, 'f', 5));
}

// The factory setup's position 16 holds group nibble F without the Global flag: the window shows no entry for
// it, and saving the window keeps those bits rather than writing group 1.
TEST_F(ViewTest, GlobalsWindowKeepsHiddenEditsAsksAtItsCloseBoxAndNamesNoRotaryGroup) {
    auto& g = main->globalsForm;
    action("Global Parameters")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(g.Caption(), "Group '0' Globals  -  VKT Editor   ");
    g.cboTalkBack.setListIndex(1);
    for (QAction* a : globalsView->findChildren<QAction*>()) if (a->text() == "Close Window Without Saving") a->trigger();
    EXPECT_FALSE(globalsView->isVisible());
    EXPECT_TRUE(main->globalsWindowOpen());
    action("Global Parameters")->trigger();
    EXPECT_EQ(g.cboTalkBack.Text(), "Enabled");  // not read again
    EXPECT_EQ(image(155) & 0x20, 0);
    QGroupBox* rotary = nullptr;
    for (auto* box : globalsView->findChildren<QGroupBox*>()) if (box->title() == "Rotary Switch Assignments") rotary = box;
    ASSERT_TRUE(rotary);
    const auto combo = [rotary](int row) { return qobject_cast<QComboBox*>(static_cast<QGridLayout*>(rotary->layout())->itemAtPosition(row, 1)->widget()); };
    EXPECT_EQ(combo(15)->currentText(), "Group 15");
    EXPECT_EQ(combo(16)->currentIndex(), -1);
    EXPECT_EQ(combo(16)->currentText(), "");
    platform.answer(Answer::Cancel, vkteditor::frmGlobals::SaveQuestion);
    EXPECT_FALSE(globalsView->close());
    platform.answer(Answer::No, vkteditor::frmGlobals::SaveQuestion);
    EXPECT_TRUE(globalsView->close());
    EXPECT_FALSE(main->globalsWindowOpen());
    action("Global Parameters")->trigger();
    EXPECT_EQ(g.cboTalkBack.Text(), "Disabled");  // read from the image again
    g.cboTalkBack.setListIndex(1);
    platform.answer(Answer::Yes, vkteditor::frmGlobals::SaveQuestion);
    EXPECT_TRUE(globalsView->close());
    EXPECT_EQ(image(143), 0xFF);
    EXPECT_EQ(image(144) & 0x80, 0);
    EXPECT_EQ(image(155) & 0x20, 0x20);
}

TEST_F(ViewTest, ProgressCancelReachesTheModel) {
    // A whole read moves the bar by whole percents, each told to a screen reader, rather than once per byte.
    auto* bar = procView->findChild<QProgressBar*>();
    std::vector<int> moves;
    QStringList names;
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&moves, &names, bar](int value) { moves.push_back(value); names << bar->accessibleName(); });
    command(Qt::Key_F2);
    EXPECT_EQ(names.filter("Reading radio").size(), names.size());
    ASSERT_GE(moves.size(), 2u);
    EXPECT_LE(moves.size(), 101u);
    EXPECT_EQ(*std::max_element(moves.begin(), moves.end()), 100);

    main->proc.ShowForm("Writing VKT Memory", true);
    EXPECT_EQ(bar->accessibleName(), "Writing radio");
    main->proc.ShowForm("Reading VKT Memory", false);
    QApplication::processEvents();
    EXPECT_EQ(procView->windowTitle(), "VKT Processing");
    EXPECT_EQ(procView->findChild<QLabel*>()->text(), "Reading VKT Memory");
    EXPECT_EQ(QApplication::activeModalWidget(), procView.get());  // the main window takes no input
    QPushButton* cancel = ShownButton(*procView, "Cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->isEnabled());
    main->proc.EnableCancel();
    EXPECT_TRUE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(main->proc.Cancelled);
    EXPECT_TRUE(procView->isVisible());
    main->proc.Unload();
    main->proc.Unload();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(procView->isVisible());
}

TEST_F(ViewTest, LeavingMoveBanksWithoutAMoveKeepsTheUnsavedEdits) {
    auto okWith = [this](const QString& from, const QString& to) {
        for (const auto& [box, bank] : {std::pair{"cboFromBank", from}, {"cboToBank", to}}) typeOver(moveView->findChild<QComboBox*>(box)->lineEdit(), bank);
        QTest::mouseClick(ShownButton(*moveView, "OK"), Qt::LeftButton);
    };
    struct Way { const char* name; std::function<void()> leave; };
    const Way ways[] = {
        {"Esc", [] { press(Qt::Key_Escape); }},
        {"close box", [this] { moveView->close(); }},
        {"Cancel", [this] { QTest::mouseClick(ShownButton(*moveView, "Cancel"), Qt::LeftButton); }},
        {"OK, no such bank", [&] { okWith("16", "1"); }},
        {"OK, bank 0", [&] { okWith("0", "3"); }},
        {"OK, no number", [&] { okWith("x", "2"); }},
        {"OK, a bank onto itself", [&] { okWith("3", "3"); }},
    };
    EXPECT_EQ(moveView->windowTitle(), "Move Banks");
    EXPECT_EQ(moveView->findChild<QComboBox*>("cboFromBank")->currentText(), "15");
    EXPECT_EQ(moveView->findChild<QComboBox*>("cboToBank")->currentText(), "1");
    for (const Way& way : ways) {
        activate(view.get());
        enter(2, 5, "FIRE");
        QLineEdit* password = typeInto("txtPassWord", "424242");
        const auto image = VKTCore::MemoryImage;

        press(Qt::Key_M, Qt::ControlModifier);
        ASSERT_TRUE(moveView->isVisible()) << way.name;
        EXPECT_TRUE(Centred(moveView.get())) << way.name;
        activate(moveView.get());
        way.leave();
        QApplication::processEvents();
        EXPECT_FALSE(moveView->isVisible()) << way.name;
        EXPECT_EQ(shown(2, 5), "FIRE") << way.name;
        EXPECT_EQ(password->text(), "424242") << way.name;
        EXPECT_EQ(VKTCore::MemoryImage, image) << way.name;
    }
}

// Undo takes a plan's channels back until something else changes.
TEST_F(ViewTest, ExportAndImportChannelPlanShowsWhatItReplacesAndUndoPutsItBack) {
    const std::string out = (folder / "out.csv").string();
    enter(4, vkt::ColChLabel, "FIRE");
    for (const auto& [item, format] : {std::pair{"&Incident Radio Communications Plan (ICS 205)...", VKTCore::PlanFormat::IncidentPlan},
                                       {"&Channel List...", VKTCore::PlanFormat::ChannelList}}) {
        platform.dialogAnswers.push_back(out);
        action(item)->trigger();
        std::ifstream in(out, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), VKTCore::WritePlan(VKTCore::MemoryImage, format).text) << item;
        EXPECT_NE(VKTCore::WritePlan(VKTCore::MemoryImage, format).text.find(",FIRE,"), std::string::npos) << item;
    }
    vktviews::PlanImportView importView(main->planImport, view.get());
    std::ofstream(out) << "Name,Phone\nJ. Doe,555\n";
    platform.dialogAnswers.push_back(out);
    platform.answer(vkt::Answer::OK, out + ":\rno line names the columns of a plan: an incident plan's \"Ch #\" and \"RX Freq\", or a "
                                           "channel list's \"Location\" and \"Frequency\"");
    action("&Import Channel Plan...")->trigger();
    EXPECT_FALSE(importView.isVisible());

    const std::string plan = (folder / "list.csv").string();
    std::ofstream(plan, std::ios::binary) << "\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n"
                                             "2,ENGINE 12 TAC,151.2500,+,0.6,Tone,100.0,NFM\r\n3,RESCUE,151.5000,,,,,FM\r\n";
    const auto image = VKTCore::MemoryImage;
    const QString txBefore = shown(1, vkt::ColTxFreq);
    auto* changes = importView.findChild<QLabel*>("lblChanges");
    const auto open = [&](bool replace) {
        activate(view.get());
        platform.dialogAnswers.push_back(plan);
        action("&Import Channel Plan...")->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(importView.isVisible());
        activate(&importView);
        if (!replace) return;
        QTest::mouseClick(importView.findChild<QCheckBox*>("chkCutNames"), Qt::LeftButton);
        QTest::mouseClick(ShownButton(importView, "Replace"), Qt::LeftButton);
        activate(view.get());
    };
    open(false);
    EXPECT_EQ(importView.findChild<QComboBox*>("cboGroup")->currentText(), "1");
    EXPECT_FALSE(ShownButton(importView, "Replace")->isEnabled());
    EXPECT_EQ(changes->text(), "Nothing can be imported:\nline 2, column Name: \"ENGINE 12 TAC\" has more than 8 characters (or choose to cut names to 8)");
    QTest::mouseClick(importView.findChild<QCheckBox*>("chkCutNames"), Qt::LeftButton);
    EXPECT_EQ(changes->text(), "Replaces these channels of the setup:\ngroup 1: channels 2-3\nNames changed to fit the radio:\n"
                               "line 2: \"ENGINE 12 TAC\" cut to \"ENGINE 1\"");
    press(Qt::Key_Escape);
    EXPECT_FALSE(importView.isVisible());
    EXPECT_EQ(VKTCore::MemoryImage, image);

    open(true);
    EXPECT_FALSE(importView.isVisible());
    EXPECT_EQ(shown(1, vkt::ColRecFreq), "151.25000");
    EXPECT_EQ(shown(1, vkt::ColTxFreq), "151.85000");
    EXPECT_EQ(shown(1, vkt::ColTxCG), "100.0");
    EXPECT_EQ(shown(1, vkt::ColChLabel).trimmed(), "ENGINE 1");
    EXPECT_EQ(shown(2, vkt::ColChLabel).trimmed(), "RESCUE");
    clickCell(4, vkt::ColRecFreq);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(VKTCore::MemoryImage, image);
    EXPECT_EQ(shown(1, vkt::ColTxFreq), txBefore);

    open(true);
    typeInto("txtGrpLab", "NORTH");
    clickCell(4, vkt::ColRecFreq);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(main->txtGrpLab.Text(), "NORTH");
    EXPECT_EQ(shown(2, vkt::ColChLabel).trimmed(), "RESCUE");
    // A plan without a Zone/Grp column goes where the group list says, group 1
    // unless chosen, as on the command line; a plan with one has no list.
    auto* group = importView.findChild<QComboBox*>("cboGroup");
    EXPECT_EQ(group->accessibleName(), "First 16 channels into group");
    for (const auto& [file, listed, said] : {std::tuple{"Ch #,Channel Name,RX Freq\r\n1,A,151.0000N\r\n", true, "group 3: channel 1"},
                                             {"Zone,Ch #,RX Freq\r\n2,1,151.0000N\r\n", false, "group 2: channel 1"}}) {
        std::ofstream(plan, std::ios::binary) << file;
        open(false);
        EXPECT_EQ(group->isVisible(), listed) << file;
        EXPECT_EQ(group->currentText(), "1") << file;
        for (int k = 0; listed && k < 2; ++k) QTest::keyClick(group, Qt::Key_Down);
        EXPECT_EQ(changes->text(), QString("Replaces these channels of the setup:\n") + said) << file;
        press(Qt::Key_Escape);
    }
    // A refusal is never cut off: in a dialog made small, all of it can be scrolled to.
    std::ofstream(plan, std::ios::binary) << "Location,Name,Frequency\r\n1,A,15.4525\r\n";
    open(false);
    importView.resize(220, 160);
    QApplication::processEvents();
    auto* scroll = importView.findChild<QScrollArea*>("scrChanges");
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(changes->text().startsWith("Nothing can be imported:"));
    EXPECT_LE(changes->heightForWidth(scroll->viewport()->width()), scroll->viewport()->height() + scroll->verticalScrollBar()->maximum());
    press(Qt::Key_Escape);
}
