// SPDX-License-Identifier: GPL-3.0-or-later
// The TX Frequency tab: the three-step calibration of the pull and crystal
// corrections, on channel 1 borrowed for the purpose.

#include <algorithm>
#include <utility>

#include "core/MemoryMap.h"
#include "core/Text.h"
#include "tune/frmTune.h"

namespace VKTTune {

namespace {

constexpr double Step1Low = 173.985, Step1High = 174.005;
constexpr double Step2Low = 173.9875, Step2High = 174.0075;
constexpr double NominalHz = 173995000;
// A click on the step button this soon after a step's radio work ended is
// the second half of a double click, not a technician who has read the
// counter and typed the reading.
constexpr double StepClickSettle = 0.5;

// Channel 1 while the calibration borrows it: receive 161.25 MHz, transmit
// 173.995 MHz, no channel guard, wide band, low power.
VKTCom::ChannelSettings TestSettings() {
    VKTCom::ChannelSettings s{{}, "-", "L"};
    for (const auto& [field, mhz] : {std::pair{VKTCore::ChannelSlot::RxFreq, 161.25}, {VKTCore::ChannelSlot::TxFreq, 173.995}}) {
        const auto steps = *VKTCom::FreqToStepBytes(mhz);
        std::copy(steps.begin(), steps.end(), s.Slot.begin() + field.offset);
    }
    return s;
}

std::string BusyText() { return "Please wait.....  Talking to the radio."; }
std::string RetryHint() { return "Set the unit to Channel 1 and click 'Start' above."; }

// The low 16 bits of a rounded correction, high byte first.
void CorrectionBytes(double correction, int& hi, int& lo) {
    const auto v = static_cast<int32_t>(vkt::RoundHalfEven(correction));
    hi = (v >> 8) & 0xFF;
    lo = v & 0xFF;
}

} // namespace

void frmTune::SetUpFreqFrame() {
    PlaceFrame(fraFreqAdj);
    txtFreq.setEnabled(false);
    cmdQuitFreq.setEnabled(false);
    fraFreqAdj.setVisible(true);
    lblFreqInstructions.setCaption(Lines({"Frequency adjustment is a 3 step process.  Once initiated, please",
                                          "do NOT disconnect the unit without clicking the 'QUIT' key and",
                                          "allowing your original radio frequencies and settings to be restored.",
                                          "To begin make sure your radio is on and set to Group 1, Channel 1, then",
                                          "click 'Start' below."}));
    lblFreqInfo.setCaption(Lines({"Set the unit to Group 1, Channel 1, connect to your Frequency",
                                  "Counter or Service Monitor, and click 'Start' above."}));
}

// The step stays where it is, for the reading to be typed again.
void frmTune::refuseReading() {
    txtFreq.setText("");
    txtFreq.setFocus();
    StepCommand.clear();
}

void frmTune::rangeError() {
    platform_.MsgBox(Lines({"The value you entered is beyond the usable range", "of the adjusment.  Please make sure the radio is",
                            "on Group 1, Channel 1, and try again."}),
                     vkt::Buttons::OK, vkt::Icon::Exclamation, "RANGE ERROR");
}

// The reading for a step; false (and the step stays) when it is missing or
// outside the step's range.
bool frmTune::freqStepInput(double low, double high, double& hz) {
    if (txtFreq.Text().empty()) {
        txtFreq.setFocus();
        StepCommand.clear();
        return false;
    }
    const double mhz = vkt::Val(vkt::FixedText(vkt::Val(txtFreq.Text()), 5));
    if (mhz < low || mhz > high) {
        rangeError();
        refuseReading();
        return false;
    }
    hz = mhz * 1000000;
    return true;
}

void frmTune::txtFreq_Change() {
    readingPrefilled_ = false;
    lblStatus.setCaption("");
}

bool frmTune::readingUntyped() const { return readingPrefilled_ && txtFreq.Text() == prefill_; }

// The box still holds the prompt's example, not a reading: taking it would
// compute a correction from a frequency nobody measured.
void frmTune::refuseUntypedReading() {
    platform_.Beep();
    lblStatus.setCaption(TypeReadingHint);
    awaitReading();
    StepCommand.clear();
}

// The example's last digits selected, for the reading's to be typed over them.
void frmTune::awaitReading() {
    txtFreq.select(6, static_cast<int>(txtFreq.Text().size()) - 6);
    txtFreq.setFocus();
}

void frmTune::cmdStartFreqAdj_Click() {
    if (platform_.Timer() - stepEndedAt_ < StepClickSettle) {
        // The click took the focus: give it back to the reading.
        if (readingUntyped()) awaitReading();
        return;
    }
    StepCommand = cmdStartFreqAdj.Caption();
    if (StepCommand != "Start" && readingUntyped()) return refuseUntypedReading();
    // Each step accepted holds the window until the loop has done the step's
    // radio work: a second click meanwhile would take the untouched text
    // for the next reading and skip a step.
    if (StepCommand == "Start") {
        holdControls();
        fraFreqStep1.setCaption("Step 1 - Unpulled Frequency Calibration");
        cmdStartFreqAdj.setCaption("Go To Step 2");
        RunFreqAdjust();
    } else if (StepCommand == "Go To Step 2") {
        if (!freqStepInput(Step1Low, Step1High, UnpulledHz)) return;
        holdControls();
        fraFreqStep1.setCaption("Step 2 - Pulled Frequency Calibration");
        cmdStartFreqAdj.setCaption("Go To Step 3");
    } else if (StepCommand == "Go To Step 3") {
        double pulled = 0;
        if (!freqStepInput(Step2Low, Step2High, pulled)) return;
        // The same reading twice leaves no step to measure the pull by.
        if (pulled == UnpulledHz) {
            rangeError();
            refuseReading();
            return;
        }
        const double pull = vkt::RoundHalfEven((2500 / (pulled - UnpulledHz) - 1) * 32768);
        // The radio holds 16 bits: a larger correction would wrap round into
        // a wrong one.
        if (pull < INT16_MIN || pull > INT16_MAX) {
            tuneError(CalculatedValueError);
            refuseReading();
            return;
        }
        holdControls();
        PulledHz = pulled;
        CorrectionValue = static_cast<int32_t>(pull);
        lblFreqInfo.setCaption(BusyText());
        int hi = 0, lo = 0;
        CorrectionBytes(pull, hi, lo);
        if (!link_.HookRadio() || !access_.WritePullCorrection(hi, lo)) {
            link_.UnhookRadio();
            return freqStepStays();
        }
        link_.UnhookRadio();
        fraFreqStep1.setCaption("Step 3 - Crystal Frequency Calibration");
        cmdStartFreqAdj.setCaption("Finish");
    } else if (StepCommand == "Finish") {
        if (!freqStepInput(Step1Low, Step1High, CrystalHz)) return;
        holdControls();
        const double crystal = (NominalHz - CrystalHz) / NominalHz * 1000000 * 512;
        CorrectionValue = static_cast<int32_t>(vkt::RoundHalfEven(crystal));
        lblFreqInfo.setCaption(BusyText());
        int hi = 0, lo = 0;
        CorrectionBytes(crystal, hi, lo);
        if (hookWithRetries() && access_.WriteCrystalCorrection(hi, lo) && access_.WriteChannelData(0, 0, ChannelBackup, false)) {
            // Channel 1 is back and the new corrections are the radio's own.
            restoreDue_ = false;
            link_.UnhookRadio();
            fraFreqStep1.setCaption("Step 1");
            cmdStartFreqAdj.setCaption("Start");
        } else {
            freqStepStays();
        }
    }
}

// A step whose own radio work failed stays, for the button to be pressed again.
void frmTune::freqStepStays() {
    freqStepEnded(true);
    contactError();
    lblFreqInfo.setCaption(RetryHint());
    StepCommand.clear();
}

void frmTune::txtFreq_KeyPress(int key) {
    if (key != 13) return;
    if (txtFreq.Text().empty()) {
        txtFreq.setFocus();
        return;
    }
    if (readingUntyped()) return refuseUntypedReading();
    const double mhz = vkt::Val(txtFreq.Text());
    if (mhz < Step1Low || mhz > Step1High) {
        rangeError();
        txtFreq.setText("");
        txtFreq.setFocus();
        return;
    }
    txtFreq.setText(vkt::FixedText(mhz, 5));
    cmdStartFreqAdj_Click();
}

void frmTune::cmdQuitFreq_Click() {
    StepCommand = "Quit Freq Adj";
    holdControls();
    // After a failed step the loop has ended, but the radio may still owe
    // its originals: QUIT then puts them back on its own.
    if (!freqRunning_) RunFreqAdjust();
}

void frmTune::RunFreqAdjust() {
    freqRunning_ = true;
    freqSteps();
    freqRunning_ = false;
}

// The calibration's controls once a step's radio work is over: QUIT while
// the radio holds the test settings; the other procedures and the window's
// Quit only when it does not, for nothing else puts the originals back.
void frmTune::freqStepEnded(bool awaitingReading) {
    stepEndedAt_ = platform_.Timer();
    readingPrefilled_ = false;
    releaseControls();
    cmdStartFreqAdj.setEnabled(true);
    txtFreq.setEnabled(awaitingReading);
    cmdQuitFreq.setEnabled(restoreDue_);
    setQuitEnabled(!restoreDue_);
    EnableTabs(!restoreDue_);
}

void frmTune::freqSteps() {
    auto prompt = [this](const std::string& text, const char* freq) {
        freqStepEnded(true);
        lblFreqInfo.setCaption(text);
        txtFreq.setText(freq);
        prefill_ = txtFreq.Text();
        readingPrefilled_ = true;
        awaitReading();
    };
    auto failed = [this](bool message) {
        if (message) contactError();
        lblFreqInfo.setCaption(RetryHint());
        cmdStartFreqAdj.setCaption("Start");
        freqStepEnded(false);
    };
    for (;;) {
        platform_.DoEvents();
        const std::string command = StepCommand;
        if (command == "Start") {
            lblFreqInfo.setCaption(BusyText());
            if (!HookVKT()) return failed(false);
            // Originals that were never put back are the radio's own; what it
            // holds now is a calibration's leftovers, not worth keeping.
            if (!restoreDue_ && !access_.ReadChannelData(0, 0, ChannelBackup, false)) {
                platform_.MsgBox("Unable to read Chan 1 data from radio, please try again", vkt::Buttons::OK,
                                 vkt::Icon::Exclamation, CommErrorTitle);
                return failed(false);
            }
            const bool backedUp = restoreDue_ || (access_.ReadCrystalCorrection(CrystalBackup[0], CrystalBackup[1]) &&
                                                  access_.ReadPullCorrection(PullBackup[0], PullBackup[1]));
            restoreDue_ = backedUp;
            const bool changed = backedUp && access_.WriteChannelData(0, 0, TestSettings(), false) &&
                                 access_.WriteCrystalCorrection(0, 0) && access_.WritePullCorrection(0, 0);
            if (!changed) return failed(true);
            link_.UnhookRadio();
            prompt(Lines({"Set the unit to Channel 1, key the transmitter and enter the frequency",
                          "in MHz, as read from your Frequency Counter or Service Monitor, to at",
                          "least 5 decimal places.  When you are ready to continue click 'Go To Step 2' above."}),
                   txtFreq.Text().c_str());
        } else if (command == "Go To Step 2" || command == "Go To Step 3") {
            const bool two = command == "Go To Step 2";
            lblFreqInfo.setCaption(BusyText());
            if (!hookWithRetries() || !access_.WriteChannelFreq(0, false, two ? 173.9975 : 173.995)) return failed(true);
            link_.UnhookRadio();
            if (two)
                prompt(Lines({"Please key the transmitter again and enter the frequency",
                              "in MHz, as read from your Frequency Counter or Service Monitor,",
                              "to at least 5 decimal places.  When you are ready to continue", "click 'Go To Step 3' above."}),
                       "173.99750");
            else
                prompt(Lines({"One last time, please key the transmitter again and enter the",
                              "frequency in MHz, as read from your Frequency Counter or Service",
                              "Monitor, to at least 5 decimal places.  When you are ready to", "continue click 'Finish' above."}),
                       "173.99500");
        } else if (command == "Finish") {
            cmdStartFreqAdj.setCaption("Start");
            freqStepEnded(false);
            lblFreqInfo.setCaption(Lines({"Frequency adjust completed.  You may click 'Start' above to repeat the",
                                          "procedure, or click 'Quit' below to close the 'Tune' window."}));
            StepCommand.clear();
            return;
        } else if (command == "Quit Freq Adj") {
            cmdStartFreqAdj.setCaption("Start");
            lblFreqInfo.setCaption(BusyText());
            StepCommand.clear();
            const bool restored = !restoreDue_ || (hookWithRetries() && access_.WriteChannelData(0, 0, ChannelBackup, false) &&
                                                   access_.WriteCrystalCorrection(CrystalBackup[0], CrystalBackup[1]) &&
                                                   access_.WritePullCorrection(PullBackup[0], PullBackup[1]));
            if (!restored) return failed(true);
            restoreDue_ = false;
            link_.UnhookRadio();
            freqStepEnded(false);
            lblFreqInfo.setCaption(RetryHint());
            return;
        }
        StepCommand.clear();
    }
}

} // namespace VKTTune
