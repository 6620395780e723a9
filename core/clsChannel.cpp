#include "core/clsChannel.h"

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"

namespace VKTCore {

namespace {

constexpr int RxFreqByte = 0, RxCGByte = 2, TxFreqByte = 4, TxCGByte = 6;
constexpr int LowPowerOffset = 33, NarrowOffset = 35, ScanOffset = 37;
const char* const NoLabelText = " BLANK  ";

} // namespace

std::string clsChannel::cell(int col, int intChan) {
    vkt::Grid& g = c_.grid();
    g.setCol(col);
    g.setRow(intChan);
    return g.Text();
}

void clsChannel::setCell(int col, int intChan, const std::string& text) {
    vkt::Grid& g = c_.grid();
    g.setCol(col);
    g.setRow(intChan);
    g.setText(text);
}

void clsChannel::Read_Channel(int intGroup, int intChan) {
    Read_RX_Freq(intGroup, intChan);
    Read_RX_CG(intGroup, intChan);
    Read_TX_Freq(intGroup, intChan);
    Read_TX_CG(intGroup, intChan);
    Read_Chan_Aplha(intGroup, intChan);
    Read_Lo_Power(intGroup, intChan);
    Read_Narrow_Band(intGroup, intChan);
    Read_Scan_List(intGroup, intChan);
}

bool clsChannel::Write_Channel(int intGroup, int intChan) {
    bool ok = Write_RX_Freq(intGroup, intChan);
    ok = Write_RX_CG(intGroup, intChan) && ok;
    ok = Write_TX_Freq(intGroup, intChan) && ok;
    ok = Write_TX_CG(intGroup, intChan) && ok;
    Write_Chan_Alpha(intGroup, intChan);
    Write_Lo_Power(intGroup, intChan);
    Write_Narrow_Band(intGroup, intChan);
    Write_Scan_List(intGroup, intChan);
    return ok;
}

void clsChannel::readFreq(int intGroup, int intChan, int byte, int col) {
    setCell(col, intChan, strHexToFreq(WordAt(MemoryImage, ChannelSlotAddress(intGroup, intChan) + byte)));
}

bool clsChannel::writeFreq(int intGroup, int intChan, int byte, int col) {
    // A frequency outside the step range has no encoding: the radio keeps
    // what it had rather than a value wrapped round 16 bits.
    const auto steps = FreqTextToSteps(cell(col, intChan));
    if (!steps) return false;
    PutImageWord(ChannelSlotAddress(intGroup, intChan) + byte, *steps);
    return true;
}

void clsChannel::readCG(int intGroup, int intChan, int byte, int col) {
    const int code = WordAt(MemoryImage, ChannelSlotAddress(intGroup, intChan) + byte);
    setCell(col, intChan, CGCodeToText(static_cast<uint16_t>(code)));
}

bool clsChannel::writeCG(int intGroup, int intChan, int byte, int col) {
    const auto code = CGTextToCode(cell(col, intChan));
    if (!code) return false;
    PutImageWord(ChannelSlotAddress(intGroup, intChan) + byte, *code);
    return true;
}

void clsChannel::Read_RX_Freq(int g, int c) { readFreq(g, c, RxFreqByte, vkt::ColRecFreq); }
void clsChannel::Read_TX_Freq(int g, int c) { readFreq(g, c, TxFreqByte, vkt::ColTxFreq); }
void clsChannel::Read_RX_CG(int g, int c) { readCG(g, c, RxCGByte, vkt::ColRecCG); }
void clsChannel::Read_TX_CG(int g, int c) { readCG(g, c, TxCGByte, vkt::ColTxCG); }
bool clsChannel::Write_RX_Freq(int g, int c) { return writeFreq(g, c, RxFreqByte, vkt::ColRecFreq); }
bool clsChannel::Write_TX_Freq(int g, int c) { return writeFreq(g, c, TxFreqByte, vkt::ColTxFreq); }
bool clsChannel::Write_RX_CG(int g, int c) { return writeCG(g, c, RxCGByte, vkt::ColRecCG); }
bool clsChannel::Write_TX_CG(int g, int c) { return writeCG(g, c, TxCGByte, vkt::ColTxCG); }

void clsChannel::Read_Chan_Aplha(int intGroup, int intChan) {
    const int address = LabelSlotAddress(intGroup, intChan);
    std::string text = DecodeLabel(&MemoryImage.at(static_cast<size_t>(address)));
    if (text.empty()) text = NoLabelText;
    setCell(vkt::ColChLabel, intChan, text);
}

void clsChannel::Write_Chan_Alpha(int intGroup, int intChan) {
    PutImageLabel(LabelSlotAddress(intGroup, intChan), EncodeLabel(cell(vkt::ColChLabel, intChan)));
}

void clsChannel::readFlag(int intGroup, int intChan, int lowOffset, vkt::CheckBox& box) {
    const int r = intChan < 8 ? lowOffset : lowOffset - 1;
    const int bit = intChan < 8 ? intChan : intChan - 8;
    const PageOffset at = GroupBlockByte(intGroup, r);
    box.setValue((GetImageByte(at.page, at.offset) & (1 << bit)) != 0 ? 1 : 0);
}

void clsChannel::writeFlag(int intGroup, int intChan, int lowOffset, const vkt::CheckBox& box) {
    const int r = intChan < 8 ? lowOffset : lowOffset - 1;
    const int bit = intChan < 8 ? intChan : intChan - 8;
    const PageOffset at = GroupBlockByte(intGroup, r);
    PutImageBits(at.page, at.offset, 1 << bit, box.Value() * (1 << bit));
}

void clsChannel::Read_Lo_Power(int g, int c) { readFlag(g, c, LowPowerOffset, c_.chkLoPower[static_cast<size_t>(c)]); }
void clsChannel::Read_Narrow_Band(int g, int c) { readFlag(g, c, NarrowOffset, c_.chkNarr[static_cast<size_t>(c)]); }
void clsChannel::Read_Scan_List(int g, int c) { readFlag(g, c, ScanOffset, c_.chkScan[static_cast<size_t>(c)]); }
void clsChannel::Write_Lo_Power(int g, int c) { writeFlag(g, c, LowPowerOffset, c_.chkLoPower[static_cast<size_t>(c)]); }
void clsChannel::Write_Narrow_Band(int g, int c) { writeFlag(g, c, NarrowOffset, c_.chkNarr[static_cast<size_t>(c)]); }
void clsChannel::Write_Scan_List(int g, int c) { writeFlag(g, c, ScanOffset, c_.chkScan[static_cast<size_t>(c)]); }

} // namespace VKTCore
