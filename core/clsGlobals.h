// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The codec of the unit-wide settings in page 0, shown in the global
// parameters window, or of any image shown in such controls. It never
// touches the alignment values of page 0.

#include "core/GlobalsControls.h"
#include "core/MemoryMap.h"

namespace VKTCore {

class clsGlobals {
public:
    explicit clsGlobals(vkt::GlobalsControls& controls, Image& image = MemoryImage) : c_(controls), image_(image) {}

    void Read_Globals();
    void Read_DTMF_Dev();
    void Read_Front_Porch_Time();
    void Read_ANI_Rate();
    void Read_Pri_Rate();
    void Read_Battery_Saver_Inhibit();
    void Read_Freq_Display();
    void Read_Per_Channel_Power();
    void Read_Talk_Back_Scan();
    void Read_Nuisance_Channel_Delete();
    void Read_Switch_Assignments();
    void Read_Rotary_Switch();

    void Write_Globals();
    void Write_DTMF_Dev();
    void Write_Front_Porch_Time();
    void Write_ANI_Rate();
    void Write_Pri_Rate();
    void Write_Battery_Saver_Inhibit();
    void Write_Freq_Display();
    void Write_Per_Channel_Power();
    void Write_Talk_Back_Scan();
    void Write_Nuisance_Channel_Delete();
    void Write_Switch_Assignments();
    void Write_Rotary_Switch();

    // A toggle-switch code as a list index, and back.
    static int Set_Switch_Assignment(int code);
    static int Set_Switch_Returns(int listIndex);

private:
    int Get(const Field& f) const;
    void Put(const Field& f, int value);

    vkt::GlobalsControls& c_;
    Image& image_;
};

} // namespace VKTCore
