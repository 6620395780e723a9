#pragma once
// The fields of a setup that the editor writes to a radio, each with the
// bytes and bits it lives in and its text, for comparing two setups field
// by field.

#include <string>
#include <vector>

#include "core/MemoryImage.h"

namespace vktcli {

struct FieldDifference {
    std::string field;   // "Group 3 Ch 5 Rec Freq"
    std::string first;   // the field's text in the first setup
    std::string second;  // and in the second
};

// Every written field whose bits differ, in memory order.
std::vector<FieldDifference> CompareSetups(const VKTCore::Image& first, const VKTCore::Image& second);

} // namespace vktcli
