// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes every group and the unit-wide settings of the shared image into controls and encodes them back, as
// the editor does on group switches and before writes.

#include "core/GlobalsControls.h"
#include "core/GroupControls.h"
#include "core/clsGlobals.h"
#include "core/clsGroup.h"

inline void DecodeAndEncodeEverything() {
    vkt::GroupControls groupControls;
    VKTCore::clsGroup group(groupControls);
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        group.Read_Group(g);
        group.Write_Group(g);
    }
    vkt::GlobalsControls globalsControls;
    VKTCore::clsGlobals globals(globalsControls);
    globals.Read_Globals();
    globals.Write_Globals();
}
