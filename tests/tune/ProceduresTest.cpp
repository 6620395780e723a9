// SPDX-License-Identifier: GPL-3.0-or-later
#include <map>

#include "core/GLOBALS.h"
#include "tests/tune/TuneFixture.h"

using vkt::Answer;
using VKTTune::frmTune;

TEST_F(TuneTest, TheWarningBoxCanBeSwitchedOff) {
    EXPECT_EQ(tune.chkWarningMsg.Value(), 1);
    EXPECT_EQ(tune.Caption(), "VKT Tune");
    tune.chkWarningMsg.setValue(0);
    tune.chkWarningMsg_Click();
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Settings", "Show Tune Warning Message", ""), "No");
    EXPECT_TRUE(VKTTune::ShowTuneWindow(platform, tune));  // no warning now
    GLOBALS::ShowTuneWarning = true;
    frmTune other(platform, link);
    platform.answer(Answer::Cancel);
    EXPECT_FALSE(VKTTune::ShowTuneWindow(platform, other));
    EXPECT_EQ(platform.boxes.back().title, "Tune Radio:  Warning");
    EXPECT_EQ(platform.boxes.back().icon, vkt::Icon::Information);
    EXPECT_FALSE(other.Visible());
}

// The DAC being set holds for both while the technician listens; Finish keeps what Write wrote
// and offers a value moved since.
TEST_F(TuneTest, PowerStartCopiesTheDacAndFinishRestoresTheOther) {
    tune.cmdSetLowPower_Click();
    EXPECT_EQ(ee(11), 120);  // the high DAC holds the low value meanwhile
    tune.HScroll1.setValue(0);
    tune.HScroll1_Change();
    EXPECT_EQ(tune.lblDAC.Caption(), "0 (HEX: 0)");
    tune.HScroll1.setValue(160);
    platform.answer(Answer::Yes, "Save this value before quitting?");
    tune.cmdPowerSetDone_Click();
    EXPECT_EQ(ee(11), 200);
    EXPECT_EQ(ee(20), 160);
    EXPECT_EQ(platform.boxes[0].title, "Save");

    tune.cmdSetHighPower_Click();
    EXPECT_EQ(ee(20), 200);
    EXPECT_EQ(tune.lblDAC.Caption(), "200 (HEX: C8)");
    EXPECT_EQ(tune.lbl1.Caption(), "HIGH Power Value:");
    expectOtherControlsUsable(false);
    tune.HScroll1.setValue(150);
    tune.HScroll1_Change();
    tune.cmdSavePower_Click();
    EXPECT_EQ(ee(20), 150);
    tune.cmdPowerSetDone_Click();  // nothing moved since: nothing asked
    EXPECT_EQ(ee(20), 160);
    EXPECT_EQ(ee(11), 150);
    expectOtherControlsUsable(true);
    released();
}

TEST_F(TuneTest, PowerStartOnAnUnpluggedRadio) {
    radio().faults.silent = true;
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookPromptText);
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookErrorText);
    tune.cmdSetHighPower_Click();
    EXPECT_TRUE(platform.boxes[1].systemModal);
    expectOtherControlsUsable(true);
    EXPECT_FALSE(tune.HighPowerMode);
    EXPECT_EQ(ee(20), 120);
    released();
}

namespace {

// Plays the technician from inside the step loop: at each prompt, a second later, types the next
// reading and presses the step button, or QUIT once `quitAt` readings have been given.
struct Technician {
    frmTune& tune;
    vktsim::VirtualClock& clock;
    std::vector<std::string> readings;
    size_t quitAt = SIZE_MAX, next = 0;
    void act() {
        if (!tune.StepCommand.empty() || !tune.txtFreq.Enabled()) return;
        if (next == quitAt) {
            quitAt = SIZE_MAX;
            tune.cmdQuitFreq_Click();
        } else if (next < readings.size()) {
            clock.advance(1);
            tune.txtFreq.setText(readings[next++]);
            tune.txtFreq_Change();
            tune.cmdStartFreqAdj_Click();
        }
    }
};

} // namespace

// Whatever channel 1 held, with its flags and both old corrections. Step readings whose pull
// correction does not fit the radio's 16 bits are refused, and nothing is written.
TEST_F(TuneTest, QuitPutsChannelOneBackExactly) {
    const int slot = VKTCore::ChannelSlotAddress(0, 0);
    const VKTCore::ByteBits low = VKTCore::ByteOf(VKTCore::GroupBlock::LowPower[0]);
    const VKTCore::ByteBits narrow = VKTCore::ByteOf(VKTCore::GroupBlock::Narrow[0]);
    const std::vector<std::string> readings = {"173.99512", "173.99760"};
    struct Case { const char* what; std::array<uint8_t, 8> slot; uint8_t lowByte, narrowByte; std::vector<std::string> readings; bool refused = false; };
    const std::array<uint8_t, 8> factory = {0xC3, 0, 0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {"erased", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0xFF, 0xFF, readings},
        {"digital code with bit 11 clear", {0xC3, 0x00, 0x80, 0x13, 0xC3, 0x00, 0xC0, 0x13}, 0x01, 0x00, readings},
        {"tone that is no decimal number", {0xC3, 0x00, 0x0A, 0x00, 0xC3, 0x00, 0x0A, 0xB0}, 0x00, 0x01, readings},
        {"frequencies below the band and none", {0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0xFE, 0xFE, readings},
        {"pull 49152", factory, 0, 0, {"173.99500", "173.99600"}, true},
        {"pull -65536", factory, 0, 0, {"174.00000", "173.99750"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        std::copy(c.slot.begin(), c.slot.end(), radio().eeprom.begin() + slot);
        radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(0) + low.offset)] = c.lowByte;
        radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(0) + narrow.offset)] = c.narrowByte;
        const std::string before = calibration();
        tune.SetUpFreqFrame();
        clock.advance(1);  // well after the last run's end
        Technician t{tune, clock, c.readings, 2};
        platform.onEvents = [&] {
            if (t.next == 2 && tune.cmdStartFreqAdj.Caption() == "Go To Step 3" && tune.StepCommand.empty()) {
                // The pull correction stays zero; channel 1 transmits at step 2's 173.9975 MHz.
                EXPECT_EQ(calibration(), "alignment 80 80 C8 78 00 00 00 00 3C 55 | channel 1 BF 68 00 00 E7 3E 00 00 | Low Power 00 01 | Narrow 00 00");
                EXPECT_EQ(tune.txtFreq.Text(), "");
            }
            t.act();
        };
        if (c.refused) platform.answer(Answer::OK, frmTune::CalculatedValueError);
        tune.cmdStartFreqAdj_Click();
        platform.onEvents = nullptr;
        EXPECT_EQ(calibration(), before);
        released();
    }
}

// The radio stops answering when step 2 or step 3 wants to retune channel 1: the loop ends with
// the test settings in the radio.
TEST_F(TuneTest, AfterAFailedStepQuitStillRestoresAndStartKeepsTheOriginals) {
    // The loop retunes channel 1 once the button shows the next step.
    for (const std::string failingStep : {"Go To Step 2", "Go To Step 3"}) {
        for (const bool startAgain : {false, true}) {
            SCOPED_TRACE(failingStep + (startAgain ? ", then Start" : ", then QUIT"));
            radio().eeprom = vktsim::RadioModel::FactorySetup();
            const std::string factory = calibration();
            tune.SetUpFreqFrame();
            clock.advance(1);  // well after the last run's end
            Technician t{tune, clock, {"173.99512", "173.99760", "173.99600"}};
            platform.onEvents = [&] {
                t.act();
                if (tune.StepCommand == failingStep && tune.cmdStartFreqAdj.Caption() != failingStep) radio().faults.silent = true;
            };
            platform.answer(Answer::Cancel, VKTCom::RadioLink::HookPromptText);
            platform.answer(Answer::Cancel, VKTCom::RadioLink::HookErrorText);
            platform.answer(Answer::OK, frmTune::ContactError);
            tune.cmdStartFreqAdj_Click();
            platform.onEvents = nullptr;
            radio().faults.silent = false;
            EXPECT_NE(calibration(), factory);
            EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Start");
            EXPECT_TRUE(tune.cmdQuitFreq.Enabled());
            EXPECT_FALSE(tune.cmdTuneQuit.Enabled());
            EXPECT_FALSE(tune.TabStrip1.Enabled());
            EXPECT_FALSE(tune.txtFreq.Enabled());
            if (startAgain) {
                Technician again{tune, clock, {}, 0};
                platform.onEvents = [&] { again.act(); };
                clock.advance(1);
                tune.cmdStartFreqAdj_Click();
                platform.onEvents = nullptr;
            } else {
                tune.cmdQuitFreq_Click();
            }
            EXPECT_EQ(calibration(), factory);
            EXPECT_FALSE(tune.cmdQuitFreq.Enabled());
            EXPECT_TRUE(tune.cmdTuneQuit.Enabled());
            EXPECT_TRUE(tune.TabStrip1.Enabled());
            released();
        }
    }
}

TEST_F(TuneTest, FrequencyReadingsOutsideTheirRangeAreRefused) {
    tune.SetUpFreqFrame();
    tune.cmdStartFreqAdj.setCaption("Go To Step 2");
    tune.txtFreq.setText("173.984");
    platform.answer(Answer::OK);
    tune.cmdStartFreqAdj_Click();
    EXPECT_EQ(platform.boxes.back().title, "RANGE ERROR");
    EXPECT_EQ(tune.txtFreq.Text(), "");
    EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Go To Step 2");
    tune.txtFreq.setText("");
    tune.cmdStartFreqAdj_Click();  // empty: only the focus moves
    tune.txtFreq.setText("173.985");
    tune.cmdStartFreqAdj_Click();
    EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Go To Step 3");
    // The same reading again would divide by zero: refused as out of range.
    tune.txtFreq.setText("173.985");
    platform.answer(Answer::OK);
    tune.cmdStartFreqAdj_Click();
    EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Go To Step 3");
    // 174.0075 passes the button's step-2 range but not the Enter key's.
    tune.txtFreq.setText("174.0075");
    platform.answer(Answer::OK);
    tune.txtFreq_KeyPress(13);
    EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Go To Step 3");
    EXPECT_TRUE(port.sent.empty());  // the radio was never touched
}

TEST_F(TuneTest, ModulationIsScaledToTheMeasuredDeviation) {
    radio().eeprom[9] = 128;
    tune.SetUpModFrame();
    EXPECT_EQ(tune.fraDevAdj.Caption(), "TX Modulation Adjustment");
    tune.txtDev.setText("5.0");
    tune.cmdStartDev_Click();
    EXPECT_EQ(ee(9), 0x7A);
    EXPECT_EQ(tune.lblDevInfo.Caption(), "The TX Modulation value was changed from 0x80 to 0x7A.");
    radio().eeprom[9] = 128;
    tune.txtDev.setText("4.75");
    tune.cmdStartDev_Click();
    EXPECT_EQ(tune.lblDevInfo.Caption(), "The TX Modulation value is set to 0x80.");
    for (const char* bad : {"10.01", "0.49", ""}) {
        tune.txtDev.setText(bad);
        platform.answer(Answer::OK, "Input value beyond usable limits, please verify input, and try again.");
        tune.cmdStartDev_Click();
    }
    radio().eeprom[9] = 30;
    tune.txtDev.setText("0.5");
    platform.answer(Answer::OK, "Calculated value beyond usable limits, please verify input, and try again.");
    tune.cmdStartDev_Click();
    EXPECT_EQ(ee(9), 30);
    EXPECT_EQ(platform.boxes.back().icon, vkt::Icon::Critical);
    EXPECT_EQ(platform.boxes.back().title, "VKTCom TUNE ERROR");
    EXPECT_TRUE(tune.TabStrip1.Enabled());
    released();
}

// Settled, or failed with the start gain back (the readings stopped before the radio lets go),
// within the initialisation's bursts and a hundred regulating ones. For the whole run the window
// holds the radio, and says so twice: when it starts and when it is over.
TEST_F(TuneTest, EverySquelchRunEnds) {
    using Radio = vktsim::RadioModel;
    const std::string failed = VKTTune::Lines({"The adjustment has reached it's limit without finding",
                                               "the proper value.  Please verify the setup and make sure",
                                               "the squelch knob is on the detent, then try again."});
    auto error = [](int n) { return "Comm Error " + std::to_string(n) + " in Sub 'DoSquelchAdj', please try again.     "; };
    auto slope = [](double s, int noise) { return [=](Radio& r) { r.squelch = {.slope = s, .noise = noise, .seed = 7}; }; };
    auto as = [](Radio&) {};  // as it comes
    struct Case {
        const char* what;
        int address, start;                  // the gain and what it holds before
        std::function<void(Radio&)> radio;   // how the radio answers
        std::string ending;                  // the last message
        int gain;                            // what the radio holds afterwards
        std::vector<int> written;            // each gain written, where it matters
        int bursts = 0;                      // how many, where it matters
        int slowFromBurst = -1;              // from then on readings come too slowly
    };
    const Case cases[] = {
        {"unset", 67, 255, as, "Narrowband Squelch Gain has been set to: 0x3C.", 60, {}},
        {"slope 2", 67, 60, slope(2, 0), "Narrowband Squelch Gain has been set to: 0x3C.", 60, {}, 7},
        {"slope 1: circles 61, 64, 62, 61 ...", 67, 60, slope(1, 0), failed, 60, {}, 102},
        {"slope 4, noise 2: circles round 58 and 62", 67, 60, slope(4, 2), failed, 60, {}, 102},
        {"slope 0.5, noise 12: hits 244 by chance", 67, 60, slope(0.5, 12), "Narrowband Squelch Gain has been set to: 0x3B.", 59, {}, 10},
        // 60 is below saturation and 40 reaches it; then 250 raises the gain by 3, 240 lowers it
        // by 2, 243 raises it by 3 and 244 ends the run.
        {"regulating", 76, 60, [](Radio& r) {
             r.squelchCurve = [](int gain) {
                 const std::map<int, int> at = {{60, 200}, {40, 250}, {43, 240}, {41, 243}, {44, 244}};
                 return at.contains(gain) ? at.at(gain) : 100;
             };
         }, "Wideband Squelch Gain has been set to: 0x2C.", 44, {40, 43, 41, 44}},
        {"never saturates: gives up at zero", 67, 100, [](Radio& r) { r.faults.squelchBroken = true; },
         "Unable to initialize the Narrowband squelch adjustment.  Please verify      \r\n"
         "that SINAD is at 8dB, the squelch control is on the detent, and try again.      ", 100, {80, 60, 40, 20, 0, 100}},
        {"slow while initialising", 67, 100, as, error(4), 100, {80, 100}, 0, 2},
        {"slow while regulating", 67, 30, as, error(8), 30, {36, 30}, 0, 3},
    };
    constexpr int InitialisingAtMost = 255 / 20 + 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radio().eeprom = Radio::FactorySetup();
        radio().eeprom[static_cast<size_t>(c.address)] = static_cast<uint8_t>(c.start);
        radio().squelch = {};
        radio().squelchCurve = nullptr;
        radio().faults = {};
        c.radio(radio());
        port.sent.clear();
        platform.boxes.clear();
        std::vector<bool> said;
        tune.holdsRadioChanged = [&said](bool holds) { said.push_back(holds); };
        bool stopped = false, heldThroughout = true;
        platform.onEvents = [&] {
            heldThroughout = heldThroughout && tune.HoldsRadio();
            if (bursts() == c.slowFromBurst) radio().squelch.interval = 0.15;
            // A search that never ends is stopped here, to fail below instead of hanging.
            if (bursts() > InitialisingAtMost + 100 && !tune.SquelchAbort) {
                stopped = true;
                tune.cmdAbortSq_Click();
            }
        };
        platform.otherwise = Answer::OK;
        c.address == 67 ? tune.cmdStartNarrSq_Click() : tune.cmdStartWideSq_Click();
        platform.otherwise.reset();
        platform.onEvents = nullptr;
        EXPECT_FALSE(stopped);
        EXPECT_TRUE(heldThroughout);
        EXPECT_EQ(said, (std::vector<bool>{true, false}));
        ASSERT_FALSE(platform.boxes.empty());
        EXPECT_EQ(platform.boxes.back().text, c.ending);
        // Nothing else of the alignment moved.
        const std::string after = calibration();
        radio().eeprom = Radio::FactorySetup();
        radio().eeprom[static_cast<size_t>(c.address)] = static_cast<uint8_t>(c.gain);
        EXPECT_EQ(after, calibration());
        if (!c.written.empty()) { EXPECT_EQ(writtenTo(c.address), c.written); }
        if (c.bursts) { EXPECT_EQ(bursts(), c.bursts); }
        EXPECT_TRUE(tune.cmdStartNarrSq.Visible());
        EXPECT_FALSE(tune.cmdAbortSq.Visible());
        EXPECT_TRUE(tune.TabStrip1.Enabled());
        released();
    }
}
