// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clsChannel.h"

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"

namespace VKTCore {

namespace {

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

void clsChannel::readFreq(int intGroup, int intChan, const Field& f, int col) {
    setCell(col, intChan, strHexToFreq(static_cast<double>(ReadField(image_, ChannelSlotAddress(intGroup, intChan), f))));
}

bool clsChannel::writeFreq(int intGroup, int intChan, const Field& f, int col) {
    // A frequency outside the step range has no encoding: the radio keeps
    // what it had rather than a value wrapped round 16 bits.
    const auto steps = FreqTextToSteps(cell(col, intChan));
    if (!steps) return false;
    WriteField(image_, ChannelSlotAddress(intGroup, intChan), f, *steps);
    return true;
}

void clsChannel::readCG(int intGroup, int intChan, const Field& f, int col) {
    setCell(col, intChan, FieldText(image_, ChannelSlotAddress(intGroup, intChan), f));
}

bool clsChannel::writeCG(int intGroup, int intChan, const Field& f, int col) {
    const auto code = CGTextToCode(cell(col, intChan));
    if (!code) return false;
    WriteField(image_, ChannelSlotAddress(intGroup, intChan), f, *code);
    return true;
}

void clsChannel::Read_RX_Freq(int g, int c) { readFreq(g, c, ChannelSlot::RxFreq, vkt::ColRecFreq); }
void clsChannel::Read_TX_Freq(int g, int c) { readFreq(g, c, ChannelSlot::TxFreq, vkt::ColTxFreq); }
void clsChannel::Read_RX_CG(int g, int c) { readCG(g, c, ChannelSlot::RxCG, vkt::ColRecCG); }
void clsChannel::Read_TX_CG(int g, int c) { readCG(g, c, ChannelSlot::TxCG, vkt::ColTxCG); }
bool clsChannel::Write_RX_Freq(int g, int c) { return writeFreq(g, c, ChannelSlot::RxFreq, vkt::ColRecFreq); }
bool clsChannel::Write_TX_Freq(int g, int c) { return writeFreq(g, c, ChannelSlot::TxFreq, vkt::ColTxFreq); }
bool clsChannel::Write_RX_CG(int g, int c) { return writeCG(g, c, ChannelSlot::RxCG, vkt::ColRecCG); }
bool clsChannel::Write_TX_CG(int g, int c) { return writeCG(g, c, ChannelSlot::TxCG, vkt::ColTxCG); }

void clsChannel::Read_Chan_Aplha(int intGroup, int intChan) {
    std::string text = FieldText(image_, LabelSlotAddress(intGroup, intChan), LabelSlot::Label);
    if (text.empty()) text = NoLabelText;
    setCell(vkt::ColChLabel, intChan, text);
}

void clsChannel::Write_Chan_Alpha(int intGroup, int intChan) {
    PutImageLabel(image_, LabelSlotAddress(intGroup, intChan) + LabelSlot::Label.offset, EncodeLabel(cell(vkt::ColChLabel, intChan)));
}

void clsChannel::readFlag(int intGroup, int intChan, const Field& flags, vkt::CheckBox& box) {
    box.setValue(ReadField(image_, GroupBase(intGroup), flags[intChan]) ? 1 : 0);
}

void clsChannel::writeFlag(int intGroup, int intChan, const Field& flags, const vkt::CheckBox& box) {
    WriteField(image_, GroupBase(intGroup), flags[intChan], static_cast<uint64_t>(box.Value()));
}

void clsChannel::Read_Lo_Power(int g, int c) { readFlag(g, c, GroupBlock::LowPower, c_.chkLoPower[static_cast<size_t>(c)]); }
void clsChannel::Read_Narrow_Band(int g, int c) { readFlag(g, c, GroupBlock::Narrow, c_.chkNarr[static_cast<size_t>(c)]); }
void clsChannel::Read_Scan_List(int g, int c) { readFlag(g, c, GroupBlock::Scan, c_.chkScan[static_cast<size_t>(c)]); }
void clsChannel::Write_Lo_Power(int g, int c) { writeFlag(g, c, GroupBlock::LowPower, c_.chkLoPower[static_cast<size_t>(c)]); }
void clsChannel::Write_Narrow_Band(int g, int c) { writeFlag(g, c, GroupBlock::Narrow, c_.chkNarr[static_cast<size_t>(c)]); }
void clsChannel::Write_Scan_List(int g, int c) { writeFlag(g, c, GroupBlock::Scan, c_.chkScan[static_cast<size_t>(c)]); }

} // namespace VKTCore
