// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The codec of one channel: its frequencies, channel guards and label in one
// grid row, and its three flags in the check boxes beside that row.

#include <string>

#include "core/GroupControls.h"
#include "core/MemoryMap.h"

namespace VKTCore {

class clsChannel {
public:
    explicit clsChannel(vkt::GroupControls& controls, Image& image = MemoryImage) : c_(controls), image_(image) {}

    void Read_Channel(int intGroup, int intChan);
    // False when a cell held a text without encoding; that field kept its bytes.
    bool Write_Channel(int intGroup, int intChan);

    void Read_RX_Freq(int intGroup, int intChan);
    void Read_RX_CG(int intGroup, int intChan);
    void Read_TX_Freq(int intGroup, int intChan);
    void Read_TX_CG(int intGroup, int intChan);
    void Read_Chan_Aplha(int intGroup, int intChan);
    void Read_Lo_Power(int intGroup, int intChan);
    void Read_Narrow_Band(int intGroup, int intChan);
    void Read_Scan_List(int intGroup, int intChan);

    bool Write_RX_Freq(int intGroup, int intChan);
    bool Write_RX_CG(int intGroup, int intChan);
    bool Write_TX_Freq(int intGroup, int intChan);
    bool Write_TX_CG(int intGroup, int intChan);
    void Write_Chan_Alpha(int intGroup, int intChan);
    void Write_Lo_Power(int intGroup, int intChan);
    void Write_Narrow_Band(int intGroup, int intChan);
    void Write_Scan_List(int intGroup, int intChan);

private:
    std::string cell(int col, int intChan);
    void setCell(int col, int intChan, const std::string& text);
    void readFreq(int intGroup, int intChan, const Field& f, int col);
    bool writeFreq(int intGroup, int intChan, const Field& f, int col);
    void readCG(int intGroup, int intChan, const Field& f, int col);
    bool writeCG(int intGroup, int intChan, const Field& f, int col);
    void readFlag(int intGroup, int intChan, const Field& flags, vkt::CheckBox& box);
    void writeFlag(int intGroup, int intChan, const Field& flags, const vkt::CheckBox& box);

    vkt::GroupControls& c_;
    Image& image_;
};

} // namespace VKTCore
