// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tuning window: five alignment procedures that change calibration
// values straight in the radio, each on its own tab, sharing the window's
// state and the alignment accessors.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Platform.h"
#include "tune/TuneAccess.h"

namespace VKTTune {

// Lines joined by CR LF, as the window's texts are.
std::string Lines(std::initializer_list<const char*> lines);

class frmTune : public vkt::Window {
public:
    frmTune(vkt::Platform& platform, VKTCom::RadioLink& link);

    // --- framework ---
    vkt::Label lblNoteHead{"WARNING:"}, lblNote;
    vkt::TabStrip TabStrip1{{"TX Power", "TX Frequency", "TX Modulation", "Receiver Front End", "Squelch Adjustment"}};
    vkt::CheckBox chkWarningMsg{"Display warning message when starting."};
    vkt::Button cmdTuneQuit{"Quit"};
    // The window's status bar: hints that need no box.
    vkt::Label lblStatus;

    // --- TX power ---
    vkt::Frame fraPower{"Transmit Power Adjustments"};
    vkt::Label lblPowerInstructions;
    vkt::Button cmdSetHighPower{"Set HIGH Power"}, cmdSetLowPower{"Set LOW Power"};
    vkt::ScrollBar HScroll1{0, 255};
    vkt::Label lbl1{"Value:"}, lblDAC;
    vkt::Button cmdSavePower{"Write"}, cmdPowerSetDone{"Finished/Quit"};

    // --- TX frequency ---
    vkt::Frame fraFreqAdj;
    vkt::Label lblFreqInstructions;
    vkt::Button cmdStartFreqAdj{"Start"};
    vkt::Frame fraFreqStep1{"Step 1"};
    vkt::TextBox txtFreq{"173.995000"};
    vkt::Label lblFreqInfo;
    vkt::Button cmdQuitFreq{"QUIT"};

    // --- TX modulation ---
    vkt::Frame fraDevAdj{"Deviation Adjust"};
    vkt::Label lblDevInfo;
    vkt::TextBox txtDev{"4.75"};
    vkt::Label lblDevExmpl{"(Example: 4.75)"};
    vkt::Button cmdStartDev{"Set &Modulation"}, cmdQuitDev{"QUIT"};

    // --- receiver front end ---
    vkt::Frame fraRecAdj;
    vkt::Label lblRecAdjInfo;
    vkt::Button cmdStartRecAdj{"Start"};
    vkt::Label lbl3{"Value:"}, lblFEDAC;
    vkt::UpDown udFEAdj{0, 255};

    // --- squelch ---
    vkt::Frame fraSquelch;
    vkt::Label lblSquelchInfo;
    vkt::Button cmdStartNarrSq{"Narrow Band Squelch Adj"}, cmdStartWideSq{"Wide Band Squelch Adj"}, cmdAbortSq{"ABORT"};

    // --- form state ---
    std::string StepCommand;
    VKTCom::ChannelSettings ChannelBackup;
    int CrystalBackup[2] = {0, 0}, PullBackup[2] = {0, 0};
    double UnpulledHz = 0, PulledHz = 0, CrystalHz = 0;
    int32_t CorrectionValue = 0;
    int OrigHighPower = 0, OrigLowPower = 0, CurrentDAC = 0;
    bool HighPowerMode = false, LowPowerMode = false;
    bool SquelchAbort = false;

    // --- framework events ---
    void Form_Load();
    void chkWarningMsg_Click();
    void TabStrip1_Click();
    void cmdTuneQuit_Click();
    void EnableTabs(bool enabled) { TabStrip1.setEnabled(enabled); }
    void PlaceFrame(vkt::Frame& frame);
    bool HookVKT();

    // --- procedures ---
    void SetUpPowerFrame();
    void cmdSetHighPower_Click() { startPower(true); }
    void cmdSetLowPower_Click() { startPower(false); }
    void HScroll1_Change();
    void cmdSavePower_Click();
    void cmdPowerSetDone_Click();

    void SetUpFreqFrame();
    void cmdStartFreqAdj_Click();
    void txtFreq_KeyPress(int key);
    // The technician typed in the reading box.
    void txtFreq_Change();
    void cmdQuitFreq_Click();
    void RunFreqAdjust();

    void SetUpModFrame();
    void cmdStartDev_Click();
    void cmdQuitDev_Click();

    void SetUpRecFrame();
    void cmdStartRecAdj_Click();
    void udFEAdj_Change();

    void SetUpSquelchFrame();
    void cmdStartNarrSq_Click() { DoSquelchAdj(true); }
    void cmdStartWideSq_Click() { DoSquelchAdj(false); }
    void cmdAbortSq_Click() { SquelchAbort = true; }
    void DoSquelchAdj(bool narrow);

    VKTCom::TuneAccess& access() { return access_; }

    // The window holds the radio: talks to it, or has changed it and not put
    // it back (a calibration's test channel, a power or front-end adjustment
    // under way, a squelch run). Nothing else may start a conversation then.
    bool HoldsRadio() const { return holding_ || !cmdTuneQuit.Enabled() || squelchRunning_; }
    // Seconds on the clock the procedures wait on.
    double Now() { return platform_.Timer(); }
    // Told each time HoldsRadio changes.
    std::function<void(bool holds)> holdsRadioChanged;

    static constexpr const char* CommErrorTitle = "COMM ERROR";
    static constexpr const char* ContactError = "Unable to contact radio, please try again";
    static constexpr const char* TypeReadingHint =
        "Type the frequency your counter reads: the box still holds the example.";
    static constexpr const char* CalculatedValueError = "Calculated value beyond usable limits, please verify input, and try again.";

private:
    // While the window talks to the radio nothing in it may start a second
    // conversation, switch the procedure or close the window: these disable
    // every control that could, and enable again those that were enabled.
    void holdControls(const vkt::Control* staysLive = nullptr);
    void releaseControls();
    void setQuitEnabled(bool enabled);
    // Tells holdsRadioChanged when HoldsRadio changed.
    void refreshHold();
    // Holds the controls for as long as it lives.
    class RadioTalk {
    public:
        explicit RadioTalk(frmTune& form, const vkt::Control* staysLive = nullptr) : form_(form) { form_.holdControls(staysLive); }
        ~RadioTalk() { form_.releaseControls(); }
        RadioTalk(const RadioTalk&) = delete;
        RadioTalk& operator=(const RadioTalk&) = delete;
    private:
        frmTune& form_;
    };

    void showFrame(vkt::Frame& frame);
    void togglePowerMode();
    void startPower(bool high);
    void restorePowerAtStart(bool high);
    bool retryWrite(bool high, int value, const char* verb, const char* what);
    bool hookWithRetries();
    void contactError();
    bool freqStepInput(double low, double high, double& hz);
    void freqSteps();
    void freqStepEnded(bool awaitingReading);
    void freqStepStays();
    void rangeError();
    void refuseReading();
    bool readingUntyped() const;
    void refuseUntypedReading();
    void awaitReading();
    void tuneError(const char* text);
    int burst(int abortError, int timeoutError, bool& failed, int& errorNumber);

    // The radio holds the calibration's test settings or corrections, and
    // ChannelBackup, CrystalBackup and PullBackup what it must get back.
    bool restoreDue_ = false;
    bool freqRunning_ = false;
    bool squelchRunning_ = false;
    bool quitAfterRun_ = false;
    bool holding_ = false;
    // The reading box holds the prompt's example, untouched since.
    std::string prefill_;
    bool readingPrefilled_ = false;
    double stepEndedAt_ = -1e9;
    // A front-end write is under way; steps made meanwhile wait for it.
    bool feWriting_ = false;
    bool feStepPending_ = false;
    bool heldReported_ = false;
    std::vector<vkt::Control*> held_;

    vkt::Platform& platform_;
    VKTCom::RadioLink& link_;
    VKTCom::TuneAccess access_;
};

// The Tune command: the warning (when it is wanted), then the window.
// False when the technician cancelled the warning.
bool ShowTuneWindow(vkt::Platform& platform, frmTune& window);

} // namespace VKTTune
