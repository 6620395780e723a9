// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two setups compared field by field over exactly what writing the whole
// memory sends to a radio: between two files, or a radio and its setup.

#include <string>
#include <vector>

#include "core/MemoryImage.h"

namespace VKTCom {

struct FieldDifference {
    std::string field;   // "Group 3 Ch 5 Rec Freq"
    std::string first;   // its text in the first setup, as its window shows it
    std::string second;  // and in the second
};

// Every setting whose sent bits differ, in the windows' order: the unit-wide
// settings (left out when the write left them out), then group by group its
// settings and channels 1 to 16.
std::vector<FieldDifference> CompareSetups(const VKTCore::Image& first, const VKTCore::Image& second, bool unitWide = true);

} // namespace VKTCom
