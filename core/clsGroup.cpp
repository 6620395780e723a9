#include "core/clsGroup.h"

#include <algorithm>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/Text.h"

namespace VKTCore {

namespace {

constexpr int UCGByte = 0;
constexpr int PasswordByte = 38, IdByte = 41, TimersByte = 45, Pri1Byte = 46, Pri2Byte = 47;
constexpr int FlagsByte = 48, IndicatorsByte = 49, DisplayByte = 50, LabelByte = 51;
constexpr int PriorityOff = 0, PriorityMain = 17;

int LowestBit(int mask) { return mask & -mask; }

} // namespace

clsGroup::clsGroup(vkt::GroupControls& controls) : c_(controls) {
    for (auto& ch : channels_) ch = std::make_unique<clsChannel>(controls);
}

int clsGroup::byteAt(int intGroup, int r) const {
    const PageOffset at = GroupBlockByte(intGroup, r);
    return GetImageByte(at.page, at.offset);
}

void clsGroup::putBits(int intGroup, int r, int mask, int value) {
    const PageOffset at = GroupBlockByte(intGroup, r);
    PutImageBits(at.page, at.offset, mask, value);
}

int clsGroup::readField(int intGroup, int r, int mask) const {
    return (byteAt(intGroup, r) & mask) / LowestBit(mask);
}

void clsGroup::writeField(int intGroup, int r, int mask, int value) {
    putBits(intGroup, r, mask, value * LowestBit(mask));
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

// Binary-coded decimal digit fields: two hexadecimal digits per byte.
std::string clsGroup::readDigits(int intGroup, int first, int count) const {
    std::string text;
    for (int i = 0; i < count; ++i) text += vkt::Hex2(static_cast<unsigned>(byteAt(intGroup, first + i)));
    return text;
}

void clsGroup::writeDigits(int intGroup, int first, int count, const std::string& text) {
    const std::string digits = vkt::PadLeft(text, static_cast<size_t>(2 * count), '0');
    for (int i = 0; i < count; ++i)
        putBits(intGroup, first + i, 255, static_cast<int>(HexToNumber(vkt::CharsMid(digits, static_cast<size_t>(2 * i), 2))));
}

void clsGroup::Read_Password(int g) { c_.txtPassWord.setText(readDigits(g, PasswordByte, 3)); }
void clsGroup::Write_Password(int g) { writeDigits(g, PasswordByte, 3, c_.txtPassWord.Text()); }

void clsGroup::Read_ID_Num(int g) {
    // Eight digits are stored; the first one is never shown.
    c_.txtID.setText(readDigits(g, IdByte, 4).substr(1));
}
void clsGroup::Write_ID_Num(int g) { writeDigits(g, IdByte, 4, c_.txtID.Text()); }

void clsGroup::Read_Group_Label(int g) {
    uint8_t codes[8];
    for (int i = 0; i < 8; ++i) codes[i] = static_cast<uint8_t>(byteAt(g, LabelByte + i));
    c_.txtGrpLab.setText(DecodeLabel(codes));
}

void clsGroup::Write_Group_Label(int g) {
    const PageOffset at = GroupBlockByte(g, LabelByte);
    PutImageLabel(at.page * 256 + at.offset, EncodeLabel(c_.txtGrpLab.Text()));
}

void clsGroup::Read_TOT_Scan(int g) {
    const int b = byteAt(g, TimersByte);
    c_.cboTOT.setListIndex(b / 16);
    c_.cboScan.setText(vkt::FixedText((b & 15) * 0.5, 1));
}

void clsGroup::Write_TOT_Scan(int g) {
    const std::string& tot = c_.cboTOT.Text();
    int t = tot == "OFF" ? 0 : vkt::ToInt(vkt::RoundHalfEven(vkt::Val(tot) / 15));
    int s = vkt::ToInt(vkt::RoundHalfEven(vkt::Val(c_.cboScan.Text()) * 2));
    // Each half is one hexadecimal digit of the byte.
    t = std::clamp(t, 0, 15);
    s = std::clamp(s, 0, 15);
    putBits(g, TimersByte, 255, t * 16 + s);
}

void clsGroup::Read_Display_Mode(int g) { c_.cboDisplay.setListIndex(readField(g, DisplayByte, 8)); }
void clsGroup::Read_BackLight(int g) { c_.cboBackLight.setListIndex(readField(g, DisplayByte, 48)); }
void clsGroup::Read_Duration(int g) { c_.cboDuration.setListIndex(readField(g, DisplayByte, 7)); }
void clsGroup::Read_Pri_TX(int g) { c_.chkPriTX.setValue(readField(g, FlagsByte, 32)); }
void clsGroup::Read_Busy_Channel_Indicate(int g) { c_.cboBCI.setListIndex(readField(g, IndicatorsByte, 96)); }
void clsGroup::Read_ANI_DTMF(int g) { c_.cboANI.setListIndex(readField(g, IndicatorsByte, 24)); }
void clsGroup::Read_Group_Scan_List(int g) { c_.chkGroupScanList.setValue(readField(g, FlagsByte, 64)); }
void clsGroup::Read_UCG_Encode(int g) { c_.chkUCGEncode.setValue(readField(g, UCGByte, 32)); }

void clsGroup::Read_Keyboard_Lockouts(int g) {
    c_.chkPriKeyLock.setValue(readField(g, FlagsByte, 16));
    c_.chkENTCLRLock.setValue(readField(g, FlagsByte, 8));
}

void clsGroup::Write_Display_Mode(int g) { writeField(g, DisplayByte, 8, c_.cboDisplay.ListIndex()); }
void clsGroup::Write_BackLight(int g) { writeField(g, DisplayByte, 48, c_.cboBackLight.ListIndex()); }
void clsGroup::Write_Duration(int g) { writeField(g, DisplayByte, 7, c_.cboDuration.ListIndex()); }
void clsGroup::Write_Pri_TX(int g) { writeField(g, FlagsByte, 32, c_.chkPriTX.Value()); }
void clsGroup::Write_Busy_Channel_Indicate(int g) { writeField(g, IndicatorsByte, 96, c_.cboBCI.ListIndex()); }
void clsGroup::Write_ANI_DTMF(int g) { writeField(g, IndicatorsByte, 24, c_.cboANI.ListIndex()); }
void clsGroup::Write_Group_Scan_List(int g) { writeField(g, FlagsByte, 64, c_.chkGroupScanList.Value()); }
void clsGroup::Write_UCG_Encode(int g) { writeField(g, UCGByte, 32, c_.chkUCGEncode.Value()); }

void clsGroup::Write_Keyboard_Lockouts(int g) {
    writeField(g, FlagsByte, 16, c_.chkPriKeyLock.Value());
    writeField(g, FlagsByte, 8, c_.chkENTCLRLock.Value());
}

void clsGroup::readPriority(int g, int r, vkt::ComboBox& box) {
    const int b = byteAt(g, r);
    if (b & 128) box.setListIndex(PriorityOff);
    else if (b & 64) box.setListIndex(PriorityMain);
    else box.setListIndex((b & 15) + 1);
}

void clsGroup::writePriority(int g, int r, const vkt::ComboBox& box) {
    const int i = box.ListIndex();
    if (i == PriorityOff) putBits(g, r, 192, 128);
    else if (i == PriorityMain) putBits(g, r, 192, 64);
    else if (i > 0) putBits(g, r, 207, i - 1);
}

void clsGroup::Read_Pri_1(int g) { readPriority(g, Pri1Byte, c_.cboPri1Chan); }
void clsGroup::Read_Pri_2(int g) { readPriority(g, Pri2Byte, c_.cboPri2Chan); }
void clsGroup::Write_Pri_1(int g) { writePriority(g, Pri1Byte, c_.cboPri1Chan); }
void clsGroup::Write_Pri_2(int g) { writePriority(g, Pri2Byte, c_.cboPri2Chan); }

void clsGroup::Read_Battery_Saver(int g) {
    if (byteAt(g, FlagsByte) & 128) vkt::selectOption(c_.optBattSaveOff, {&c_.optBattSaveOn, &c_.optBattSaveOff});
    else vkt::selectOption(c_.optBattSaveOn, {&c_.optBattSaveOn, &c_.optBattSaveOff});
}

void clsGroup::Write_Battery_Saver(int g) { putBits(g, FlagsByte, 128, c_.optBattSaveOff.Value() ? 128 : 0); }

void clsGroup::Read_UCG_Enable(int g) {
    if (byteAt(g, IndicatorsByte) & 128) vkt::selectOption(c_.optUCGEnabled, {&c_.optUCGEnabled, &c_.optUCGDisabled});
    else vkt::selectOption(c_.optUCGDisabled, {&c_.optUCGEnabled, &c_.optUCGDisabled});
}

void clsGroup::Write_UCG_Enable(int g) {
    const bool enabled = c_.optUCGEnabled.Value();
    putBits(g, IndicatorsByte, 128, enabled ? 128 : 0);
    putBits(g, UCGByte, 16, enabled && c_.cboUCGChan.ListIndex() != 0 ? 16 : 0);
}

void clsGroup::Read_UCG_Chan(int g) {
    // "0" and "16" share channel bits 15; only "16" of an enabled guard sets
    // bit 4, which tells the two apart.
    const int b = byteAt(g, UCGByte);
    const int index = ((b & 15) + 1) & 15;
    c_.cboUCGChan.setListIndex(index == 0 && (b & 16) ? 16 : index);
}

void clsGroup::Write_UCG_Chan(int g) {
    const int i = c_.cboUCGChan.ListIndex();
    if (i >= 0) putBits(g, UCGByte, 15, (i - 1) & 15);
}

} // namespace VKTCore
