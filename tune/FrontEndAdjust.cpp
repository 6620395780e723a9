// SPDX-License-Identifier: GPL-3.0-or-later
// The Receiver Front End tab: the front-end tuning slope DAC, stepped live.

#include "core/Text.h"
#include "tune/frmTune.h"

namespace VKTTune {

namespace {

const char* const RecInfo =
    "This adjustment is meant to set the Receiver Front End Tuning Slope.  Please verify that the receiver has been "
    "properly tuned for maximum sensitivity at the extreme upper end of the band, typically 173.9MHz to 173.95MHz.  "
    "Once completed, set the radio and test equipment to measure SINAD in ANALOG mode at the extreme low end of the "
    "band, typically 148.1MHz to 148.25MHz.  Then click 'Start' below and adjust the value for maximum sensitivity.";

} // namespace

void frmTune::SetUpRecFrame() {
    PlaceFrame(fraRecAdj);
    lblRecAdjInfo.setCaption(RecInfo);
    lbl3.setCaption("");
    lblFEDAC.setCaption("");
    fraRecAdj.setVisible(true);
}

void frmTune::cmdStartRecAdj_Click() {
    if (cmdStartRecAdj.Caption() == "QUIT") {
        lblRecAdjInfo.setCaption(RecInfo);
        cmdStartRecAdj.setCaption("Start");
        setQuitEnabled(true);
        EnableTabs(true);
        udFEAdj.setVisible(false);
        lbl3.setCaption("");
        lblFEDAC.setCaption("");
        return;
    }
    cmdStartRecAdj.setEnabled(false);
    lblRecAdjInfo.setCaption("Please wait - attempting to contact radio.....");
    {
        RadioTalk talk(*this);
        CurrentDAC = access_.ReadFrontEndDAC();
    }
    if (CurrentDAC < 0) {
        cmdStartRecAdj.setEnabled(true);
        lblRecAdjInfo.setCaption(RecInfo);
        return;
    }
    lblRecAdjInfo.setCaption("Using the arrows below, adjust the value for maximum sensitivity.");
    cmdStartRecAdj.setCaption("QUIT");
    cmdStartRecAdj.setEnabled(true);
    setQuitEnabled(false);
    lbl3.setCaption("Value:");
    lblFEDAC.setCaption(vkt::Hex(static_cast<unsigned>(CurrentDAC)));
    udFEAdj.setValue(CurrentDAC);
    udFEAdj.setVisible(true);
    EnableTabs(false);
}

// Each step is written at once, however it was made (arrow, key or wheel),
// so that the value shown is the one the technician measures. Steps made
// while a write is under way (the window system runs during every wait)
// are not lost: the up-down stays live, and once the write is done the
// value they came to is written too, until the radio holds what is shown.
void frmTune::udFEAdj_Change() {
    lblFEDAC.setCaption(vkt::Hex(static_cast<unsigned>(udFEAdj.Value())));
    if (feWriting_) {
        feStepPending_ = true;
        return;
    }
    feWriting_ = true;
    RadioTalk talk(*this, &udFEAdj);
    do {
        feStepPending_ = false;
        if (!access_.WriteFrontEndDAC(udFEAdj.Value())) {
            platform_.MsgBox("There was an error writing the Receiver Front End DAC value.", vkt::Buttons::OK, vkt::Icon::None);
            break;
        }
    } while (feStepPending_);
    feStepPending_ = false;
    feWriting_ = false;
}

} // namespace VKTTune
