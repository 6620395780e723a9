// SPDX-License-Identifier: GPL-3.0-or-later
// The Squelch Adjustment tab: the preset squelch gain of a band found by
// measuring bursts of squelch readings until their average meets the target.

#include <numeric>

#include "core/MemoryMap.h"
#include "link/Protocol.h"
#include "core/Text.h"
#include "tune/frmTune.h"

namespace VKTTune {

namespace {

constexpr int BurstMinimum = 20;
constexpr double BurstTimeout = 2.0;
constexpr int SettleAfterClearMs = 100, SettleAfterStopMs = 250;
constexpr int InitStep = 20, InitSaturation = 250, Target = 244;
constexpr int RegulationBursts = 100;

std::string CommErrorText(int n) { return "Comm Error " + std::to_string(n) + " in Sub 'DoSquelchAdj', please try again.     "; }

} // namespace

void frmTune::SetUpSquelchFrame() {
    PlaceFrame(fraSquelch);
    fraSquelch.setCaption("");
    lblSquelchInfo.setCaption(Lines(
        {"This is an automated adjusment for radios that do NOT have an R28 Squelch Adjustment pot on the RX/TX board.  "
         "If your unit has this manual adjustment, please refer to the written procedure in the Service Manual",
         "", "Please configure your radio and test equipment as follows:", "",
         "1. Set Ch 1 to a mid band frequency with no Channel Guard.",
         "2. Connect an RF Signal Generator tuned to the same frequency, at 1mVrms.",
         "3. Use 3KHz Deviation for Wide band, 1.5 KHz for Narrow band.",
         "4. Adjust the radio for rated audio output, then reduce the RF level until 8dB SINAD is found.  (The use of averaging is highly recommended)",
         "5. Place the Squelch control on the detent (Preset Squelch Mode).",
         "6. With the radio connected to the Comm Port, click the Squelch Adj below for the desired band."}));
    fraSquelch.setVisible(true);
}

// One burst of readings and their average; on failure errorNumber says
// which message (0: none).
int frmTune::burst(int abortError, int timeoutError, bool& failed, int& errorNumber) {
    access_.SendTuneCommand(VKTCom::Protocol::SquelchReadings);
    const auto waited = link_.awaitBytes(BurstMinimum, link_.deadline(BurstTimeout), "squelch readings: fewer than 20",
                                         [this] { return SquelchAbort; });
    // Stop the readings however the wait ended, or the radio would not hear
    // the next gain, nor the start gain being written back after a failure.
    access_.SendTuneCommand(VKTCom::Protocol::StopReadings);
    platform_.Sleep(SettleAfterStopMs);
    if (waited != VKTCom::RadioLink::WaitResult::Arrived) {
        link_.Comm().discardInput();
        failed = true;
        errorNumber = waited == VKTCom::RadioLink::WaitResult::Cancelled ? abortError : timeoutError;
        return 0;
    }
    const std::vector<uint8_t> readings = link_.Comm().readAll();
    const long sum = std::accumulate(readings.begin(), readings.end(), 0L);
    return static_cast<int>(sum / static_cast<long>(readings.size()));
}

void frmTune::DoSquelchAdj(bool narrow) {
    const int address = (narrow ? VKTCore::Page0::NarrowSquelchGain : VKTCore::Page0::WideSquelchGain).offset;
    const int bandDefault = narrow ? 60 : 85;
    const std::string word = narrow ? "Narrowband" : "Wideband";
    SquelchAbort = false;
    squelchRunning_ = true;
    refreshHold();
    cmdStartNarrSq.setVisible(false);
    cmdStartWideSq.setVisible(false);
    cmdAbortSq.setVisible(true);
    EnableTabs(false);

    int gain = 0, startGain = 0;
    bool startRecorded = false, failed = false;
    int errorNumber = 0;
    auto fail = [&](int n) {
        failed = true;
        errorNumber = n;
    };
    auto write = [&](int value) { return link_.WriteEEByte(0, address, 255, value); };

    if (!link_.HookRadio() || !access_.ReadTuneByte(address, gain)) {
        contactError();
        failed = true;
    }
    if (!failed) {
        if (gain < 21 || gain == 255) {
            gain = bandDefault;
            if (!write(gain)) fail(1);
        }
    }
    if (!failed) {
        startGain = gain;
        startRecorded = true;
        link_.Comm().discardInput();
        platform_.Sleep(SettleAfterClearMs);
        for (;;) {
            platform_.DoEvents();
            if (SquelchAbort) { fail(2); break; }
            lblSquelchInfo.setCaption("Please be patient while the Squelch adjustment is initialized.....\r\n(Squelch Gain set to: 0x" +
                                      vkt::Hex(static_cast<unsigned>(gain)) + ")");
            const int average = burst(3, 4, failed, errorNumber);
            if (failed || average >= InitSaturation) break;
            if (gain <= 0 || gain >= 255) {
                platform_.MsgBox("Unable to initialize the " + word + " squelch adjustment.  Please verify      \r\n"
                                 "that SINAD is at 8dB, the squelch control is on the detent, and try again.      ",
                                 vkt::Buttons::OK, vkt::Icon::None, "INITIALIZE SQUELCH");
                failed = true;
                break;
            }
            gain = gain < InitStep ? 0 : gain > 255 - InitStep ? 255 : gain - InitStep;
            if (!write(gain)) { fail(5); break; }
        }
    }
    if (!failed) {
        for (int regulated = 0;; ++regulated) {
            platform_.DoEvents();
            if (SquelchAbort) { failed = true; break; }
            lblSquelchInfo.setCaption("Please be patient while the proper Squelch value is found.....\r\n\r\nSquelch Gain set to: 0x" +
                                      vkt::Hex(static_cast<unsigned>(gain)));
            const int average = burst(7, 8, failed, errorNumber);
            if (failed || average == Target) break;
            int step = static_cast<int>(vkt::RoundHalfEven((Target - average) * 0.5));
            if (step == 0) step = -3;
            const int next = gain - step;
            // A radio whose reading never lands on the target exactly (it
            // moves by more or less than two a step, or is noisy) would keep
            // the search circling for ever.
            if (next < 0 || next > 255 || regulated + 1 >= RegulationBursts) {
                platform_.MsgBox(Lines({"The adjustment has reached it's limit without finding",
                                        "the proper value.  Please verify the setup and make sure",
                                        "the squelch knob is on the detent, then try again."}),
                                 vkt::Buttons::OK, vkt::Icon::Exclamation, "ADJUSTMENT ERROR");
                failed = true;
                break;
            }
            gain = next;
            if (!write(gain)) {
                contactError();
                failed = true;
                break;
            }
        }
    }

    if (failed) {
        if (errorNumber > 0)
            platform_.MsgBox(CommErrorText(errorNumber), vkt::Buttons::OK, vkt::Icon::Exclamation, CommErrorTitle);
        // An aborted or failed run leaves the radio as it was at the start.
        if (startRecorded && link_.RadioHooked) write(startGain);
        link_.UnhookRadio();
        SquelchAbort = false;
    } else {
        link_.UnhookRadio();
        platform_.MsgBox(word + " Squelch Gain has been set to: 0x" + vkt::Hex(static_cast<unsigned>(gain)) + ".",
                         vkt::Buttons::OK, vkt::Icon::Exclamation, "SQUELCH GAIN");
    }
    EnableTabs(true);
    cmdStartNarrSq.setVisible(true);
    cmdStartWideSq.setVisible(true);
    cmdAbortSq.setVisible(false);
    SetUpSquelchFrame();
    squelchRunning_ = false;
    refreshHold();
    // The window was closed during the run: it goes now that the radio is
    // as it was and released.
    if (quitAfterRun_) {
        quitAfterRun_ = false;
        setVisible(false);
    }
}

} // namespace VKTTune
