#pragma once
// The codec of one group: the group settings of its group block in the main
// window's group controls, and its 16 channels through its channel objects.

#include <array>
#include <memory>

#include "core/GroupControls.h"
#include "core/clsChannel.h"

namespace VKTCore {

class clsGroup {
public:
    explicit clsGroup(vkt::GroupControls& controls);

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
    int byteAt(int intGroup, int r) const;
    void putBits(int intGroup, int r, int mask, int value);
    int readField(int intGroup, int r, int mask) const;
    void writeField(int intGroup, int r, int mask, int value);
    void readPriority(int intGroup, int r, vkt::ComboBox& box);
    void writePriority(int intGroup, int r, const vkt::ComboBox& box);
    std::string readDigits(int intGroup, int first, int count) const;
    void writeDigits(int intGroup, int first, int count, const std::string& text);

    vkt::GroupControls& c_;
    std::array<std::unique_ptr<clsChannel>, 16> channels_;
};

} // namespace VKTCore
