// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/GlobalsControls.h"

#include <string>
#include <vector>

#include "core/Text.h"

namespace vkt {

namespace {

std::vector<std::string> Numbered(const std::string& prefix, int last, bool withGlobal) {
    std::vector<std::string> items;
    for (int i = 1; i <= last; ++i) items.push_back(prefix + std::to_string(i));
    if (withGlobal) items.push_back("Global");
    return items;
}

std::vector<std::string> DeviationItems() {
    std::vector<std::string> items;
    for (int k = 0; k < 32; ++k) items.push_back(NumberText(k * 93.75));
    return items;
}

const std::vector<std::string> SwitchItems{"Always Off", "Always On", "Keypad",
                                           "Left Toggle", "Middle Toggle", "Right Toggle"};
const std::vector<std::string> DisabledEnabled{"Disabled", "Enabled"};

} // namespace

GlobalsControls::GlobalsControls()
    : cboGlobalGroup(Numbered("", 15, false), "1"),
      cboGlobalChannel(Numbered("", 16, false), "1"),
      cboLoPowerSwitch(SwitchItems, "Right Toggle"),
      cboChanScan(SwitchItems, "Middle Toggle"),
      cboPriScan(SwitchItems, "Right Toggle"),
      cboRTA(SwitchItems),
      cboGroupScan(SwitchItems),
      cboDTMFDev(DeviationItems(), "2906.25"),
      cboPorchTime({"30", "360", "690", "1020"}, "0"),
      cboANIRate({"10", "20"}, "10"),
      cboPriRate({".25", ".5", ".75", "1", "1.25", "1.5", "1.75", "2"}, ".25"),
      cboBattSave({"Enable", "Inhibit"}, "Enable"),
      cboFreqDisplay(DisabledEnabled, "Disabled"),
      cboLoPower(DisabledEnabled, "Disabled"),
      cboTalkBack(DisabledEnabled, "Disabled"),
      cboNuisanceChan(DisabledEnabled, "Disabled") {
    for (int p = 0; p < RotaryPositions; ++p) {
        cboGroup[static_cast<size_t>(p)] = ComboBox(Numbered("Group ", 15, true), "Group 1");
        cboChan[static_cast<size_t>(p)] = ComboBox(Numbered("Channel ", 16, true), "Ch 1");
    }
    cboChan[2].setText("Channel 16");
    for (ComboBox* c : {&cboDTMFDev, &cboPorchTime, &cboANIRate, &cboPriRate, &cboBattSave})
        c->setToolTip("Select value from list.");
}

} // namespace vkt
