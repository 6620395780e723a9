// SPDX-License-Identifier: GPL-3.0-or-later
// The tuning window through its real widgets: clicks and keys arrive while a
// procedure talks to the radio, as they do when the window system runs during every wait.

#include <algorithm>
#include <functional>
#include <QCheckBox>
#include <QKeyEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QLabel>
#include <QScrollBar>
#include <QStyleHints>
#include <QTabBar>
#include <QWheelEvent>

#include "core/GLOBALS.h"
#include "views/TuneView.h"
#include "tests/tune/TuneFixture.h"
#include "tests/views/ViewFixture.h"

namespace {

using vkt::Answer;

class TuneViewTest : public TuneTest {
protected:
    TuneViewTest() {
        tune.setVisible(true);
        QApplication::processEvents();
    }

    QPushButton* button(const QString& text) { return ShownButton(view, text); }
    QTabBar* tabs() { return view.findChild<QTabBar*>(); }
    void showTab(int i) {
        QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(i).center());
        ASSERT_EQ(tune.TabStrip1.SelectedIndex(), i);
    }
    // A click a second after the last thing the technician saw.
    void click(QWidget* w) {
        clock.advance(1);
        secondHalf(w);
    }
    // A press and release stamped with a moment of the test's clock, as the
    // window system stamps them; the work may deliver them later.
    static void clickStamped(QWidget* w, double at) {
        if (!w) return;
        const QPointF p = QRectF(w->rect()).center();
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
            e.setTimestamp(static_cast<quint64>(at * 1000));
            QApplication::sendEvent(w, &e);
        }
    }
    // A double click's second click: at once.
    static void secondHalf(QWidget* w) { if (w) QTest::mouseClick(w, Qt::LeftButton); }

    vktviews::TuneView view{tune, nullptr};
};

} // namespace

// The worked example of the frequency calibration, each reading typed a second after its prompt; a double
// click's second click comes while the step talks to the radio (the button is disabled) or in the moment after.
TEST_F(TuneViewTest, ADoubleClickOnAStepButtonIsOneStep) {
    showTab(1);
    QPushButton* start = button("Start");
    auto* reading = view.findChild<QLineEdit*>();
    auto* status = view.findChild<QStatusBar*>()->findChild<QLabel*>();
    for (const double gap : {0.0, 0.15, 0.3, 0.45}) {
        SCOPED_TRACE(gap);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        platform.beeps = 0;
        clock.advance(1);  // well after the last run's end
        const QString lastDigits[] = {"512", "760", "600"};
        size_t next = 0;
        double secondAt = clock.now() + gap;
        auto secondClick = [&] {
            if (secondAt < 0 || clock.now() < secondAt) return;
            secondAt = -1;
            secondHalf(start);
        };
        platform.onEvents = [&] {
            secondClick();
            if (secondAt >= 0 || !tune.StepCommand.empty() || !reading->isEnabled() || !start->isEnabled()) return;
            clock.advance(1);
            if (next == 0 && platform.beeps == 0) {
                EXPECT_EQ(calibration(), "alignment 80 80 C8 78 00 00 00 00 3C 55 | channel 1 BF 68 00 00 E7 3C 00 00 | Low Power 00 01 | Narrow 00 00");
                EXPECT_FALSE(tabs()->isEnabled());
                Screenshot(&view, "tune-calibrating");
                for (int i : {0, 2, 3, 4}) QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(i).center());
                secondHalf(button("Quit"));
                view.close();
                EXPECT_TRUE(view.isVisible());
                EXPECT_EQ(tune.TabStrip1.SelectedIndex(), 1);
                EXPECT_TRUE(tune.cmdQuitFreq.Enabled());  // QUIT is the way out
                const QString step = start->text();
                secondHalf(start);
                EXPECT_EQ(platform.beeps, 1);
                EXPECT_EQ(status->text().toStdString(), VKTTune::frmTune::TypeReadingHint);
                EXPECT_EQ(start->text(), step);
                return;
            }
            if (next == std::size(lastDigits) || platform.beeps > 1) return tune.cmdQuitFreq_Click();
            QTest::keyClicks(reading, lastDigits[next++]);
            secondHalf(start);
            secondAt = clock.now() + gap;
            secondClick();
        };
        secondHalf(start);
        platform.onEvents = nullptr;
        clock.advance(std::max(0.0, secondAt - clock.now()));
        secondClick();  // the second click on Finish finds Start: no new run
        EXPECT_EQ(next, 3u);
        // Pull correction 264, crystal correction -2943; channel 1 as it was.
        EXPECT_EQ(calibration(), "alignment 80 80 C8 78 F4 81 01 08 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        EXPECT_EQ(start->text(), "Start");
        EXPECT_EQ(tune.fraFreqStep1.Caption(), "Step 1");
        EXPECT_TRUE(button("Quit")->isEnabled());
        EXPECT_TRUE(tabs()->isEnabled());
        EXPECT_TRUE(tune.lblFreqInfo.Caption().starts_with("Frequency adjust completed."));
        EXPECT_EQ(status->text(), "");
        EXPECT_EQ(platform.beeps, 1);
        released();
    }
}

TEST_F(TuneViewTest, NothingStartsASecondConversationWhileOneRuns) {
    struct Case { int tab; const char* first; const char* second; const char* finish; const char* modulation; };  // finish: the button that ends the procedure, if any
    const Case cases[] = {{0, "Set HIGH Power", "Write", "Finished/Quit", "80"}, {0, "Set LOW Power", "Finished/Quit", "Finished/Quit", "80"},
                          {2, "Set &Modulation", "Set &Modulation", nullptr, "7A"}, {3, "Start", "Start", "QUIT", "80"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + ", then " + c.second);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        showTab(c.tab);
        for (auto* deviation : view.findChildren<QLineEdit*>()) {
            if (!deviation->isVisible()) continue;
            deviation->selectAll();
            QTest::keyClicks(deviation, "5.0");
        }
        bool secondClick = true;
        platform.onEvents = [&] {
            if (!secondClick) return;
            secondClick = false;
            secondHalf(button(c.second));
            const int other = (c.tab + 1) % tabs()->count();
            QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(other).center());
        };
        click(button(c.first));
        platform.onEvents = nullptr;
        EXPECT_FALSE(secondClick);
        EXPECT_EQ(tune.TabStrip1.SelectedIndex(), c.tab);
        if (c.finish) click(button(c.finish));
        EXPECT_EQ(calibration(), std::string("alignment 80 ") + c.modulation +
                                     " C8 78 01 08 FF E0 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        released();
    }
}

// A double click at the desktop's interval (Windows' 500 ms) does what one click does, on every button that
// starts radio work: the second click lands on whatever button is under the pointer by then.
TEST_F(TuneViewTest, ADoubleClickIsOneClick) {
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(500);
    GLOBALS::ShowTuneWarning = false;
    platform.otherwise = Answer::OK;
    struct Case { int tab; std::vector<const char*> buttons; };  // buttons: clicked in turn, a second apart
    const Case cases[] = {{0, {"Set HIGH Power", "Write", "Finished/Quit"}}, {0, {"Set LOW Power", "Finished/Quit"}}, {2, {"Set &Modulation", "Set &Modulation"}},
                          {3, {"Start", "QUIT"}}, {4, {"Narrow Band Squelch Adj"}}, {4, {"Wide Band Squelch Adj"}}};
    // Not a double click by the desktop's measure, but within its interval of the work's end.
    constexpr double AfterTheWork = 1e6;
    auto run = [this](const Case& c, double gap) {
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        radio().eeprom[67] = radio().eeprom[76] = 30;
        platform.boxes.clear();
        showTab(c.tab);
        for (const char* name : c.buttons) {
            for (auto* deviation : view.findChildren<QLineEdit*>()) {
                if (!deviation->isVisible() || !deviation->isEnabled()) continue;
                deviation->selectAll();
                QTest::keyClicks(deviation, "4.0");
            }
            QPushButton* first = button(name);
            if (!first) return std::pair{std::string("no ") + name, std::string()};
            const QPoint pointer = first->mapTo(&view, first->rect().center());
            double secondAt = clock.now() + 1 + gap;
            bool second = gap < 0;
            auto secondClick = [&] {
                if (second || clock.now() < secondAt) return;
                second = true;
                QApplication::processEvents();  // the window as laid out by then
                clickStamped(qobject_cast<QPushButton*>(view.childAt(pointer)), secondAt);
            };
            platform.onEvents = secondClick;
            clock.advance(1);
            clickStamped(first, clock.now());
            platform.onEvents = nullptr;
            if (gap == AfterTheWork) secondAt = clock.now() + 0.3;
            clock.advance(std::max(0.0, secondAt - clock.now()));
            secondClick();
        }
        released();
        std::string said;
        for (const auto& box : platform.boxes) said += box.text + "\n";
        return std::pair{calibration(), said};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons.front());
        const auto once = run(c, -1);
        EXPECT_NE(once.first, "alignment 80 80 C8 78 01 08 FF E0 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        for (const double gap : {0.0, 0.15, 0.3, 0.45, AfterTheWork}) {
            SCOPED_TRACE(gap);
            EXPECT_EQ(run(c, gap), once);
        }
    }
    GLOBALS::ShowTuneWarning = true;
}

// Quit and the close box abort the run as ABORT does: the window goes once
// the start gain is back, and opens again on the first procedure.
TEST_F(TuneViewTest, ClosingDuringASquelchRunAbortsItFirst) {
    GLOBALS::ShowTuneWarning = false;
    for (const char* way : {"ABORT", "close box", "Quit"}) {
        SCOPED_TRACE(way);
        const bool closes = way != std::string("ABORT");
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        radio().eeprom[67] = 30;
        port.sent.clear();
        showTab(4);
        bool done = false;
        platform.onEvents = [&] {
            if (done || bursts() < 2) return;
            done = true;
            Screenshot(&view, "tune-squelch-running");
            if (way == std::string("close box")) view.close();
            else click(button(way));
            EXPECT_TRUE(view.isVisible());  // until the run has ended
        };
        platform.answer(Answer::OK, "Comm Error 7 in Sub 'DoSquelchAdj', please try again.     ");
        click(button("Narrow Band Squelch Adj"));
        platform.onEvents = nullptr;
        EXPECT_EQ(view.isVisible(), !closes);
        EXPECT_FALSE(tune.SquelchAbort);
        EXPECT_EQ(writtenTo(67).back(), 30);
        EXPECT_EQ(calibration(), "alignment 80 80 C8 78 01 08 FF E0 1E 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        released();

        if (closes) {
            ASSERT_TRUE(VKTTune::ShowTuneWindow(platform, tune));
            QApplication::processEvents();
            EXPECT_TRUE(view.isVisible());
            EXPECT_EQ(tabs()->currentIndex(), 0);
            EXPECT_TRUE(tune.fraPower.Visible());
            EXPECT_FALSE(tune.fraSquelch.Visible());
            showTab(4);
        }
        EXPECT_TRUE(button("Narrow Band Squelch Adj"));
        EXPECT_FALSE(tune.cmdAbortSq.Visible());
    }
    GLOBALS::ShowTuneWarning = true;
}

// The TX power value by the keyboard alone: Tab reaches it, its arrow and page keys move it as clicks on its
// arrows and groove do, and Write stores where either came to.
TEST_F(TuneViewTest, ThePowerValueByKeyAsByMouse) {
    struct Step { Qt::Key key; QStyle::SubControl part; int by; };
    const Step steps[] = {{Qt::Key_Right, QStyle::SC_ScrollBarAddLine, 1}, {Qt::Key_Right, QStyle::SC_ScrollBarAddLine, 1}, {Qt::Key_PageDown, QStyle::SC_ScrollBarSubPage, -10},
                          {Qt::Key_Left, QStyle::SC_ScrollBarSubLine, -1}, {Qt::Key_Up, QStyle::SC_ScrollBarAddLine, 1}};
    QApplication::setActiveWindow(&view);
    auto press = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    std::vector<std::string> stored;
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "keys" : "mouse");
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        int want = ee(11);
        click(button("Set HIGH Power"));
        QScrollBar* bar = nullptr;
        for (auto* b : view.findChildren<QScrollBar*>()) if (b->accessibleName() == "Transmit Power Value") bar = b;
        ASSERT_TRUE(bar && bar->isVisible());
        if (byKey) {
            button("Write")->setFocus();
            for (int i = 0; i < 20 && QApplication::focusWidget() != bar; ++i) press(Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), bar);
        }
        // The arrows at the ends, the groove just inside the left one.
        auto at = [bar](QStyle::SubControl part) {
            const int arrow = bar->height();
            return QPoint(part == QStyle::SC_ScrollBarAddLine ? bar->width() - arrow / 2 : part == QStyle::SC_ScrollBarSubLine ? arrow / 2 : arrow + 4, arrow / 2);
        };
        for (const Step& s : steps) {
            if (byKey) press(s.key);
            else QTest::mouseClick(bar, Qt::LeftButton, {}, at(s.part));
            want += s.by;
            EXPECT_EQ(tune.lblDAC.Caption(), std::to_string(want) + " (HEX: " + vkt::Hex(static_cast<unsigned>(want)) + ")");
        }
        clock.advance(1);
        if (byKey) press(Qt::Key_Tab), press(Qt::Key_Space);  // on Write
        else QTest::mouseClick(button("Write"), Qt::LeftButton);
        EXPECT_EQ(ee(11), want);
        click(button("Finished/Quit"));
        stored.push_back(calibration());
        released();
    }
    EXPECT_EQ(stored[0], stored[1]);
}

// By arrow key, page key, wheel or mouse, also while a step is being written; typing changes nothing.
TEST_F(TuneViewTest, EveryStepOfTheFrontEndIsWritten) {
    radio().eeprom[8] = 140;
    showTab(3);
    click(button("Start"));
    auto* updown = view.findChild<QSpinBox*>();
    ASSERT_TRUE(updown->isVisible());
    EXPECT_EQ(updown->value(), 140);
    EXPECT_EQ(tune.lblFEDAC.Caption(), "8C");
    EXPECT_FALSE(button("Quit")->isEnabled());
    Screenshot(&view, "tune-frontend-adjusting");
    QApplication::setActiveWindow(&view);
    updown->setFocus();
    auto dac = [this] { return std::pair{int{ee(8)}, tune.lblFEDAC.Caption()}; };
    // One step, and two more while it is written.
    auto threeSteps = [this](const std::function<void()>& step) {
        int more = 2;
        platform.onEvents = [&] { if (more > 0 && more--) step(); };
        step();
        platform.onEvents = nullptr;
    };
    auto up = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); };
    auto wheel = [updown] {
        QWheelEvent notch(QPointF(5, 5), updown->mapToGlobal(QPointF(5, 5)), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(updown, &notch);
    };

    threeSteps(up);
    EXPECT_EQ(dac(), (std::pair{143, std::string("8F")}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(dac(), (std::pair{133, std::string("85")}));
    threeSteps(wheel);
    EXPECT_EQ(dac(), (std::pair{136, std::string("88")}));
    QTest::mouseClick(updown, Qt::LeftButton, {}, QPoint(updown->width() - 4, updown->height() - 4));  // the down arrow
    EXPECT_EQ(dac(), (std::pair{135, std::string("87")}));
    // A held key: the window system's repeats, each one step, most of them and the release while a step is written.
    auto key = [](QEvent::Type type, Qt::Key k, bool repeat) { QKeyEvent e(type, k, Qt::NoModifier, QString(), repeat); QApplication::sendEvent(QApplication::focusWidget(), &e); };
    for (const auto& [k, repeats, shown] : {std::tuple{Qt::Key_Up, 12, 148}, std::tuple{Qt::Key_Down, 20, 128}}) {
        int left = repeats;
        platform.onEvents = [&] { if (left >= 0) { const bool repeat = left-- > 0; key(repeat ? QEvent::KeyPress : QEvent::KeyRelease, k, repeat); } };
        key(QEvent::KeyPress, k, false);
        platform.onEvents = nullptr;
        EXPECT_EQ(left, -1);
        EXPECT_EQ(dac(), (std::pair{shown, vkt::Hex(static_cast<unsigned>(shown))}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);  // and the next press after it
        EXPECT_EQ(dac(), (std::pair{shown + 1, vkt::Hex(static_cast<unsigned>(shown + 1))}));
    }
    QTest::keyClicks(QApplication::focusWidget(), "99");
    EXPECT_EQ(updown->value(), 129);
    EXPECT_EQ(dac(), (std::pair{129, std::string("81")}));

    click(button("QUIT"));  // it puts nothing back
    EXPECT_FALSE(updown->isVisible());
    EXPECT_TRUE(button("Quit")->isEnabled());
    EXPECT_TRUE(tabs()->isEnabled());
    EXPECT_EQ(calibration(), "alignment 81 80 C8 78 01 08 FF E0 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
    released();
}

class TuneWindowTest : public ViewTest {
protected:
    TuneWindowTest() {
        main->showTune = [this] { VKTTune::ShowTuneWindow(platform, tune); };
        tune.holdsRadioChanged = [this](bool holds) { main->tuningHoldsRadio(holds); };
    }
    QPushButton* button(const QString& text) { return ShownButton(tuneView, text); }
    // Tab moves the focus on until it reaches the control, as a keyboard
    // user gets there: within one pass round the window.
    static bool tabTo(const std::function<bool(QWidget*)>& wanted) {
        for (int i = 0; i < 400 && focus(); ++i) {
            if (wanted(focus())) return true;
            press(Qt::Key_Tab);
        }
        return false;
    }
    static bool tabTo(const QWidget* w) { return tabTo([w](QWidget* f) { return f == w; }); }
    // A menu's first item by the keyboard: Alt and the menu's letter, then Return.
    void menuKeys(Qt::Key letter) {
        press(letter, Qt::AltModifier);
        if (QApplication::activePopupWidget()) QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }

    VKTTune::frmTune tune{platform, link};
    vktviews::TuneView tuneView{tune, view.get()};
};

TEST_F(TuneWindowTest, TheEditorStaysWhileAProcedureHoldsTheRadio) {
    platform.answer(Answer::OK);  // the warning
    action("&Tune")->trigger();
    QApplication::processEvents();
    const uint8_t lowPower = port.radio().eeprom[20];
    clock.advance(1);
    QTest::mouseClick(button("Set HIGH Power"), Qt::LeftButton);
    ASSERT_FALSE(tune.cmdTuneQuit.Enabled());
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(tuneView.isVisible());
    EXPECT_NE(main->statusText.Caption().find("tuning"), std::string::npos) << main->statusText.Caption();
    // Nor can the main window start a conversation of its own meanwhile.
    for (const char* item : {"Read Radio", "Write Radio", "Write Current Group to Radio", "Verify Radio", "Use Comm Port 2"})
        EXPECT_FALSE(action(item)->isEnabled()) << item;
    const size_t sent = port.sent.size();
    QTest::keyClick(view.get(), Qt::Key_F2);
    QApplication::processEvents();
    EXPECT_EQ(port.sent.size(), sent);

    clock.advance(1);
    QTest::mouseClick(button("Finished/Quit"), Qt::LeftButton);
    EXPECT_EQ(main->statusText.Caption(), "");  // the hold is over
    EXPECT_EQ(port.radio().eeprom[20], lowPower);
    EXPECT_TRUE(action("Read Radio")->isEnabled());
    platform.answer(Answer::No, "Save before exit?");
    EXPECT_TRUE(view->close());
}

TEST_F(TuneWindowTest, TheMainRoadByKeyboardAlone) {
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(0, 1) + 1)] = 0x08;  // 162.41 in group 1
    command(Qt::Key_F2);
    const vktsim::Eeprom read = port.radio().eeprom;
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) ASSERT_EQ(image(a), radioByte(a)) << a;
    EXPECT_EQ(shown(1, 1), "162.41000");

    ASSERT_TRUE(tabTo(groupBox()));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    ASSERT_TRUE(tabTo(grid()));
    for (int i = 0; i < 8 && grid()->currentIndex().column() != 1; ++i) press(grid()->currentIndex().column() > 1 ? Qt::Key_Left : Qt::Key_Right);
    for (int i = 0; i < 16 && grid()->currentIndex().row() != 2; ++i) press(grid()->currentIndex().row() > 2 ? Qt::Key_Up : Qt::Key_Down);
    type("155.5");
    press(Qt::Key_Return);  // takes the cell and moves down
    EXPECT_EQ(shown(2, 1), "155.50000");
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(3, 1));
    ASSERT_TRUE(tabTo(view->findChild<QComboBox*>("cboTOT")));
    for (int i = 0; i < 4; ++i) press(Qt::Key_Down);  // OFF, 15, 30, 45, 60

    const std::string setup = save("keys.vkt");
    const int slot = VKTCore::ChannelSlotAddress(2, 2);
    EXPECT_EQ(FileBytes(setup, slot, 2), (std::vector<uint8_t>{0xAD, 0x70}));

    menuKeys(Qt::Key_E);  // Edit > Global Parameters
    activate(globalsView.get());
    ASSERT_TRUE(tabTo([](QWidget* w) { return qobject_cast<QCheckBox*>(w) != nullptr; }));
    press(Qt::Key_Space);
    menuKeys(Qt::Key_W);  // Window > Save Settings And Close Window
    EXPECT_FALSE(globalsView->isVisible());
    activate(view.get());

    platform.answer(Answer::OK, "Are you sure you want to write to the radio?");
    platform.answer(Answer::Yes, "Write Global Parameters?");
    command(Qt::Key_F3);
    std::vector<int> changed;
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) if (radioByte(a) != read[static_cast<size_t>(a)]) changed.push_back(a);
    ASSERT_EQ(changed.size(), 4u);
    EXPECT_LT(changed[0], VKTCore::GroupBase(0));  // the unit-wide box
    const int timeOut = VKTCore::GroupBase(2) + 45;
    EXPECT_EQ(std::vector<int>(changed.begin() + 1, changed.end()), (std::vector<int>{timeOut, slot, slot + 1}));
    EXPECT_EQ(radioByte(timeOut), 0x40);
    EXPECT_EQ(main->statusText.Caption().rfind("Wrote the setup to radio 2AAA0105 in ", 0), 0u) << main->statusText.Caption();
    EXPECT_EQ(platform.beeps, 2);  // the ends of the read and of the write

    const vktsim::Eeprom written = port.radio().eeprom;
    platform.answer(Answer::OK);  // the tuning warning
    press(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(tuneView.isVisible());
    activate(&tuneView);
    auto* tabs = tuneView.findChild<QTabBar*>();
    ASSERT_TRUE(tabTo(tabs));
    press(Qt::Key_Right);
    EXPECT_EQ(tune.TabStrip1.SelectedIndex(), 1);
    ASSERT_TRUE(tabTo(button("Quit")));
    press(Qt::Key_Space);
    EXPECT_FALSE(tuneView.isVisible());
    EXPECT_EQ(port.radio().eeprom, written);
    EXPECT_EQ(main->statusText.Caption(), "");
}
