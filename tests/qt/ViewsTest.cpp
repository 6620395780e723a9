// The Qt views on their window models, offscreen: the main window builds
// and shows the factory setup, widgets reach the models, and the progress
// window's Cancel works. With VKT_SCREENSHOTS=DIR set, it also saves
// pictures of the main window after a read and of the progress window
// during one.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QFile>
#include <QSettings>
#include <QGridLayout>
#include <QGroupBox>
#include <QTabBar>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "editor/frmGroups.h"
#include "platform/PrintDocument.h"
#include "qt/QtPlatform.h"
#include "qt/QtPrinter.h"
#include "qt/TuneView.h"
#include "qt/ChannelGridView.h"
#include "qt/GroupsView.h"
#include "qt/WindowViews.h"
#include "sim/SimSerialPort.h"
#include "store/dbGlobal.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempFolder.h"

namespace {

class ViewsTest : public ::testing::Test {
protected:
    ViewsTest() {
        temp.seedDatabases(VKT_SHIPPED_DB_DIR);
        platform.setSerialPort(port);
        port.radio().eeprom = vktsim::RadioModel::FactorySetup();
        table = std::make_unique<vktstore::ChannelTable>(dbGlobal::CurrentPath());
        main = std::make_unique<vkteditor::frmGroups>(platform, link, *table);
        view = std::make_unique<vktqt::GroupsView>(*main);
        procView = std::make_unique<vktqt::ProcView>(main->proc, view.get());
        main->Form_Load();
        view->show();
        QApplication::processEvents();
        if (main->loading) main->Form_Activate();
    }
    ~ViewsTest() override {
        procView.reset();
        view.reset();
        main.reset();
        table.reset();
    }

    QAction* action(const QString& text) {
        for (QAction* a : view->findChildren<QAction*>())
            if (a->text() == text) return a;
        return nullptr;
    }
    static void Save(QWidget* w, const char* name) {
        const QByteArray dir = qgetenv("VKT_SCREENSHOTS");
        if (!dir.isEmpty()) w->grab().save(QString::fromLocal8Bit(dir) + "/" + name);
    }

    TempFolder temp{"vkt-views-"};
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    VKTCom::RadioLink link{platform};
    std::unique_ptr<vktstore::ChannelTable> table;
    std::unique_ptr<vkteditor::frmGroups> main;
    std::unique_ptr<vktqt::GroupsView> view;
    std::unique_ptr<vktqt::ProcView> procView;
};

} // namespace

TEST_F(ViewsTest, MainWindowShowsTheFactorySetup) {
    EXPECT_EQ(view->windowTitle(), "VKTEDWIN  -  VKT Editor");
    auto* grid = view->findChild<vktqt::ChannelGridView*>("Grid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "162.40000");
    EXPECT_EQ(grid->model()->index(3, 1).data().toString(), "162.55000");
    EXPECT_EQ(grid->model()->index(0, 5).data().toString(), "    Ch 1");
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Ch Label");
    QAction* read = action("Read Radio");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->shortcut(), QKeySequence(Qt::Key_F2));
    ASSERT_NE(action("Write Current Group to Radio"), nullptr);
    EXPECT_EQ(action("Write Current Group to Radio")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_FALSE(action("Read Current Group")->isVisible());
    EXPECT_EQ(view->size(), QSize(612, 438));
}

TEST_F(ViewsTest, PickingAGroupReachesTheModel) {
    auto* combo = view->findChild<QComboBox*>("cboCurrentGroup");
    ASSERT_NE(combo, nullptr);
    emit combo->activated(4);
    EXPECT_EQ(main->currentGroup, 4);
    EXPECT_EQ(main->txtGrpLab.Text(), "  GROUP5");
}

TEST_F(ViewsTest, AGridEditLandsInTheChannelTable) {
    auto* grid = view->findChild<vktqt::ChannelGridView*>("Grid");
    const auto typeInto = [&](int row, int col, const char* text) {
        const QModelIndex cell = grid->model()->index(row, col);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(main->Grid.editing());
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits on a queued call
        EXPECT_FALSE(main->Grid.editing());
    };
    typeInto(2, 5, "FIRE");
    EXPECT_EQ(table->value(2, 5).text, "FIRE");
    vktstore::ChannelTable reread(dbGlobal::CurrentPath());
    EXPECT_EQ(reread.value(2, 5).text, "FIRE");

    // A code with a digit 9 is refused with a beep; a label character
    // without a code is taken, to be stored as a space.
    typeInto(2, 2, "D999");
    EXPECT_EQ(grid->model()->index(2, 2).data().toString(), "000.0");
    EXPECT_EQ(platform.beeps, 1);
    typeInto(2, 5, "ST.JOHN");
    EXPECT_EQ(grid->model()->index(2, 5).data().toString(), "ST.JOHN");
    EXPECT_EQ(platform.beeps, 1);
}

// The close box, "Save before exit?" answered Yes, and a save that fails:
// the window stays open.
TEST_F(ViewsTest, AFailedSaveOnExitKeepsTheMainWindowOpen) {
    std::filesystem::create_directory(temp.path() / "taken.vkt");
    platform.answer(vkt::Answer::Yes, vkteditor::frmGroups::SaveBeforeExit);
    platform.dialogAnswers.push_back((temp.path() / "taken.vkt").string());
    platform.answer(vkt::Answer::OK);
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(platform.boxes.back().title, vktstore::FileOpenSave::FileErrorTitle);
}

TEST_F(ViewsTest, ProgressCancelReachesTheModel) {
    main->proc.ShowForm("Reading VKT Memory", false);
    main->proc.EnableCancel();
    QApplication::processEvents();
    EXPECT_TRUE(main->proc.Visible());
    EXPECT_TRUE(procView->isVisible());
    EXPECT_FALSE(view->centralWidget()->isEnabled());
    QPushButton* cancel = nullptr;
    for (auto* b : procView->findChildren<QPushButton*>())
        if (b->text() == "Cancel") cancel = b;
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(main->proc.Cancelled);
    main->proc.Unload();
    EXPECT_TRUE(view->centralWidget()->isEnabled());
    EXPECT_FALSE(procView->isVisible());
}

TEST_F(ViewsTest, ReadRadioFillsTheWindow) {
    for (int c = 0; c < 16; ++c) port.radio().eeprom[static_cast<size_t>(384 + 8 * c + 1)] = static_cast<uint8_t>(8 * c);
    port.radio().eeprom[384 + 2] = 0xC8;
    port.radio().eeprom[384 + 3] = 0x13;
    port.radio().eeprom[256 + 37] = 0x05;
    bool grabbed = false;
    platform.onEvents = [&] {
        if (!grabbed && main->proc.Prog1.Value() > 3000) {
            grabbed = true;
            QApplication::processEvents();
            Save(procView.get(), "progress.png");
        }
    };
    main->mnuRead_Click();
    platform.onEvents = nullptr;
    QApplication::processEvents();
    auto* grid = view->findChild<vktqt::ChannelGridView*>("Grid");
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), "162.41000");
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "D023-");
    EXPECT_EQ(main->chkScan[2].Value(), 1);
    Save(view.get(), "main.png");
}

TEST(ReportPdf, RendersAndReadsBack) {
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, "/setups/unit7.vkt");
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    std::string why;
    ASSERT_TRUE(vktqt::WritePdf(printer.lastDocument(), pdf, why)) << why;
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression("VKT Unit Data Printout:\\s+/setups/unit7.vkt"))) << out.left(300).toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("1\\s+162\\.40000\\s+000\\.0\\s+000\\.00\\s+000\\.0\\s+Ch 1")));
    EXPECT_TRUE(out.contains("Group 15 Data:"));
    EXPECT_EQ(out.count('\f'), 8);

    // The report is written as every file is: never through a dangling link.
    ASSERT_TRUE(QFile::link(dir.filePath("gone.pdf"), dir.filePath("link.pdf")));
    EXPECT_FALSE(vktqt::WritePdf(printer.lastDocument(), dir.filePath("link.pdf"), why));
    EXPECT_NE(why.find("which does not exist"), std::string::npos) << why;
    EXPECT_FALSE(QFile::exists(dir.filePath("gone.pdf")));
}

TEST(ReportCommand, PrintsASetupFileWithoutAWindow) {
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    QTemporaryDir dir;
    const QString setup = dir.filePath("radio.vkt");
    {
        QFile f(setup);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(VKTCore::MemoryImage.data()), VKTCore::ImageSize);
    }
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    editor.setProcessEnvironment(env);
    editor.start(VKT_EDITOR, {"--report", setup, "--text"});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    const QString out = QString::fromUtf8(editor.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith("                   VKT Unit Data Printout:    " + setup + "\n")) << out.left(200).toStdString();
    EXPECT_TRUE(out.contains("         1     162.40000     000.0     000.00        000.0         Ch 1\n"));

    editor.start(VKT_EDITOR, {"--report", setup, "--pdf", dir.filePath("r.pdf")});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_GT(QFileInfo(dir.filePath("r.pdf")).size(), 1000);

    editor.start(VKT_EDITOR, {"--report", dir.filePath("missing.vkt")});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 3);
    // And without a display the editor itself says how to run it.
    editor.start(VKT_EDITOR, {});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardError()).contains("xvfb-run"));
}

TEST_F(ViewsTest, TuneWindowShowsOneProcedureFrameAtATime) {
    VKTTune::frmTune tune(platform, link);
    vktqt::TuneView tuneView(tune, view.get());
    platform.answer(vkt::Answer::OK);  // the warning
    EXPECT_TRUE(VKTTune::ShowTuneWindow(platform, tune));
    QApplication::processEvents();
    EXPECT_TRUE(tuneView.isVisible());
    auto* tabs = tuneView.findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 5);
    const char* names[] = {"tune-power.png", "tune-frequency.png", "tune-modulation.png", "tune-frontend.png", "tune-squelch.png"};
    for (int i = 0; i < 5; ++i) {
        emit tabs->tabBarClicked(i);
        QApplication::processEvents();
        int shown = 0;
        for (auto* g : tuneView.findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) shown += g->isVisible();
        EXPECT_EQ(shown, 1) << i;
        Save(&tuneView, names[i]);
    }
    tune.cmdTuneQuit_Click();
    EXPECT_FALSE(tuneView.isVisible());
}

TEST(Settings, ACorruptSettingsFileGivesTheDefaults) {
    vktqt::QtPlatform platform;
    vkt::Platform& p = platform;
    p.SaveSetting("VKTEDWIN", "Comm", "Port", "3");
    QSettings where(QSettings::IniFormat, QSettings::UserScope, "VKTEDWIN", "VKTEDWIN");
    const QString file = where.fileName();
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("\\x00\\xff[[[\\n=\\n\\x01garbage", 20));
    }
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Comm", "Port", "1"), "1");
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Settings", "Show Tune Warning Message", "Yes"), "Yes");
    p.SaveSetting("VKTEDWIN", "Comm", "Port", "2");  // and it can be written again
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Comm", "Port", "1"), "2");
}

// The factory setup's position 16 holds group nibble F without the Global
// flag: the window shows no entry for it, and saving the window through its
// own menu keeps those bits rather than writing group 1.
TEST_F(ViewsTest, ARotaryGroupThatNoEntryNamesShowsBlankAndIsKept) {
    vktqt::GlobalsView globals(main->globalsForm, view.get());
    main->mnuGlobals_Click();
    QApplication::processEvents();
    QGroupBox* rotary = nullptr;
    for (auto* box : globals.findChildren<QGroupBox*>())
        if (box->title() == "Rotary Switch Assignments") rotary = box;
    ASSERT_TRUE(rotary);
    const auto combo = [rotary](int row) {
        return qobject_cast<QComboBox*>(static_cast<QGridLayout*>(rotary->layout())->itemAtPosition(row, 1)->widget());
    };
    EXPECT_EQ(combo(15)->currentText(), "Group 15");
    EXPECT_EQ(combo(16)->currentIndex(), -1);
    EXPECT_EQ(combo(16)->currentText(), "");
    Save(&globals, "globals.png");
    globals.resize(globals.width() * 3 / 2, globals.height() * 3 / 2);
    QApplication::processEvents();
    Save(&globals, "globals-large.png");
    for (QAction* a : globals.findChildren<QAction*>())
        if (a->text() == "Save Settings And Close Window") a->trigger();
    EXPECT_EQ(VKTCore::MemoryImage[143], 0xFF);
    EXPECT_EQ(VKTCore::MemoryImage[144] & 0x80, 0);
}
