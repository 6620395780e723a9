// SPDX-License-Identifier: GPL-3.0-or-later
// The tuning window through its real widgets, offscreen, on an emulated
// radio in virtual time: clicks and keys arrive while a procedure talks to
// the radio, as they do when the window system runs during every wait.
// With VKT_SCREENSHOTS=DIR set, it also saves pictures of the window.

#include <algorithm>
#include <functional>
#include <QGroupBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QLabel>
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
    static void click(QWidget* w) {
        if (w) QTest::mouseClick(w, Qt::LeftButton);
    }

    vktviews::TuneView view{tune, nullptr};
};

} // namespace

// The worked example of the frequency calibration, readings 173.99512,
// 173.99760 and 173.99600, each typed a second after its prompt, with a
// double click on Start and on each step button whose second click comes
// 0, 150, 300 or 450 ms after the first: while the step talks to the radio
// (the button is disabled) or in the moment after, it is never a step of
// its own. A click on a step whose box still holds the prompt's example
// beeps and asks in the status bar for the reading. Until it ends, nothing
// else of the window can be reached.
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
            click(start);
        };
        platform.onEvents = [&] {
            secondClick();
            if (secondAt >= 0 || !tune.StepCommand.empty() || !reading->isEnabled() || !start->isEnabled()) return;
            clock.advance(1);
            if (next == 0 && platform.beeps == 0) {
                // While channel 1 holds the test settings, the other tabs, the
                // window's Quit and its close box are out of reach.
                EXPECT_EQ(calibration(), "alignment 80 80 C8 78 00 00 00 00 3C 55 | channel 1 BF 68 00 00 E7 3C 00 00 | Low Power 00 01 | Narrow 00 00");
                EXPECT_FALSE(tabs()->isEnabled());
                Screenshot(&view, "tune-calibrating");
                for (int i : {0, 2, 3, 4}) QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(i).center());
                click(button("Quit"));
                view.close();
                EXPECT_TRUE(view.isVisible());
                EXPECT_EQ(tune.TabStrip1.SelectedIndex(), 1);
                EXPECT_TRUE(tune.cmdQuitFreq.Enabled());  // QUIT is the way out
                const QString step = start->text();
                click(start);
                EXPECT_EQ(platform.beeps, 1);
                EXPECT_EQ(status->text().toStdString(), VKTTune::frmTune::TypeReadingHint);
                EXPECT_EQ(start->text(), step);
                return;
            }
            if (next == std::size(lastDigits) || platform.beeps > 1) return tune.cmdQuitFreq_Click();
            QTest::keyClicks(reading, lastDigits[next++]);
            click(start);
            secondAt = clock.now() + gap;
            secondClick();
        };
        click(start);
        platform.onEvents = nullptr;
        clock.advance(std::max(0.0, secondAt - clock.now()));
        secondClick();  // the second click on Finish finds Start: no new run
        EXPECT_EQ(next, 3u);
        // Pull correction 264, crystal correction -2943; channel 1 as it was.
        EXPECT_EQ(calibration(), "alignment 80 80 C8 78 F4 81 01 08 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        EXPECT_EQ(tune.CorrectionValue, -2943);
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

// While one of the other procedures talks to the radio, a second click on
// anything that would talk to it too finds it disabled.
TEST_F(TuneViewTest, NothingStartsASecondConversationWhileOneRuns) {
    struct Case {
        int tab;
        const char* first;
        const char* second;
        const char* finish;  // the button that ends the procedure, if any
        const char* modulation;
    };
    const Case cases[] = {
        {0, "Set HIGH Power", "Write", "Finished/Quit", "80"},
        {0, "Set LOW Power", "Finished/Quit", "Finished/Quit", "80"},
        {2, "Set &Modulation", "Set &Modulation", nullptr, "7A"},
        {3, "Start", "Start", "QUIT", "80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + ", then " + c.second);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        showTab(c.tab);
        for (auto* deviation : view.findChildren<QLineEdit*>()) {
            if (!deviation->isVisible()) continue;
            deviation->selectAll();
            QTest::keyClicks(deviation, "5.0");
        }
        QPushButton* first = button(c.first);
        bool secondClick = true;
        platform.onEvents = [&] {
            if (!secondClick) return;
            secondClick = false;
            click(button(c.second));
            const int other = (c.tab + 1) % tabs()->count();
            QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(other).center());
        };
        click(first);
        platform.onEvents = nullptr;
        EXPECT_FALSE(secondClick);
        EXPECT_EQ(tune.TabStrip1.SelectedIndex(), c.tab);
        if (c.finish) click(button(c.finish));
        EXPECT_EQ(calibration(), std::string("alignment 80 ") + c.modulation +
                                     " C8 78 01 08 FF E0 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        EXPECT_TRUE(platform.boxes.empty());
        released();
    }
}

// ABORT during a squelch run ends it with the start gain back. Closing the
// window, by its Quit or its close box, aborts the run as ABORT does; the
// window goes once the start gain is back, and opens again on the first
// procedure.
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

// Every step of the front-end up-down reaches the radio, by arrow key, page
// key, wheel or mouse, steps made while one is being written too (the
// window system runs during every wait); the keyboard keeps stepping;
// typing changes nothing.
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
    ASSERT_TRUE(updown->hasFocus());
    auto dac = [this] { return std::pair{int{ee(8)}, tune.lblFEDAC.Caption()}; };
    // One step, and two more while it is written.
    auto threeSteps = [this](const std::function<void()>& step) {
        int more = 2;
        platform.onEvents = [&] {
            if (more > 0 && more--) step();
        };
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
    QTest::keyClicks(QApplication::focusWidget(), "99");
    EXPECT_EQ(updown->value(), 135);
    EXPECT_EQ(dac(), (std::pair{135, std::string("87")}));

    click(button("QUIT"));  // it puts nothing back
    EXPECT_FALSE(updown->isVisible());
    EXPECT_TRUE(button("Quit")->isEnabled());
    EXPECT_TRUE(tabs()->isEnabled());
    EXPECT_EQ(calibration(), "alignment 87 80 C8 78 01 08 FF E0 3C 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
    EXPECT_TRUE(platform.boxes.empty());
    released();
}
