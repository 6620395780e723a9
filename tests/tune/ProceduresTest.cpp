#include "core/GLOBALS.h"
#include "tests/tune/TuneFixture.h"

using vkt::Answer;
using VKTTune::frmTune;

TEST_F(TuneTest, OpensOnTxPowerAndTheWarningBoxCanBeSwitchedOff) {
    EXPECT_TRUE(tune.fraPower.Visible());
    EXPECT_FALSE(tune.fraSquelch.Visible());
    EXPECT_EQ(tune.chkWarningMsg.Value(), 1);
    EXPECT_EQ(tune.Caption(), "VKT Tune");
    tune.chkWarningMsg.setValue(0);
    tune.chkWarningMsg_Click();
    EXPECT_FALSE(GLOBALS::ShowTuneWarning);
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

// The DAC being set holds for both while the technician listens; Finish
// puts the other one back, and keeps what Write wrote.
TEST_F(TuneTest, PowerStartCopiesTheDacAndFinishRestoresTheOther) {
    tune.cmdSetHighPower_Click();
    EXPECT_EQ(ee(11), 200);
    EXPECT_EQ(ee(20), 200);
    EXPECT_EQ(tune.lblDAC.Caption(), "200 (HEX: C8)");
    EXPECT_EQ(tune.lbl1.Caption(), "HIGH Power Value:");
    EXPECT_FALSE(tune.TabStrip1.Enabled());
    EXPECT_FALSE(tune.cmdTuneQuit.Enabled());
    EXPECT_FALSE(tune.cmdSetHighPower.Visible());
    tune.HScroll1.setValue(150);
    tune.HScroll1_Change();
    tune.cmdSavePower_Click();
    EXPECT_EQ(ee(11), 150);
    EXPECT_EQ(ee(20), 150);
    tune.cmdPowerSetDone_Click();  // nothing moved since: nothing asked
    EXPECT_EQ(ee(20), 120);
    EXPECT_EQ(ee(11), 150);
    EXPECT_TRUE(tune.TabStrip1.Enabled());
    EXPECT_TRUE(tune.cmdTuneQuit.Enabled());
    EXPECT_TRUE(tune.cmdSetHighPower.Visible());
    released();
}

TEST_F(TuneTest, PowerUnsavedValueIsOfferedAtFinish) {
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
}

TEST_F(TuneTest, PowerStartOnAnUnpluggedRadio) {
    radio().faults.silent = true;
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookPromptText);
    platform.answer(Answer::Cancel, VKTCom::RadioLink::HookErrorText);
    tune.cmdSetHighPower_Click();
    EXPECT_TRUE(platform.boxes[1].systemModal);
    EXPECT_TRUE(tune.TabStrip1.Enabled());
    EXPECT_TRUE(tune.cmdTuneQuit.Enabled());
    EXPECT_TRUE(tune.cmdSetHighPower.Visible());
    EXPECT_FALSE(tune.HighPowerMode);
    EXPECT_EQ(ee(20), 120);
    released();
}

namespace {

// Plays the technician from inside the step loop: at each prompt types the
// next reading and presses the step button, or QUIT once `quitAt` readings
// have been given.
struct Technician {
    frmTune& tune;
    std::vector<std::string> readings;
    size_t quitAt = SIZE_MAX;
    size_t next = 0;
    void act() {
        if (!tune.StepCommand.empty() || !tune.txtFreq.Enabled()) return;
        if (next == quitAt) {
            quitAt = SIZE_MAX;
            tune.cmdQuitFreq_Click();
        } else if (next < readings.size()) {
            tune.txtFreq.setText(readings[next++]);
            tune.cmdStartFreqAdj_Click();
        }
    }
};

} // namespace

// QUIT puts channel 1 back byte for byte, whatever it held, with its flags
// and both old corrections.
TEST_F(TuneTest, QuitPutsChannelOneBackExactly) {
    const int slot = VKTCore::ChannelSlotAddress(0, 0);
    const VKTCore::ByteBits low = VKTCore::ByteOf(VKTCore::GroupBlock::LowPower[0]);
    const VKTCore::ByteBits narrow = VKTCore::ByteOf(VKTCore::GroupBlock::Narrow[0]);
    struct Case {
        const char* what;
        std::array<uint8_t, 8> slot;
        uint8_t lowByte, narrowByte;
        const char* shown;
    };
    const Case cases[] = {
        {"erased", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0xFF, 0xFF,
         "channel 1 FF FF FF FF FF FF FF FF | Low Power 00 FF | Narrow 00 FF"},
        {"digital code with bit 11 clear", {0xC3, 0x00, 0x80, 0x13, 0xC3, 0x00, 0xC0, 0x13}, 0x01, 0x00,
         "channel 1 C3 00 80 13 C3 00 C0 13 | Low Power 00 01 | Narrow 00 00"},
        {"tone that is no decimal number", {0xC3, 0x00, 0x0A, 0x00, 0xC3, 0x00, 0x0A, 0xB0}, 0x00, 0x01,
         "channel 1 C3 00 0A 00 C3 00 0A B0 | Low Power 00 00 | Narrow 00 01"},
        {"frequencies below the band and none", {0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0xFE, 0xFE,
         "channel 1 00 40 00 00 00 00 00 00 | Low Power 00 FE | Narrow 00 FE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        std::copy(c.slot.begin(), c.slot.end(), radio().eeprom.begin() + slot);
        radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(0) + low.offset)] = c.lowByte;
        radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(0) + narrow.offset)] = c.narrowByte;
        const std::string before = "alignment 80 80 C8 78 01 08 FF E0 3C 55 | " + std::string(c.shown);
        ASSERT_EQ(calibration(), before);
        tune.SetUpFreqFrame();
        Technician t{tune, {"173.99512", "173.99760"}, 2};
        platform.onEvents = [&] { t.act(); };
        tune.cmdStartFreqAdj_Click();
        platform.onEvents = nullptr;
        EXPECT_EQ(calibration(), before);
        EXPECT_TRUE(platform.boxes.empty());
        released();
    }
}

// The radio stops answering when step 2 or step 3 wants to retune channel
// 1. The loop ends, but the radio keeps the test settings: QUIT still puts
// the originals back, and Start keeps them for a later QUIT.
TEST_F(TuneTest, AfterAFailedStepQuitStillRestoresAndStartKeepsTheOriginals) {
    // The loop retunes channel 1 once the button shows the next step.
    for (const std::string failingStep : {"Go To Step 2", "Go To Step 3"}) {
        for (const bool startAgain : {false, true}) {
            SCOPED_TRACE(failingStep + (startAgain ? ", then Start" : ", then QUIT"));
            radio().eeprom = vktsim::RadioModel::FactorySetup();
            tune.SetUpFreqFrame();
            Technician t{tune, {"173.99512", "173.99760", "173.99600"}};
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
            EXPECT_NE(calibration(), FactoryCalibration);
            EXPECT_EQ(tune.cmdStartFreqAdj.Caption(), "Start");
            EXPECT_TRUE(tune.cmdQuitFreq.Enabled());
            EXPECT_FALSE(tune.cmdTuneQuit.Enabled());
            EXPECT_FALSE(tune.TabStrip1.Enabled());
            EXPECT_FALSE(tune.txtFreq.Enabled());
            if (startAgain) {
                Technician again{tune, {}, 0};
                platform.onEvents = [&] { again.act(); };
                tune.cmdStartFreqAdj_Click();
                platform.onEvents = nullptr;
            } else {
                tune.cmdQuitFreq_Click();
            }
            EXPECT_EQ(calibration(), FactoryCalibration);
            EXPECT_FALSE(tune.cmdQuitFreq.Enabled());
            EXPECT_TRUE(tune.cmdTuneQuit.Enabled());
            EXPECT_TRUE(tune.TabStrip1.Enabled());
            released();
        }
    }
}

// Step readings whose pull correction does not fit the radio's 16 bits
// (49152 and -65536) are refused as the modulation refuses its results; the
// technician then quits and gets the radio back.
TEST_F(TuneTest, APullCorrectionBeyondSixteenBitsIsRefused) {
    for (const auto& [unpulled, pulled] : {std::pair{"173.99500", "173.99600"}, {"174.00000", "173.99750"}}) {
        SCOPED_TRACE(std::string(unpulled) + " / " + pulled);
        tune.SetUpFreqFrame();
        Technician t{tune, {unpulled, pulled}, 2};
        platform.onEvents = [&] {
            if (t.next == 2 && tune.cmdStartFreqAdj.Caption() == "Go To Step 3" && tune.StepCommand.empty()) {
                // The pull correction stays zero; channel 1 transmits at step 2's 173.9975 MHz.
                EXPECT_EQ(calibration(), "alignment 80 80 C8 78 00 00 00 00 3C 55 | channel 1 BF 68 00 00 E7 3E 00 00 | Low Power 00 01 | Narrow 00 00");
                EXPECT_EQ(tune.txtFreq.Text(), "");
            }
            t.act();
        };
        platform.answer(Answer::OK, frmTune::CalculatedValueError);
        tune.cmdStartFreqAdj_Click();
        platform.onEvents = nullptr;
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].title, "VKTCom TUNE ERROR");
        EXPECT_EQ(platform.boxes[0].icon, vkt::Icon::Critical);
        platform.boxes.clear();
        EXPECT_EQ(calibration(), FactoryCalibration);
        released();
    }
}

TEST_F(TuneTest, FrequencyReadingsOutsideTheirRangeAreRefused) {
    tune.SetUpFreqFrame();
    tune.cmdStartFreqAdj.setCaption("Go To Step 2");
    const size_t sent = port.sent.size();
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
    EXPECT_EQ(port.sent.size(), sent);  // the radio was never touched
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

TEST_F(TuneTest, SquelchConvergesFromAnUnsetGain) {
    radio().eeprom[67] = 255;
    tune.SetUpSquelchFrame();
    platform.answer(Answer::OK);
    // For the whole run the window holds the radio, and says so twice: when
    // the run starts and when it is over.
    std::vector<bool> said;
    tune.holdsRadioChanged = [&said](bool holds) { said.push_back(holds); };
    bool heldThroughout = true;
    platform.onEvents = [&] { heldThroughout = heldThroughout && tune.HoldsRadio(); };
    tune.cmdStartNarrSq_Click();
    platform.onEvents = nullptr;
    EXPECT_TRUE(heldThroughout);
    EXPECT_EQ(said, (std::vector<bool>{true, false}));
    EXPECT_EQ(platform.boxes.back().title, "SQUELCH GAIN");
    EXPECT_EQ(platform.boxes.back().text, "Narrowband Squelch Gain has been set to: 0x3C.");
    EXPECT_EQ(ee(67), 60);
    EXPECT_TRUE(tune.cmdStartNarrSq.Visible());
    EXPECT_FALSE(tune.cmdAbortSq.Visible());
    released();
}

TEST_F(TuneTest, SquelchRegulationSteps) {
    radio().eeprom[76] = 60;
    // 60 is below saturation and 40 reaches it; then 250 raises the gain by 3,
    // 240 lowers it by 2, 243 raises it by 3 and 244 ends the run.
    radio().squelchCurve = [](int gain) {
        switch (gain) {
        case 60: return 200;
        case 40: return 250;
        case 43: return 240;
        case 41: return 243;
        case 44: return 244;
        default: return 100;
        }
    };
    tune.SetUpSquelchFrame();
    platform.answer(Answer::OK, "Wideband Squelch Gain has been set to: 0x2C.");
    tune.cmdStartWideSq_Click();
    EXPECT_EQ(ee(76), 44);
    EXPECT_EQ(writtenTo(76), (std::vector<int>{40, 43, 41, 44}));
}

TEST_F(TuneTest, SquelchInitialisationGivesUpAtZero) {
    radio().eeprom[67] = 100;
    radio().faults.squelchBroken = true;
    platform.answer(Answer::OK);
    tune.cmdStartNarrSq_Click();
    EXPECT_EQ(platform.boxes.back().title, "INITIALIZE SQUELCH");
    EXPECT_EQ(writtenTo(67), (std::vector<int>{80, 60, 40, 20, 0, 100}));  // the start gain goes back last
    EXPECT_EQ(ee(67), 100);
    EXPECT_TRUE(tune.TabStrip1.Enabled());
}

// The readings come too slowly for a burst: the run stops the stream before
// it lets go, so the radio hears the start gain being written back.
TEST_F(TuneTest, ASquelchBurstTimeOutPutsTheStartGainBack) {
    struct Case {
        int startGain, slowFromBurst;
        const char* error;
        std::vector<int> written;
    };
    const Case cases[] = {
        {100, 2, "Comm Error 4 in Sub 'DoSquelchAdj', please try again.     ", {80, 100}},  // initialising
        {30, 3, "Comm Error 8 in Sub 'DoSquelchAdj', please try again.     ", {36, 30}},   // regulating
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        radio().eeprom[67] = static_cast<uint8_t>(c.startGain);
        radio().squelch.interval = 0.010;
        port.sent.clear();
        platform.onEvents = [&] {
            if (bursts() == c.slowFromBurst) radio().squelch.interval = 0.15;
        };
        platform.answer(Answer::OK, c.error);
        tune.cmdStartNarrSq_Click();
        platform.onEvents = nullptr;
        EXPECT_EQ(writtenTo(67), c.written);
        EXPECT_EQ(calibration(), std::string("alignment 80 80 C8 78 01 08 FF E0 ") + vkt::Hex2(static_cast<unsigned>(c.startGain)) +
                                     " 55 | channel 1 C3 00 00 00 00 00 00 00 | Low Power 00 00 | Narrow 00 00");
        EXPECT_TRUE(tune.cmdStartNarrSq.Visible());
        released();
    }
}

// Radios whose reading moves by other than two a gain step, with and without
// noise: every run ends, settled or failed with the start gain back, within
// its bound of bursts (the initialisation's and a hundred regulating ones).
TEST_F(TuneTest, EverySquelchSearchEnds) {
    const std::string failedText = VKTTune::Lines({"The adjustment has reached it's limit without finding",
                                                   "the proper value.  Please verify the setup and make sure",
                                                   "the squelch knob is on the detent, then try again."});
    struct Case {
        double slope;
        int noise;
        const char* ending;  // the last message
        int gain;            // what the radio holds afterwards
        int bursts;
    };
    const Case cases[] = {
        {2, 0, "Narrowband Squelch Gain has been set to: 0x3C.", 60, 7},
        {1, 0, nullptr, 60, 102},     // circles 61, 64, 62, 61 ...
        {4, 2, nullptr, 60, 102},     // circles round 58 and 62
        {0.5, 12, "Narrowband Squelch Gain has been set to: 0x30.", 48, 5},  // the noise hits 244 by chance
    };
    constexpr int InitialisingAtMost = 255 / 20 + 1;
    for (const Case& c : cases) {
        SCOPED_TRACE("slope " + vkt::NumberText(c.slope) + ", noise " + std::to_string(c.noise));
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        radio().squelch = {c.slope, 0, c.noise, 7};
        port.sent.clear();
        platform.boxes.clear();
        bool stopped = false;
        platform.onEvents = [&] {
            // A search that never ends is stopped here, to fail below instead of hanging.
            if (bursts() > InitialisingAtMost + 100 && !tune.SquelchAbort) {
                stopped = true;
                tune.cmdAbortSq_Click();
            }
        };
        platform.otherwise = Answer::OK;
        tune.cmdStartNarrSq_Click();
        platform.otherwise.reset();
        platform.onEvents = nullptr;
        EXPECT_FALSE(stopped);
        ASSERT_FALSE(platform.boxes.empty());
        EXPECT_EQ(platform.boxes.back().text, c.ending ? c.ending : failedText);
        EXPECT_EQ(ee(67), c.gain);
        EXPECT_EQ(bursts(), c.bursts);
        released();
    }
}
