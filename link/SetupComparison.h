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
    std::string first;   // the field's text in the first setup
    std::string second;  // and in the second
};

// Every written field whose bits differ, in memory order; without the
// unit-wide settings when the write left them out.
std::vector<FieldDifference> CompareSetups(const VKTCore::Image& first, const VKTCore::Image& second, bool unitWide = true);

} // namespace VKTCom
