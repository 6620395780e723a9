// SPDX-License-Identifier: GPL-3.0-or-later
// The TX Power tab of the tuning window: the high and low power DACs.

#include "core/Text.h"
#include "tune/frmTune.h"

namespace VKTTune {

namespace {

const char* const ChooseLines[] = {"To adjust either the High or Low power settings, make",
                                   "sure the unit is connected to a calibrated Power Meter",
                                   "or Service Monitor and turned on.  Then simply click", "the desired adjustment below."};

std::string ChooseText() { return Lines({ChooseLines[0], ChooseLines[1], ChooseLines[2], ChooseLines[3]}); }

std::string AdjustText() {
    return Lines({"   *** NOTE: For accuracy, the power should be checked at the bottom, middle and top end",
                  "                 of the range of frequencies you will be using!  ***", "",
                  "1. Make sure the unit is turned on and programmed to transmit on the frequency you wish to set.",
                  "2. Make sure the unit is connected to your Power Meter or Service Monitor.",
                  "3. Key the transmitter and check the reading on your meter, then unkey it.",
                  "4. To increase or decrease the output power, adjust the scroll bar accordingly,",
                  "     then click the 'Write' button to store the new value.",
                  "5. Repeat steps 3 and 4 until the desired output power level is achieved.",
                  "6. To exit, click the 'Finished/Quit' button."});
}

std::string ValueText(int v) { return std::to_string(v) + " (HEX: " + vkt::Hex(static_cast<unsigned>(v)) + ")"; }

} // namespace

void frmTune::SetUpPowerFrame() {
    showFrame(fraPower);
    lblPowerInstructions.setCaption(ChooseText());
    lblPowerInstructions.setVisible(true);
}

void frmTune::togglePowerMode() {
    const bool toAdjust = cmdSetHighPower.Visible();
    cmdSetHighPower.setVisible(!toAdjust);
    cmdSetLowPower.setVisible(!toAdjust);
    for (vkt::Control* c : std::initializer_list<vkt::Control*>{&HScroll1, &lbl1, &lblDAC, &cmdSavePower, &cmdPowerSetDone})
        c->setVisible(toAdjust);
    setQuitEnabled(!toAdjust);
    chkWarningMsg.setEnabled(!toAdjust);
}

void frmTune::startPower(bool high) {
    (high ? HighPowerMode : LowPowerMode) = true;
    lblPowerInstructions.setCaption(high ? "Please wait, attempting to read current HIGH power value....."
                                         : "Please wait, attempting to read current LOW power value.....");
    lblDAC.setCaption("Reading.....");
    togglePowerMode();
    EnableTabs(false);
    bool started = false;
    if (RadioTalk talk(*this); HookVKT()) {
        // The DAC being adjusted first, the radio released after the other.
        if (high) {
            OrigHighPower = access_.ReadHighPowerDAC(false);
            OrigLowPower = access_.ReadLowPowerDAC(true);
        } else {
            OrigLowPower = access_.ReadLowPowerDAC(false);
            OrigHighPower = access_.ReadHighPowerDAC(true);
        }
        if (OrigHighPower >= 0 && OrigLowPower >= 0) {
            CurrentDAC = high ? OrigHighPower : OrigLowPower;
            // The other DAC holds the same value while this one is adjusted.
            const bool copied = high ? access_.WriteLowPowerDAC(CurrentDAC, true) : access_.WriteHighPowerDAC(CurrentDAC, true);
            if (copied) {
                lblPowerInstructions.setCaption(AdjustText());
                lbl1.setCaption(high ? "HIGH Power Value:" : "LOW Power Value:");
                lblDAC.setCaption(ValueText(CurrentDAC));
                HScroll1.setValue(CurrentDAC);
                started = true;
            } else {
                restorePowerAtStart(high);
            }
        }
    }
    if (started) return;
    HighPowerMode = false;
    LowPowerMode = false;
    link_.UnhookRadio();
    lblPowerInstructions.setCaption(AdjustText());
    togglePowerMode();
    EnableTabs(true);
}

void frmTune::restorePowerAtStart(bool) {
    auto restore = [this] {
        if (access_.WriteHighPowerDAC(OrigHighPower, false)) access_.WriteLowPowerDAC(OrigLowPower, false);
    };
    if (link_.RadioHooked) {
        restore();
    } else if (HookVKT()) {
        restore();
    } else {
        platform_.MsgBox(Lines({"The original data for Channel 1 has been lost.", "You will need to restore the Channel 1 data with",
                                "the editor, then attempt to reset the TX Power Levels."}),
                         vkt::Buttons::OK, vkt::Icon::None, vkt::AppTitle);
    }
}

void frmTune::HScroll1_Change() { lblDAC.setCaption(ValueText(HScroll1.Value())); }

void frmTune::cmdSavePower_Click() {
    RadioTalk talk(*this);
    const int v = HScroll1.Value();
    if (!access_.WriteHighPowerDAC(v, true))
        platform_.MsgBox("There was an error saving the HIGH Power DAC value.", vkt::Buttons::OK, vkt::Icon::None);
    if (!access_.WriteLowPowerDAC(v, true))
        platform_.MsgBox("There was an error saving the LOW Power DAC value.", vkt::Buttons::OK, vkt::Icon::None);
    CurrentDAC = v;
}

// Writes until it works or the technician cancels; true when written.
bool frmTune::retryWrite(bool high, int value, const char* verb, const char* what) {
    for (;;) {
        if (high ? access_.WriteHighPowerDAC(value, true) : access_.WriteLowPowerDAC(value, true)) return true;
        const std::string first = std::string("A Comm Error occured attempting to ") + verb + "      ";
        const std::string second = std::string("the ") + what + " value.  Please make      ";
        const std::string text = Lines({first.c_str(), second.c_str(), "sure the unit is connected to the Comm Port      ",
                                        "turned on, then try again."});
        if (platform_.MsgBox(text, vkt::Buttons::OKCancel, vkt::Icon::Exclamation, CommErrorTitle) == vkt::Answer::Cancel)
            return false;
    }
}

void frmTune::cmdPowerSetDone_Click() {
    const bool high = HighPowerMode;
    if (RadioTalk talk(*this); HighPowerMode || LowPowerMode) {
        HighPowerMode = false;
        LowPowerMode = false;
        const bool restored = high ? retryWrite(false, OrigLowPower, "restore", "original Low Power")
                                   : retryWrite(true, OrigHighPower, "restore", "original High Power");
        if (restored && CurrentDAC != HScroll1.Value() &&
            platform_.MsgBox("Save this value before quitting?", vkt::Buttons::YesNo, vkt::Icon::Question, "Save") == vkt::Answer::Yes)
            retryWrite(high, HScroll1.Value(), "store", high ? "new High Power" : "new Low Power");
    }
    togglePowerMode();
    EnableTabs(true);
    lblPowerInstructions.setCaption(ChooseText());
}

} // namespace VKTTune
