// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/GroupControls.h"

#include <string>
#include <vector>

#include "core/Text.h"

namespace vkt {

namespace {

std::vector<std::string> Numbered(const std::string& prefix, int first, int last) {
    std::vector<std::string> items;
    for (int i = first; i <= last; ++i) items.push_back(prefix + std::to_string(i));
    return items;
}

std::vector<std::string> TimeOutItems() {
    std::vector<std::string> items{"OFF"};
    for (int s = 15; s <= 225; s += 15) items.push_back(std::to_string(s));
    return items;
}

std::vector<std::string> ScanHoldItems() {
    std::vector<std::string> items;
    for (int i = 0; i < 16; ++i) items.push_back(FixedText(i * 0.5, 1));
    return items;
}

std::vector<std::string> PriorityItems() {
    std::vector<std::string> items{"OFF"};
    for (const auto& ch : Numbered("Ch ", 1, 16)) items.push_back(ch);
    items.push_back("MAIN");
    return items;
}

} // namespace

GroupControls::GroupControls() : GroupControls(ownGrid_) {}

GroupControls::GroupControls(Grid& grid)
    : cboTOT(TimeOutItems(), "OFF"),
      cboScan(ScanHoldItems(), "0.0"),
      cboDisplay({"7 Segment Mode", "Alpha-Numeric"}, "7 Segment Mode"),
      cboBackLight({"OFF", "Key Press", "Display Change", "Both"}, "OFF"),
      cboDuration({"OFF", "1 Sec On", "2 Sec On", "3 Sec On", "4 Sec On", "5 Sec On", "6 Sec On", "Always On"}, "OFF"),
      cboPri1Chan(PriorityItems(), "OFF"),
      cboPri2Chan(PriorityItems(), "OFF"),
      cboBCI({"OFF", "Indicate", "Override", "Lockout"}, "OFF"),
      cboANI({"OFF", "DTMF Only", "ANI Only", "DTMF w/ manual ANI"}, "OFF"),
      cboUCGChan(Numbered("", 0, 16), "1"),
      grid_(&grid) {}

} // namespace vkt
