// SPDX-License-Identifier: GPL-3.0-or-later
// Radio > Program Several Radios... on its real widgets, its copies of vkt played by a script.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QWindow>

#include <fstream>

#include "fleet/FleetRound.h"
#include "core/MemoryMap.h"
#include "tests/views/ViewFixture.h"
#include "views/AboutView.h"
#include "views/ElidedLabel.h"
#include "views/FindCableDialog.h"

namespace {

using vktfleet::Outcome;
using vktfleet::ProgressLine;

std::string Result(Outcome status, const char* detail = "", double seconds = 14.1, const char* written = "") {
    return vktfleet::ResultLine({status, "2AAA0105", seconds, 0.05, detail, written, "", ""});
}

std::string Read(const std::string& path) {
    std::ifstream f(path);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class FleetWindowTest : public ViewTest {
protected:
    FleetWindowTest() { open(); }
    // From the main window's menu, as the technician opens it.
    void open() {
        activate(view.get());
        action("Program Several Radios...")->trigger();
        activate(&fleet.view);
    }
    void click(const QString& button) {
        QTest::mouseClick(ShownButton(fleet.view, button), Qt::LeftButton);
        QApplication::processEvents();
    }
    void start(std::initializer_list<int> rows, const QString& button = "&Start") {
        for (int r : rows) QTest::mouseClick(fleet.view.rows().at(static_cast<size_t>(r)).cable, Qt::LeftButton);
        click(button);
    }
    QString resultOf(size_t row) const { return fleet.view.rows().at(row).result->fullText(); }
    QString summary() const { return QString::fromStdString(fleet.model.lblSummary.Caption()); }
    // The copy of the setup shown that the copies write, named by its hash.
    std::string setupCopy() const { return (folder / "fleet-setup-sha-of-6019-.vkt").string(); }

    FleetWindow fleet{*main, clock, platform, view.get(), folder.string(),
                      {{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}, {"/dev/ttyUSB1", "FT232R USB UART", true}}};
};

} // namespace

// USB adapters first; a copy that fails and one that dies fail alone.
TEST_F(FleetWindowTest, EveryCheckedCableIsWrittenAndEachRowSaysHowItWent) {
    activate(view.get());
    typeInto("txtGrpLab", "FLEET 7");
    activate(&fleet.view);
    ASSERT_EQ(fleet.view.rows().size(), 3u);
    EXPECT_EQ(fleet.view.rows()[0].cable->text(), QString("/dev/ttyUSB0 \u2014 FT232R USB UART"));
    EXPECT_EQ(fleet.view.rows()[2].cable->text(), QString("/dev/ttyS0 \u2014 serial port"));
    click("Add &Emulated Radio");
    ASSERT_EQ(fleet.view.rows().size(), 4u);
    EXPECT_EQ(fleet.view.rows()[3].cable->text(), "Emulated radio 1 (/dev/pts/7)");
    EXPECT_EQ(fleet.emulatorMemory, (std::vector<std::string>{(folder / "fleet-radio-1.eeprom").string()}));
    fleet.workers.scripts = {{ProgressLine("writing", 50, "2AAA0105"), Result(Outcome::Done), "exit 0"},
                             {ProgressLine("writing", 3), Result(Outcome::Failed, "block 30: no acknowledgement after 0.5 s", 2.1), "exit 1"},
                             {ProgressLine("writing", 40), "exit 139"}, {ProgressLine("verifying", 80, "2AAA0109")}};
    start({0, 1, 2});
    const std::string setup = setupCopy();
    ASSERT_EQ(fleet.workers.started.size(), 4u);
    EXPECT_EQ(fleet.workers.started[1], (std::vector<std::string>{"write", setup, "--verify", "--device", "/dev/ttyUSB1", "--worker"}));
    VKTCore::Image sent{};
    const std::string bytes = Read(setup);
    std::copy(bytes.begin(), bytes.end(), sent.begin());
    EXPECT_EQ(VKTCore::FieldText(sent, VKTCore::GroupBase(0), VKTCore::GroupBlock::Label), " FLEET 7");
    // Meanwhile the main window starts no conversation and does not close.
    EXPECT_FALSE(action("Write Radio")->isEnabled());
    EXPECT_FALSE(action("&Tune")->isEnabled());
    EXPECT_FALSE(fleet.view.rows()[0].cable->isEnabled());
    view->close();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(main->statusText.Caption(), vkteditor::frmGroups::FleetBusyText);
    fleet.model.pass(0.1);
    EXPECT_EQ(fleet.view.rows()[0].progress->value(), 50);
    EXPECT_EQ(fleet.view.rows()[0].radio->text(), "2AAA0105");  // heard before the result
    fleet.workers.scripts[3].insert(fleet.workers.scripts[3].end(), {Result(Outcome::Done), "exit 0"});
    fleet.finish();
    EXPECT_EQ(resultOf(0), "written and verified 14.1 s");
    EXPECT_EQ(resultOf(1), "FAILED: block 30: no acknowledgement after 0.5 s 2.1 s");
    EXPECT_EQ(resultOf(2), "FAILED: its copy of vkt ended without a result (exit 139) 0.0 s");
    EXPECT_EQ(fleet.view.rows()[1].result->accessibleName(), "Result on /dev/ttyUSB1, radio 2AAA0105: FAILED: block 30: no acknowledgement after 0.5 s 2.1 s");
    EXPECT_NE(fleet.view.rows()[0].result->palette().color(QPalette::WindowText), fleet.view.rows()[1].result->palette().color(QPalette::WindowText));
    EXPECT_EQ(summary(), "2 of 4 radios written and verified in 0.3 s; not done: /dev/ttyUSB1, /dev/ttyS0");
    EXPECT_TRUE(action("Write Radio")->isEnabled());
    // The rows' fields are the record's own; the window gives the cables' names.
    const std::string record = Read((folder / "fleet-record.csv").string());
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 5) << record;  // the header and a row per radio
    // The edits shown are in no file: the record names the copy the radios got.
    for (const std::string& row : {",/dev/ttyS0,unknown," + setup + ",sha-of-6019-bytes,write,failed,no,0.0,,its copy of vkt",
                                   ",Emulated radio 1 (/dev/pts/7),2AAA0105," + setup + ",sha-of-6019-bytes,write,done,yes,14.1,,,"})
        EXPECT_NE(record.find(row), std::string::npos) << row;
}

// Esc closes the window only as Close does while radios are under way, and otherwise only once the record holds the rows.
TEST_F(FleetWindowTest, CancelEscapeAndClosingDuringARunStopEveryCopyAndLoseNoRow) {
    const std::string interrupted = Result(Outcome::Interrupted, "interrupted while writing, after 2944 of 6016 bytes; the radio was released");
    fleet.workers.scripts = {{ProgressLine("writing", 10), ProgressLine("writing", 20), Result(Outcome::Done), "exit 0"},
                             {ProgressLine("writing", 10), ProgressLine("writing", 20), interrupted, "exit 130"}};
    start({0, 1});
    click("Cancel");
    EXPECT_EQ(fleet.workers.interrupts, 1);
    fleet.finish();
    const QString cut = "interrupted while writing, after 2944 of 6016 bytes; the radio was released 14.1 s";
    EXPECT_EQ(resultOf(1), cut);
    EXPECT_EQ(summary(), "cancelled: 1 of 2 radios written and verified, 1 released unwritten; not done: /dev/ttyUSB1");
    press(Qt::Key_Escape);
    EXPECT_FALSE(fleet.view.isVisible());
    open();
    EXPECT_EQ(resultOf(1), cut);

    fleet.workers.scripts.resize(4, {ProgressLine("writing", 10), interrupted, "exit 130"});
    click("&Next Radios");
    platform.answer(vkt::Answer::No, vkteditor::FleetRun::CloseQuestion);
    press(Qt::Key_Escape);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(fleet.view.isVisible());
    EXPECT_EQ(fleet.workers.interrupts, 1);
    platform.answer(vkt::Answer::Yes, vkteditor::FleetRun::CloseQuestion);
    fleet.view.close();
    EXPECT_EQ(fleet.workers.interrupts, 2);
    EXPECT_TRUE(fleet.view.isVisible());
    fleet.finish();
    EXPECT_FALSE(fleet.view.isVisible());

    // A record that took no row leaves the window the only account of the round.
    fleet.model.txtRecord.setText(folder.string());
    fleet.workers.scripts.resize(6, {Result(Outcome::Done), "exit 0"});
    open();
    click("&Next Radios");
    fleet.finish();
    EXPECT_NE(summary().indexOf("; the record was not written: "), -1) << summary().toStdString();
    press(Qt::Key_Escape);
    ASSERT_TRUE(fleet.view.isVisible());
    click("C&lose");
    EXPECT_FALSE(fleet.view.isVisible());
}

// A window of the main window's, read top to bottom, that keeps its width whatever a radio's result says.
TEST_F(FleetWindowTest, AWindowOfTheMainWindowsReadInOrderAtItsOwnWidth) {
    ASSERT_NE(fleet.view.windowHandle(), nullptr);
    EXPECT_EQ(fleet.view.windowHandle()->transientParent(), view->windowHandle());
    const auto& rows = fleet.view.rows();
    // The window opens on the first cable; Tab runs down the rows to Close.
    EXPECT_EQ(focus(), rows[0].cable);
    QStringList order{rows[0].cable->accessibleName()};
    for (press(Qt::Key_Tab); focus() != rows[0].cable && order.size() < 40; press(Qt::Key_Tab))
        order << (focus()->accessibleName().isEmpty() ? qobject_cast<QAbstractButton*>(focus())->text() : focus()->accessibleName());
    EXPECT_EQ(order.mid(0, 7), (QStringList{"Program the radio on /dev/ttyUSB0", "Result on /dev/ttyUSB0: none yet", "Program the radio on /dev/ttyUSB1",
                                            "Result on /dev/ttyUSB1: none yet", "Program the radio on /dev/ttyS0", "Result on /dev/ttyS0: none yet",
                                            "Find &Cable..."})) << order.join(" | ").toStdString();
    EXPECT_EQ(order.last(), "C&lose") << order.join(" | ").toStdString();
    EXPECT_NE(order.indexOf("Summary: none yet"), -1) << order.join(" | ").toStdString();
    EXPECT_EQ(rows[2].cable->accessibleDescription(), QString("/dev/ttyS0 \u2014 serial port"));

    const int width = fleet.view.width();
    const std::string why(300, 'x');
    fleet.workers.scripts = {{Result(Outcome::Failed, why.c_str(), 2.1), "exit 1"}};
    start({0});
    fleet.finish();
    EXPECT_EQ(fleet.view.width(), width);
    EXPECT_EQ(rows[0].result->toolTip(), QString::fromStdString("FAILED: " + why + " 2.1 s"));
    EXPECT_TRUE(rows[0].result->text().endsWith(QChar(0x2026))) << rows[0].result->text().toStdString();
    EXPECT_TRUE(std::ranges::any_of(fleet.view.findChildren<QLabel*>(), [this](QLabel* l) { return l->accessibleName() == "Summary: " + summary(); }));
}

// Next Radios goes on counting the session's radios; Start begins a new one.
TEST_F(FleetWindowTest, RoundsCountTheSessionAndAReadFillsAFolder) {
    // The setup shown as it was saved: the record names its file.
    const std::string saved = (folder / "fire-dept.vkt").string();
    const VKTCore::Image shown = main->setupShown();
    std::ofstream(saved, std::ios::binary).write(reinterpret_cast<const char*>(shown.data()), shown.size());
    fleet.model.setupName = [saved] { return saved; };
    QTest::mouseClick(fleet.view.findChild<QCheckBox*>("chkChangedOnly"), Qt::LeftButton);
    EXPECT_FALSE(fleet.view.findChild<QCheckBox*>("chkVerify")->isEnabled());
    fleet.workers.scripts.push_back({Result(Outcome::Done, "blocks 36, 43 written and verified", 14.1, "blocks 36, 43 written and verified"), "exit 0"});
    for (int n = 0; n < 2; ++n) fleet.workers.scripts.push_back({Result(Outcome::Done), "exit 0"});
    fleet.workers.scripts.push_back({Result(Outcome::Failed, "block 43: no acknowledgement after 0.5 s", 2.1, "block 36 written"), "exit 1"});
    start({0, 1});
    fleet.finish();
    EXPECT_EQ(fleet.workers.started[0], (std::vector<std::string>{"write", setupCopy(), "--changed-only", "--device", "/dev/ttyUSB0", "--worker"}));
    EXPECT_EQ(resultOf(0), "blocks 36, 43 written and verified 14.1 s");
    EXPECT_NE(Read((folder / "fleet-record.csv").string()).find("," + saved + ",sha-of-6019-bytes,write,done,yes,14.1,,,\"blocks 36, 43 written and verified\",,\n"),
              std::string::npos);
    click("&Next Radios");
    fleet.finish();
    EXPECT_EQ(fleet.workers.started.size(), 4u);
    EXPECT_EQ(fleet.workers.started[3], fleet.workers.started[1]);
    EXPECT_EQ(summary().toStdString().rfind("Round 2: 1 of 2 radios written and verified in ", 0), 0u) << summary().toStdString();
    EXPECT_EQ(fleet.model.lblSession.Caption(), "Radios done this session: 3");
    // A radio that failed half-way is on record with what it had been sent.
    EXPECT_NE(Read((folder / "fleet-record.csv").string()).find(",write,failed,no,2.1,,block 43: no acknowledgement after 0.5 s,block 36 written,,\n"),
              std::string::npos);

    // Radios that held the setup already are not said written.
    const std::string held = Result(Outcome::Done, vktfleet::AlreadyHeld, 9.0, vktfleet::AlreadyHeld);
    fleet.workers.scripts.resize(6, {held, "exit 0"});
    click("&Next Radios");
    fleet.finish();
    EXPECT_EQ(summary(), "Round 3: 2 radios already held the setup: nothing written");
    EXPECT_EQ(resultOf(1), "already holds the setup: nothing written 9.0 s");

    fleet.workers.scripts.push_back({Result(Outcome::Done, "/r/radio-2AAA0105-20261207-101500-ttyUSB0.vkt", 7.6), "exit 0"});
    fleet.workers.scripts.push_back({Result(Outcome::Done, "/r/b.vkt"), "exit 0"});
    auto* read = fleet.view.findChild<QRadioButton*>("optRead");
    QTest::mouseClick(read, Qt::LeftButton, {}, QPoint(8, read->height() / 2));
    EXPECT_FALSE(fleet.view.findChild<QCheckBox*>("chkVerify")->isEnabled());
    EXPECT_EQ(fleet.view.rows()[0].cable->accessibleName(), "Read the radio on /dev/ttyUSB0");
    click("&Start");
    fleet.finish();
    EXPECT_EQ(fleet.workers.started[6], (std::vector<std::string>{"read", "-o", (folder / "radios").string(), "--device", "/dev/ttyUSB0", "--worker"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "radios"));
    EXPECT_EQ(resultOf(0), "read into /r/radio-2AAA0105-20261207-101500-ttyUSB0.vkt 7.6 s");
    EXPECT_EQ(fleet.model.lblSession.Caption(), "Radios done this session: 2");

    vktviews::FindCableDialog find(fleet.machine, [this](const std::string& device) { fleet.model.cableFound(device); }, &fleet.view);
    find.show();
    fleet.machine.plug({"/dev/ttyACM0", "CDC ACM", true});
    QPushButton* add = ShownButton(find, "&Add to the List");
    ASSERT_TRUE(QTest::qWaitFor([add] { return add->isEnabled(); }, FailAfterMs));
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_EQ(fleet.view.rows().size(), 4u);
    EXPECT_EQ(fleet.view.rows()[2].cable->text(), QString("/dev/ttyACM0 — CDC ACM"));
    EXPECT_TRUE(fleet.view.rows()[2].cable->isChecked());
}

// Numbered in row order round after round, refused when too few are left, or kept; the rows and record hold the IDs.
TEST_F(FleetWindowTest, RadiosAreNumberedAcrossRoundsOrKeepTheirOwnIds) {
    auto *number = fleet.view.findChild<QCheckBox*>("chkNumber"), *keep = fleet.view.findChild<QCheckBox*>("chkKeepIds");
    for (QCheckBox* box : {keep, number}) QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(fleet.view.findChild<QLineEdit*>("txtFirstId"), "9999997");
    for (const char* id : {"9999997", "9999998", "9999999"}) fleet.workers.scripts.push_back({vktfleet::ResultLine({Outcome::Done, "2AAA0105 #5E4F", 14.1, 0.05, "", "", id, "2AAA0105 #5E4F"}), "exit 0"});
    start({0, 1});
    fleet.finish();
    EXPECT_EQ(fleet.workers.started[1], (std::vector<std::string>{"write", setupCopy(), "--verify", "--device", "/dev/ttyUSB1", "--worker", "--unit-ids", "9999998"}));
    EXPECT_EQ(resultOf(1), "unit ID 9999998: written and verified 14.1 s");
    click("&Next Radios");
    EXPECT_EQ(summary(), "Nothing was written: 2 radios but only 1 unit ID left.");
    EXPECT_EQ(fleet.workers.started.size(), 2u);
    QTest::mouseClick(fleet.view.rows()[1].cable, Qt::LeftButton);
    click("&Next Radios");
    fleet.finish();
    EXPECT_EQ(fleet.workers.started[2].back(), "9999999");
    EXPECT_TRUE(Read((folder / "fleet-record.csv").string()).ends_with(",,,,9999999,2AAA0105 #5E4F\n"));
    QTest::mouseClick(keep, Qt::LeftButton);
    EXPECT_FALSE(number->isChecked());
    click("&Start");
    fleet.finish();
    EXPECT_EQ(fleet.workers.started[3], (std::vector<std::string>{"write", setupCopy(), "--verify", "--keep-unit-ids", "--device", "/dev/ttyUSB0", "--worker"}));
}

// A window built anew on each opening ends its bindings with its widgets: the models that outlive it keep no
// more watchers than before, and a change after it has gone calls into nothing of it.
TEST_F(FleetWindowTest, AWindowOpenedTwiceLeavesNoBindingInTheModelsThatOutliveIt) {
    vkteditor::frmAbout about(platform);
    const std::pair<std::vector<vkt::Control*>, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {{&about.lblTitle, &about.lblVersion, &about.cmdOK}, [&] { return std::make_unique<vktviews::AboutView>(about, view.get()); }},
        {{&fleet.model.lblSummary, &fleet.model}, [&] { return std::make_unique<vktviews::FleetView>(fleet.model, fleet.machine, view.get()); }},
    };
    for (const auto& [watched, open] : windows) {
        auto watchers = [&watched] { std::vector<size_t> n; for (const vkt::Control* c : watched) n.push_back(c->subscriptions()); return n; };
        const std::vector<size_t> before = watchers();
        for (int opening = 0; opening < 2; ++opening) {
            std::unique_ptr<QWidget> shown = open();
            shown->show();
            for (size_t i = 0; i < before.size(); ++i) EXPECT_GT(watchers()[i], before[i]) << i;
            shown.reset();
            EXPECT_EQ(watchers(), before);
            for (vkt::Control* control : watched) control->setToolTip("changed after the window went");
        }
    }
}
