// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clsGlobals.h"

#include <algorithm>

#include "core/MemoryImage.h"
#include "core/MemoryMap.h"

namespace VKTCore {

namespace P0 = Page0;

namespace {

constexpr int GroupGlobalIndex = 15, ChanGlobalIndex = 16;

} // namespace

int clsGlobals::Get(const Field& f) const { return static_cast<int>(ReadField(image_, 0, f)); }
void clsGlobals::Put(const Field& f, int value) { WriteField(image_, 0, f, static_cast<uint64_t>(value)); }

void clsGlobals::Read_Globals() {
    Read_DTMF_Dev();
    Read_Front_Porch_Time();
    Read_ANI_Rate();
    Read_Pri_Rate();
    Read_Battery_Saver_Inhibit();
    Read_Freq_Display();
    Read_Per_Channel_Power();
    Read_Talk_Back_Scan();
    Read_Switch_Assignments();
    Read_Rotary_Switch();
    Read_Nuisance_Channel_Delete();
}

void clsGlobals::Write_Globals() {
    Write_DTMF_Dev();
    Write_Front_Porch_Time();
    Write_ANI_Rate();
    Write_Pri_Rate();
    Write_Battery_Saver_Inhibit();
    Write_Freq_Display();
    Write_Per_Channel_Power();
    Write_Talk_Back_Scan();
    Write_Switch_Assignments();
    Write_Rotary_Switch();
    Write_Nuisance_Channel_Delete();
}

void clsGlobals::Read_DTMF_Dev() { c_.cboDTMFDev.setListIndex(Get(P0::DTMFDeviation)); }
void clsGlobals::Read_Front_Porch_Time() { c_.cboPorchTime.setListIndex(Get(P0::FrontPorchTime)); }
void clsGlobals::Read_ANI_Rate() { c_.cboANIRate.setListIndex(Get(P0::ANIRate)); }
void clsGlobals::Read_Pri_Rate() { c_.cboPriRate.setListIndex(Get(P0::PriorityRate)); }
void clsGlobals::Read_Battery_Saver_Inhibit() { c_.cboBattSave.setListIndex(Get(P0::GlobalBatterySaver)); }
void clsGlobals::Read_Freq_Display() { c_.cboFreqDisplay.setListIndex(Get(P0::FrequencyDisplay)); }
void clsGlobals::Read_Per_Channel_Power() { c_.cboLoPower.setListIndex(Get(P0::PerChannelPower)); }
void clsGlobals::Read_Talk_Back_Scan() { c_.cboTalkBack.setListIndex(Get(P0::TalkBackScan)); }
void clsGlobals::Read_Nuisance_Channel_Delete() { c_.cboNuisanceChan.setListIndex(Get(P0::NuisanceChannelDelete)); }

// A list with nothing chosen stores the first item's code.
void clsGlobals::Write_DTMF_Dev() { Put(P0::DTMFDeviation, std::max(0, c_.cboDTMFDev.ListIndex())); }
void clsGlobals::Write_Front_Porch_Time() { Put(P0::FrontPorchTime, std::max(0, c_.cboPorchTime.ListIndex())); }
void clsGlobals::Write_ANI_Rate() { Put(P0::ANIRate, std::max(0, c_.cboANIRate.ListIndex())); }
void clsGlobals::Write_Pri_Rate() { Put(P0::PriorityRate, std::max(0, c_.cboPriRate.ListIndex())); }
void clsGlobals::Write_Battery_Saver_Inhibit() { Put(P0::GlobalBatterySaver, std::max(0, c_.cboBattSave.ListIndex())); }
void clsGlobals::Write_Freq_Display() { Put(P0::FrequencyDisplay, std::max(0, c_.cboFreqDisplay.ListIndex())); }
void clsGlobals::Write_Per_Channel_Power() { Put(P0::PerChannelPower, std::max(0, c_.cboLoPower.ListIndex())); }
void clsGlobals::Write_Talk_Back_Scan() { Put(P0::TalkBackScan, std::max(0, c_.cboTalkBack.ListIndex())); }
void clsGlobals::Write_Nuisance_Channel_Delete() { Put(P0::NuisanceChannelDelete, std::max(0, c_.cboNuisanceChan.ListIndex())); }

int clsGlobals::Set_Switch_Assignment(int code) {
    switch (code) {
    case 0: return 2;
    case 4: return 1;
    case 5: return 5;
    case 6: return 4;
    case 7: return 3;
    default: return 0; // 1, 2 and 3 all read as "Always Off"
    }
}

int clsGlobals::Set_Switch_Returns(int listIndex) {
    switch (listIndex) {
    case 0: return 3;
    case 1: return 4;
    case 3: return 7;
    case 4: return 6;
    case 5: return 5;
    default: return 0;
    }
}

void clsGlobals::Read_Switch_Assignments() {
    c_.cboLoPowerSwitch.setListIndex(Set_Switch_Assignment(Get(P0::LowPowerSwitch)));
    c_.cboChanScan.setListIndex(Set_Switch_Assignment(Get(P0::ChannelScanSwitch)));
    c_.cboPriScan.setListIndex(Set_Switch_Assignment(Get(P0::PriorityScanSwitch)));
    c_.cboRTA.setListIndex(Set_Switch_Assignment(Get(P0::TalkAroundSwitch)));
    c_.cboGroupScan.setListIndex(Set_Switch_Assignment(Get(P0::GroupScanSwitch)));
}

void clsGlobals::Write_Switch_Assignments() {
    Put(P0::LowPowerSwitch, Set_Switch_Returns(c_.cboLoPowerSwitch.ListIndex()));
    Put(P0::ChannelScanSwitch, Set_Switch_Returns(c_.cboChanScan.ListIndex()));
    Put(P0::PriorityScanSwitch, Set_Switch_Returns(c_.cboPriScan.ListIndex()));
    Put(P0::TalkAroundSwitch, Set_Switch_Returns(c_.cboRTA.ListIndex()));
    Put(P0::GroupScanSwitch, Set_Switch_Returns(c_.cboGroupScan.ListIndex()));
}

void clsGlobals::Read_Rotary_Switch() {
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        // Only the flag makes a position's group Global; the nibble F names
        // no group, so no entry is chosen (and storing keeps the bits).
        const int group = Get(P0::RotaryGroup[p]);
        c_.cboGroup[i].setListIndex(Get(P0::RotaryGroupGlobal[p]) ? GroupGlobalIndex : group < GroupGlobalIndex ? group : -1);
        c_.cboChan[i].setListIndex(Get(P0::RotaryChannelGlobal[p]) ? ChanGlobalIndex : Get(P0::RotaryChannel[p]));
        c_.chkGrpVar[i].setValue(Get(P0::RotaryGroupKeypad[p]));
        c_.chkChanVar[i].setValue(Get(P0::RotaryChannelKeypad[p]));
    }
    c_.cboGlobalGroup.setListIndex(Get(P0::GlobalGroup));
    c_.cboGlobalChannel.setListIndex(Get(P0::GlobalChannel));
}

void clsGlobals::Write_Rotary_Switch() {
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        const int group = c_.cboGroup[i].ListIndex();
        const int chan = c_.cboChan[i].ListIndex();
        // A Global group or channel is stored as nibble 0 plus its flag bit;
        // a list with no entry chosen leaves its bits as they were.
        if (group >= 0) {
            Put(P0::RotaryGroup[p], group < GroupGlobalIndex ? group : 0);
            Put(P0::RotaryGroupGlobal[p], group == GroupGlobalIndex);
        }
        if (chan >= 0) {
            Put(P0::RotaryChannel[p], chan < ChanGlobalIndex ? chan : 0);
            Put(P0::RotaryChannelGlobal[p], chan == ChanGlobalIndex);
        }
        Put(P0::RotaryGroupKeypad[p], c_.chkGrpVar[i].Value() == 1);
        Put(P0::RotaryChannelKeypad[p], c_.chkChanVar[i].Value() == 1);
    }
    Put(P0::GlobalGroup, std::max(0, c_.cboGlobalGroup.ListIndex()));
    Put(P0::GlobalChannel, std::max(0, c_.cboGlobalChannel.ListIndex()));
}

} // namespace VKTCore
