// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clsGroup.h"

#include <algorithm>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"

namespace VKTCore {

namespace GB = GroupBlock;

namespace {

constexpr int PriorityOff = 0, PriorityMain = 17;
constexpr int UCGChannel16 = 16;

} // namespace

clsGroup::clsGroup(vkt::GroupControls& controls, Image& image) : c_(controls), image_(image) {
    for (auto& ch : channels_) ch = std::make_unique<clsChannel>(controls, image);
}

int clsGroup::get(int intGroup, const Field& f) const {
    return static_cast<int>(ReadField(image_, GroupBase(intGroup), f));
}

void clsGroup::put(int intGroup, const Field& f, int value) {
    WriteField(image_, GroupBase(intGroup), f, static_cast<uint64_t>(value));
}

void clsGroup::Read_Group(int intGroup) {
    Read_Password(intGroup);
    Read_Group_Label(intGroup);
    Read_TOT_Scan(intGroup);
    Read_ID_Num(intGroup);
    Read_Display_Mode(intGroup);
    Read_BackLight(intGroup);
    Read_Duration(intGroup);
    Read_Pri_1(intGroup);
    Read_Pri_2(intGroup);
    Read_Pri_TX(intGroup);
    Read_Battery_Saver(intGroup);
    Read_Keyboard_Lockouts(intGroup);
    Read_Busy_Channel_Indicate(intGroup);
    Read_ANI_DTMF(intGroup);
    Read_Group_Scan_List(intGroup);
    Read_UCG_Encode(intGroup);
    Read_UCG_Enable(intGroup);
    Read_UCG_Chan(intGroup);
    for (int c = 0; c < ChannelCount; ++c) channel(c).Read_Channel(intGroup, c);
}

bool clsGroup::Write_Group(int intGroup) {
    Write_Password(intGroup);
    Write_Group_Label(intGroup);
    Write_TOT_Scan(intGroup);
    Write_ID_Num(intGroup);
    Write_Display_Mode(intGroup);
    Write_BackLight(intGroup);
    Write_Duration(intGroup);
    Write_Pri_1(intGroup);
    Write_Pri_2(intGroup);
    Write_Pri_TX(intGroup);
    Write_Battery_Saver(intGroup);
    Write_Keyboard_Lockouts(intGroup);
    Write_Busy_Channel_Indicate(intGroup);
    Write_ANI_DTMF(intGroup);
    Write_Group_Scan_List(intGroup);
    Write_UCG_Encode(intGroup);
    Write_UCG_Enable(intGroup);
    Write_UCG_Chan(intGroup);
    bool ok = true;
    for (int c = 0; c < ChannelCount; ++c) ok = channel(c).Write_Channel(intGroup, c) && ok;
    return ok;
}

void clsGroup::Read_Password(int g) { c_.txtPassWord.setText(FieldText(image_, GroupBase(g), GB::Password)); }
void clsGroup::Write_Password(int g) { WriteFieldDigits(image_, GroupBase(g), GB::Password, c_.txtPassWord.Text()); }

void clsGroup::Read_ID_Num(int g) {
    // Eight digits are stored; the first one is never shown.
    c_.txtID.setText(UnitIdText(image_, g));
}
void clsGroup::Write_ID_Num(int g) { WriteFieldDigits(image_, GroupBase(g), GB::IdNumber, c_.txtID.Text()); }

void clsGroup::Read_Group_Label(int g) { c_.txtGrpLab.setText(FieldText(image_, GroupBase(g), GB::Label)); }

void clsGroup::Write_Group_Label(int g) { PutImageLabel(image_, GroupBase(g) + GB::Label.offset, EncodeLabel(c_.txtGrpLab.Text())); }

void clsGroup::Read_TOT_Scan(int g) {
    c_.cboTOT.setListIndex(get(g, GB::TimeOutTimer));
    c_.cboScan.setText(vkt::FixedText(get(g, GB::ScanHoldTime) * GB::ScanHoldTime.scale, 1));
}

void clsGroup::Write_TOT_Scan(int g) {
    const std::string& tot = c_.cboTOT.Text();
    const int t = tot == "OFF" ? 0 : vkt::ToInt(vkt::RoundHalfEven(vkt::Val(tot) / GB::TimeOutTimer.scale));
    const int s = vkt::ToInt(vkt::RoundHalfEven(vkt::Val(c_.cboScan.Text()) / GB::ScanHoldTime.scale));
    // Each is one hexadecimal digit of the byte.
    put(g, GB::TimeOutTimer, std::clamp(t, 0, 15));
    put(g, GB::ScanHoldTime, std::clamp(s, 0, 15));
}

void clsGroup::Read_Display_Mode(int g) { c_.cboDisplay.setListIndex(get(g, GB::DisplayMode)); }
void clsGroup::Read_BackLight(int g) { c_.cboBackLight.setListIndex(get(g, GB::BackLight)); }
void clsGroup::Read_Duration(int g) { c_.cboDuration.setListIndex(get(g, GB::BackLightDuration)); }
void clsGroup::Read_Pri_TX(int g) { c_.chkPriTX.setValue(get(g, GB::TransmitOnPriority1)); }
void clsGroup::Read_Busy_Channel_Indicate(int g) { c_.cboBCI.setListIndex(get(g, GB::BusyChannelIndicator)); }
void clsGroup::Read_ANI_DTMF(int g) { c_.cboANI.setListIndex(get(g, GB::ResidentAniDtmf)); }
void clsGroup::Read_Group_Scan_List(int g) { c_.chkGroupScanList.setValue(get(g, GB::GroupScanList)); }
void clsGroup::Read_UCG_Encode(int g) { c_.chkUCGEncode.setValue(get(g, GB::UCGEncodeOnly)); }

void clsGroup::Read_Keyboard_Lockouts(int g) {
    c_.chkPriKeyLock.setValue(get(g, GB::PriorityKeyLockout));
    c_.chkENTCLRLock.setValue(get(g, GB::EntClrKeyLockout));
}

void clsGroup::Write_Display_Mode(int g) { put(g, GB::DisplayMode, c_.cboDisplay.ListIndex()); }
void clsGroup::Write_BackLight(int g) { put(g, GB::BackLight, c_.cboBackLight.ListIndex()); }
void clsGroup::Write_Duration(int g) { put(g, GB::BackLightDuration, c_.cboDuration.ListIndex()); }
void clsGroup::Write_Pri_TX(int g) { put(g, GB::TransmitOnPriority1, c_.chkPriTX.Value()); }
void clsGroup::Write_Busy_Channel_Indicate(int g) { put(g, GB::BusyChannelIndicator, c_.cboBCI.ListIndex()); }
void clsGroup::Write_ANI_DTMF(int g) { put(g, GB::ResidentAniDtmf, c_.cboANI.ListIndex()); }
void clsGroup::Write_Group_Scan_List(int g) { put(g, GB::GroupScanList, c_.chkGroupScanList.Value()); }
void clsGroup::Write_UCG_Encode(int g) { put(g, GB::UCGEncodeOnly, c_.chkUCGEncode.Value()); }

void clsGroup::Write_Keyboard_Lockouts(int g) {
    put(g, GB::PriorityKeyLockout, c_.chkPriKeyLock.Value());
    put(g, GB::EntClrKeyLockout, c_.chkENTCLRLock.Value());
}

void clsGroup::readPriority(int g, const PriorityFields& f, vkt::ComboBox& box) {
    if (get(g, f.off)) box.setListIndex(PriorityOff);
    else if (get(g, f.main)) box.setListIndex(PriorityMain);
    else box.setListIndex(get(g, f.channel) + 1);
}

void clsGroup::writePriority(int g, const PriorityFields& f, const vkt::ComboBox& box) {
    // A channel leaves the bits between the flags and the channel as they were.
    const int i = box.ListIndex();
    if (i < 0) return;
    put(g, f.off, i == PriorityOff);
    put(g, f.main, i == PriorityMain);
    if (i != PriorityOff && i != PriorityMain) put(g, f.channel, i - 1);
}

void clsGroup::Read_Pri_1(int g) { readPriority(g, Priority1, c_.cboPri1Chan); }
void clsGroup::Read_Pri_2(int g) { readPriority(g, Priority2, c_.cboPri2Chan); }
void clsGroup::Write_Pri_1(int g) { writePriority(g, Priority1, c_.cboPri1Chan); }
void clsGroup::Write_Pri_2(int g) { writePriority(g, Priority2, c_.cboPri2Chan); }

void clsGroup::Read_Battery_Saver(int g) {
    if (get(g, GB::BatterySaverOff)) vkt::selectOption(c_.optBattSaveOff, {&c_.optBattSaveOn, &c_.optBattSaveOff});
    else vkt::selectOption(c_.optBattSaveOn, {&c_.optBattSaveOn, &c_.optBattSaveOff});
}

void clsGroup::Write_Battery_Saver(int g) { put(g, GB::BatterySaverOff, c_.optBattSaveOff.Value() ? 1 : 0); }

void clsGroup::Read_UCG_Enable(int g) {
    if (get(g, GB::UCGEnabled)) vkt::selectOption(c_.optUCGEnabled, {&c_.optUCGEnabled, &c_.optUCGDisabled});
    else vkt::selectOption(c_.optUCGDisabled, {&c_.optUCGEnabled, &c_.optUCGDisabled});
}

void clsGroup::Write_UCG_Enable(int g) {
    const bool enabled = c_.optUCGEnabled.Value();
    const int channel = c_.cboUCGChan.ListIndex();
    put(g, GB::UCGEnabled, enabled ? 1 : 0);
    // The selected bit is all that tells "16" from "0", so "16" keeps it with
    // the guard disabled as well.
    put(g, GB::UCGChannelSelected, (enabled && channel != 0) || channel == UCGChannel16 ? 1 : 0);
}

void clsGroup::Read_UCG_Chan(int g) {
    // "0" and "16" share channel bits 15; the selected bit tells them apart.
    const int index = (get(g, GB::UCGChannel) + 1) & 15;
    c_.cboUCGChan.setListIndex(index == 0 && get(g, GB::UCGChannelSelected) ? UCGChannel16 : index);
}

void clsGroup::Write_UCG_Chan(int g) {
    const int i = c_.cboUCGChan.ListIndex();
    if (i >= 0) put(g, GB::UCGChannel, (i - 1) & 15);
}

} // namespace VKTCore
