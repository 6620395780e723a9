#include "core/clsGlobals.h"

#include <algorithm>

#include "core/MemoryImage.h"

namespace VKTCore {

namespace {

constexpr int Page = 0;
constexpr int BattSaveByte = 6, SignallingByte = 7, RotaryByte = 128;
constexpr int GroupGlobalByte = 144, ChanGlobalByte = 146, GroupVarByte = 148, ChanVarByte = 150;
constexpr int SwitchByte1 = 152, SwitchByte2 = 153, OptionsByte = 155, GlobalByte = 255;
constexpr int GroupGlobalIndex = 15, ChanGlobalIndex = 16;

int LowestBit(int mask) { return mask & -mask; }

// Position p's bit in a pair of bytes: positions 9 ... 16 in the first byte,
// positions 1 ... 8 in the second.
struct PositionBit { int address; int mask; };
PositionBit PositionFlag(int pairStart, int p) {
    return p >= 8 ? PositionBit{pairStart, 1 << (p - 8)} : PositionBit{pairStart + 1, 1 << p};
}

bool PositionFlagSet(int pairStart, int p) {
    const PositionBit b = PositionFlag(pairStart, p);
    return (GetImageByte(Page, b.address) & b.mask) != 0;
}

void SetPositionFlag(int pairStart, int p, bool set) {
    const PositionBit b = PositionFlag(pairStart, p);
    PutImageBits(Page, b.address, b.mask, set ? b.mask : 0);
}

} // namespace

int clsGlobals::readField(int address, int mask) { return (GetImageByte(Page, address) & mask) / LowestBit(mask); }

void clsGlobals::writeField(int address, int mask, int value) {
    PutImageBits(Page, address, mask, value * LowestBit(mask));
}

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

void clsGlobals::Read_DTMF_Dev() { c_.cboDTMFDev.setListIndex(readField(SignallingByte, 248)); }
void clsGlobals::Read_Front_Porch_Time() { c_.cboPorchTime.setListIndex(readField(SignallingByte, 3)); }
void clsGlobals::Read_ANI_Rate() { c_.cboANIRate.setListIndex(readField(SignallingByte, 4)); }
void clsGlobals::Read_Pri_Rate() { c_.cboPriRate.setListIndex(readField(OptionsByte, 7)); }
void clsGlobals::Read_Battery_Saver_Inhibit() { c_.cboBattSave.setListIndex(readField(BattSaveByte, 4)); }
void clsGlobals::Read_Freq_Display() { c_.cboFreqDisplay.setListIndex(readField(OptionsByte, 128)); }
void clsGlobals::Read_Per_Channel_Power() { c_.cboLoPower.setListIndex(readField(OptionsByte, 64)); }
void clsGlobals::Read_Talk_Back_Scan() { c_.cboTalkBack.setListIndex(readField(OptionsByte, 32)); }
void clsGlobals::Read_Nuisance_Channel_Delete() { c_.cboNuisanceChan.setListIndex(readField(OptionsByte, 16)); }

// A list with nothing chosen stores the first item's code.
void clsGlobals::Write_DTMF_Dev() { writeField(SignallingByte, 248, std::max(0, c_.cboDTMFDev.ListIndex())); }
void clsGlobals::Write_Front_Porch_Time() { writeField(SignallingByte, 3, std::max(0, c_.cboPorchTime.ListIndex())); }
void clsGlobals::Write_ANI_Rate() { writeField(SignallingByte, 4, std::max(0, c_.cboANIRate.ListIndex())); }
void clsGlobals::Write_Pri_Rate() { writeField(OptionsByte, 7, std::max(0, c_.cboPriRate.ListIndex())); }
void clsGlobals::Write_Battery_Saver_Inhibit() { writeField(BattSaveByte, 4, std::max(0, c_.cboBattSave.ListIndex())); }
void clsGlobals::Write_Freq_Display() { writeField(OptionsByte, 128, std::max(0, c_.cboFreqDisplay.ListIndex())); }
void clsGlobals::Write_Per_Channel_Power() { writeField(OptionsByte, 64, std::max(0, c_.cboLoPower.ListIndex())); }
void clsGlobals::Write_Talk_Back_Scan() { writeField(OptionsByte, 32, std::max(0, c_.cboTalkBack.ListIndex())); }
void clsGlobals::Write_Nuisance_Channel_Delete() { writeField(OptionsByte, 16, std::max(0, c_.cboNuisanceChan.ListIndex())); }

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
    const int b152 = GetImageByte(Page, SwitchByte1);
    const int b153 = GetImageByte(Page, SwitchByte2);
    c_.cboLoPowerSwitch.setListIndex(Set_Switch_Assignment((b152 & 224) / 32));
    c_.cboChanScan.setListIndex(Set_Switch_Assignment((b152 & 28) / 4));
    c_.cboPriScan.setListIndex(Set_Switch_Assignment((b152 & 3) * 2 + (b153 & 128) / 128));
    c_.cboRTA.setListIndex(Set_Switch_Assignment((b153 & 112) / 16));
    c_.cboGroupScan.setListIndex(Set_Switch_Assignment((b153 & 14) / 2));
}

void clsGlobals::Write_Switch_Assignments() {
    PutImageBits(Page, SwitchByte1, 224, Set_Switch_Returns(c_.cboLoPowerSwitch.ListIndex()) * 32);
    PutImageBits(Page, SwitchByte1, 28, Set_Switch_Returns(c_.cboChanScan.ListIndex()) * 4);
    const int k = Set_Switch_Returns(c_.cboPriScan.ListIndex());
    PutImageBits(Page, SwitchByte1, 3, k / 2);
    PutImageBits(Page, SwitchByte2, 128, (k % 2) * 128);
    PutImageBits(Page, SwitchByte2, 112, Set_Switch_Returns(c_.cboRTA.ListIndex()) * 16);
    PutImageBits(Page, SwitchByte2, 14, Set_Switch_Returns(c_.cboGroupScan.ListIndex()) * 2);
}

void clsGlobals::Read_Rotary_Switch() {
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        const int b = GetImageByte(Page, RotaryByte + p);
        c_.cboGroup[i].setListIndex(PositionFlagSet(GroupGlobalByte, p) ? GroupGlobalIndex : b / 16);
        c_.cboChan[i].setListIndex(PositionFlagSet(ChanGlobalByte, p) ? ChanGlobalIndex : b & 15);
        c_.chkGrpVar[i].setValue(PositionFlagSet(GroupVarByte, p) ? 1 : 0);
        c_.chkChanVar[i].setValue(PositionFlagSet(ChanVarByte, p) ? 1 : 0);
    }
    const int g = GetImageByte(Page, GlobalByte);
    c_.cboGlobalGroup.setListIndex(g / 16);
    c_.cboGlobalChannel.setListIndex(g & 15);
}

void clsGlobals::Write_Rotary_Switch() {
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        const int group = c_.cboGroup[i].ListIndex();
        const int chan = c_.cboChan[i].ListIndex();
        // A Global group or channel is stored as nibble 0 plus its flag bit.
        PutImageBits(Page, RotaryByte + p, 240, group >= 0 && group < GroupGlobalIndex ? group * 16 : 0);
        PutImageBits(Page, RotaryByte + p, 15, chan >= 0 && chan < ChanGlobalIndex ? chan : 0);
        SetPositionFlag(GroupGlobalByte, p, group == GroupGlobalIndex);
        SetPositionFlag(ChanGlobalByte, p, chan == ChanGlobalIndex);
        SetPositionFlag(GroupVarByte, p, c_.chkGrpVar[i].Value() == 1);
        SetPositionFlag(ChanVarByte, p, c_.chkChanVar[i].Value() == 1);
    }
    PutImageBits(Page, GlobalByte, 240, std::max(0, c_.cboGlobalGroup.ListIndex()) * 16);
    PutImageBits(Page, GlobalByte, 15, std::max(0, c_.cboGlobalChannel.ListIndex()));
}

} // namespace VKTCore
