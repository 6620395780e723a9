// SPDX-License-Identifier: GPL-3.0-or-later
#include "tune/frmTune.h"

#include "core/GLOBALS.h"

namespace VKTTune {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    bool first = true;
    for (const char* l : lines) {
        if (!first) text += "\r\n";
        text += l;
        first = false;
    }
    return text;
}

frmTune::frmTune(vkt::Platform& platform, VKTCom::RadioLink& link)
    : vkt::Window("VKT Tune"), platform_(platform), link_(link), access_(link) {
    setVisible(false);
    resize(10800, 8400);
}

void frmTune::Form_Load() {
    // A window opened again starts on the first procedure, whichever was
    // shown when it was closed.
    TabStrip1.select(0);
    lblNote.setCaption(Lines({"Some of the adjustments make changes to your radio in order to simplify",
                              "the tuning procedure.  Always be sure to keep the radio connected",
                              "to the Comm Port until you complete or cancel the adjustment."}));
    chkWarningMsg.setValue(GLOBALS::ShowTuneWarning ? 1 : 0);
    for (vkt::Frame* f : {&fraFreqAdj, &fraDevAdj, &fraRecAdj, &fraSquelch}) f->setVisible(false);
    udFEAdj.setVisible(false);
    cmdAbortSq.setVisible(false);
    // The power frame starts in choose mode.
    for (vkt::Control* c : std::initializer_list<vkt::Control*>{&HScroll1, &lbl1, &lblDAC, &cmdSavePower, &cmdPowerSetDone})
        c->setVisible(false);
    cmdSetHighPower.setVisible(true);
    cmdSetLowPower.setVisible(true);
    SetUpPowerFrame();
}

void frmTune::chkWarningMsg_Click() {
    GLOBALS::ShowTuneWarning = chkWarningMsg.Value() == 1;
    platform_.SaveSetting(vkt::SettingsApp, "Settings", "Show Tune Warning Message", GLOBALS::ShowTuneWarning ? "Yes" : "No");
}

void frmTune::cmdTuneQuit_Click() {
    // Closing during a squelch run aborts it as ABORT does; the run closes
    // the window once it has put the start gain back.
    if (squelchRunning_) {
        SquelchAbort = true;
        quitAfterRun_ = true;
        return;
    }
    setVisible(false);
}

void frmTune::TabStrip1_Click() {
    const std::string& key = TabStrip1.SelectedKey();
    for (vkt::Frame* f : {&fraPower, &fraFreqAdj, &fraDevAdj, &fraRecAdj, &fraSquelch}) f->setVisible(false);
    if (key == "TX Power") SetUpPowerFrame();
    else if (key == "TX Frequency") SetUpFreqFrame();
    else if (key == "TX Modulation") SetUpModFrame();
    else if (key == "Receiver Front End") SetUpRecFrame();
    else if (key == "Squelch Adjustment") SetUpSquelchFrame();
}

// The view puts the shown frame inside the tab strip; one frame at a time.
void frmTune::PlaceFrame(vkt::Frame& frame) {
    for (vkt::Frame* f : {&fraPower, &fraFreqAdj, &fraDevAdj, &fraRecAdj, &fraSquelch})
        if (f != &frame) f->setVisible(false);
}

void frmTune::showFrame(vkt::Frame& frame) {
    PlaceFrame(frame);
    frame.setVisible(true);
}

void frmTune::holdControls(const vkt::Control* staysLive) {
    if (holding_) return;
    holding_ = true;
    for (vkt::Control* c : std::initializer_list<vkt::Control*>{
             &TabStrip1, &cmdTuneQuit, &cmdSetHighPower, &cmdSetLowPower, &cmdSavePower, &cmdPowerSetDone,
             &cmdStartFreqAdj, &txtFreq, &cmdQuitFreq, &cmdStartDev, &cmdQuitDev, &cmdStartRecAdj, &udFEAdj,
             &cmdStartNarrSq, &cmdStartWideSq}) {
        if (!c->Enabled() || c == staysLive) continue;
        c->setEnabled(false);
        held_.push_back(c);
    }
    refreshHold();
}

void frmTune::releaseControls() {
    for (vkt::Control* c : held_) c->setEnabled(true);
    held_.clear();
    holding_ = false;
    refreshHold();
}

void frmTune::setQuitEnabled(bool enabled) {
    cmdTuneQuit.setEnabled(enabled);
    refreshHold();
}

void frmTune::refreshHold() {
    if (HoldsRadio() == heldReported_) return;
    heldReported_ = HoldsRadio();
    if (holdsRadioChanged) holdsRadioChanged(heldReported_);
}

bool frmTune::HookVKT() {
    for (;;) {
        platform_.DoEvents();
        if (SquelchAbort) return false;
        if (link_.HookRadio()) return true;
        if (!link_.AskHookRetry()) return false;
    }
}

bool frmTune::hookWithRetries() {
    for (;;) {
        if (link_.HookRadio()) return true;
        if (!link_.AskHookRetry()) return false;
    }
}

void frmTune::contactError() {
    platform_.MsgBox(ContactError, vkt::Buttons::OK, vkt::Icon::Exclamation, CommErrorTitle);
}

void frmTune::tuneError(const char* text) {
    platform_.MsgBox(text, vkt::Buttons::OK, vkt::Icon::Critical, "VKTCom TUNE ERROR");
}

bool ShowTuneWindow(vkt::Platform& platform, frmTune& window) {
    if (GLOBALS::ShowTuneWarning) {
        const std::string warning = Lines({"Radio tuning requires special test procedures",
                                           "and should be performed only by a qualified service",
                                           "technician with the proper equipment.", "",
                                           "-----------See Service Manual-----------", "", "Press OK to continue."});
        if (platform.MsgBox(warning, vkt::Buttons::OKCancel, vkt::Icon::Information, "Tune Radio:  Warning") != vkt::Answer::OK)
            return false;
    }
    if (!window.Visible()) {
        window.Form_Load();
        window.setVisible(true);
    }
    return true;
}

} // namespace VKTTune
