// SPDX-License-Identifier: GPL-3.0-or-later
// The TX Modulation tab: the modulation level scaled to a measured deviation.

#include "core/Text.h"
#include "tune/frmTune.h"

namespace VKTTune {

namespace {

constexpr double TargetKHz = 4.75;

std::string DevInfo(bool afterQuit) {
    return Lines({"To accurately adjust FM Modulation, please configure your radio and test",
                  afterQuit ? "        equipment as follows:" : "      equipment as follows:", "",
                  "1. Connect an Audio Generator to supply a 1kHz tone to the options port.",
                  "2. Verify that the generator is supplying 150mV RMS at the radio's side connector.",
                  "3. Take a moment and measure the deviation across the range of frequencies you",
                  "      have programmed in the radio, noting the highest deviation level.",
                  afterQuit ? "4. Enter the highest deviation level - in kHz - below." : "4. Enter the hightest deviation level - in kHz - below.",
                  "5. With the radio connected to the Comm Port, click 'Set Modulation'."});
}

} // namespace

void frmTune::SetUpModFrame() {
    PlaceFrame(fraDevAdj);
    fraDevAdj.setCaption("TX Modulation Adjustment");
    lblDevInfo.setCaption(DevInfo(false));
    lblDevExmpl.setCaption("(Example: 4.75)");
    txtDev.setText("4.75");
    txtDev.select(2, 2);
    txtDev.setFocus();
    fraDevAdj.setVisible(true);
}

void frmTune::cmdStartDev_Click() {
    // The tabs, like every other way to the radio, stay disabled until the
    // level is written.
    RadioTalk talk(*this);
    if (!link_.HookRadio()) {
        link_.ShowHookError();
        return;
    }
    const int current = access_.ReadModulation();
    if (current < 0) {
        tuneError("Unable to retrieve the current value from radio, please verify connection, and try again.");
    } else {
        const double measured = vkt::Val(txtDev.Text());
        if (measured < 0.5 || measured > 10.0) {
            tuneError("Input value beyond usable limits, please verify input, and try again.");
        } else {
            const double level = vkt::RoundHalfEven(TargetKHz / measured * current);
            if (level < 0 || level >= 256) {
                tuneError(CalculatedValueError);
            } else if (!access_.WriteModulation(static_cast<int>(level))) {
                tuneError("Unable to store the new value to radio, please verify connection, and try again.");
            } else {
                const auto v = static_cast<unsigned>(level);
                lblDevInfo.setCaption(v == static_cast<unsigned>(current)
                                          ? "The TX Modulation value is set to 0x" + vkt::Hex(v) + "."
                                          : "The TX Modulation value was changed from 0x" + vkt::Hex(static_cast<unsigned>(current)) +
                                                " to 0x" + vkt::Hex(v) + ".");
                link_.UnhookRadio();
            }
        }
    }
}

void frmTune::cmdQuitDev_Click() {
    setQuitEnabled(true);
    fraDevAdj.setCaption("TX Modulation Adjustment");
    lblDevInfo.setCaption(DevInfo(true));
    lblDevExmpl.setCaption("(Example: 4.75)");
    txtDev.setText("4.75");
}

} // namespace VKTTune
