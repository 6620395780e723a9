// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the global parameters window that the unit-wide codec reads
// and writes, with their fixed lists.

#include <array>

#include "platform/Controls.h"

namespace vkt {

inline constexpr int RotaryPositions = 16;

struct GlobalsControls {
    GlobalsControls();

    // Rotary switch: element p is position p + 1.
    std::array<ComboBox, 16> cboGroup;
    std::array<CheckBox, 16> chkGrpVar;
    std::array<ComboBox, 16> cboChan;
    std::array<CheckBox, 16> chkChanVar;
    ComboBox cboGlobalGroup;
    ComboBox cboGlobalChannel;

    // Toggle switches.
    ComboBox cboLoPowerSwitch;
    ComboBox cboChanScan;
    ComboBox cboPriScan;
    ComboBox cboRTA;
    ComboBox cboGroupScan;

    // Global variables.
    ComboBox cboDTMFDev;
    ComboBox cboPorchTime;
    ComboBox cboANIRate;
    ComboBox cboPriRate;
    ComboBox cboBattSave;
    ComboBox cboFreqDisplay;
    ComboBox cboLoPower;
    ComboBox cboTalkBack;
    ComboBox cboNuisanceChan;
};

} // namespace vkt
