// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The codec of one group: the group settings of its group block in the main
// window's group controls, and its 16 channels through its channel objects;
// the main window's image unless told another.

#include <array>
#include <memory>

#include "core/GroupControls.h"
#include "core/MemoryMap.h"
#include "core/clsChannel.h"

namespace VKTCore {

class clsGroup {
public:
    explicit clsGroup(vkt::GroupControls& controls, Image& image = MemoryImage);

    void Read_Group(int intGroup);
    // False when some channel cell held a text without encoding.
    bool Write_Group(int intGroup);

    void Read_Password(int intGroup);
    void Read_Group_Label(int intGroup);
    void Read_TOT_Scan(int intGroup);
    void Read_ID_Num(int intGroup);
    void Read_Display_Mode(int intGroup);
    void Read_BackLight(int intGroup);
    void Read_Duration(int intGroup);
    void Read_Pri_1(int intGroup);
    void Read_Pri_2(int intGroup);
    void Read_Pri_TX(int intGroup);
    void Read_Battery_Saver(int intGroup);
    void Read_Keyboard_Lockouts(int intGroup);
    void Read_Busy_Channel_Indicate(int intGroup);
    void Read_ANI_DTMF(int intGroup);
    void Read_Group_Scan_List(int intGroup);
    void Read_UCG_Encode(int intGroup);
    void Read_UCG_Enable(int intGroup);
    void Read_UCG_Chan(int intGroup);

    void Write_Password(int intGroup);
    void Write_Group_Label(int intGroup);
    void Write_TOT_Scan(int intGroup);
    void Write_ID_Num(int intGroup);
    void Write_Display_Mode(int intGroup);
    void Write_BackLight(int intGroup);
    void Write_Duration(int intGroup);
    void Write_Pri_1(int intGroup);
    void Write_Pri_2(int intGroup);
    void Write_Pri_TX(int intGroup);
    void Write_Battery_Saver(int intGroup);
    void Write_Keyboard_Lockouts(int intGroup);
    void Write_Busy_Channel_Indicate(int intGroup);
    void Write_ANI_DTMF(int intGroup);
    void Write_Group_Scan_List(int intGroup);
    void Write_UCG_Encode(int intGroup);
    void Write_UCG_Enable(int intGroup);
    void Write_UCG_Chan(int intGroup);

    clsChannel& channel(int intChan) { return *channels_.at(static_cast<size_t>(intChan)); }

private:
    // A priority channel's OFF and MAIN flags and channel index.
    struct PriorityFields { Field off, main, channel; };
    static constexpr PriorityFields Priority1{GroupBlock::Priority1Off, GroupBlock::Priority1Main, GroupBlock::Priority1Channel};
    static constexpr PriorityFields Priority2{GroupBlock::Priority2Off, GroupBlock::Priority2Main, GroupBlock::Priority2Channel};

    int get(int intGroup, const Field& f) const;
    void put(int intGroup, const Field& f, int value);
    void readPriority(int intGroup, const PriorityFields& f, vkt::ComboBox& box);
    void writePriority(int intGroup, const PriorityFields& f, const vkt::ComboBox& box);

    vkt::GroupControls& c_;
    Image& image_;
    std::array<std::unique_ptr<clsChannel>, 16> channels_;
};

} // namespace VKTCore
