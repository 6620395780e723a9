// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several radios at once on a terminal: the rounds of a fleet run
// (fleet/FleetRound) with a live line per cable, a line per radio done and
// a summary, and the next radios asked for on the terminal.

#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "fleet/FleetRound.h"
#include "fleet/RunLog.h"
#include "fleet/UnitIds.h"

namespace vktcli {

struct Fleet {
    vktfleet::FleetJob job;
    std::vector<vktfleet::FleetCable> cables;
    bool repeat = false;
    // Each round's radios numbered on, in cable order.
    std::optional<vktfleet::UnitIds> unitIds;
};

// Runs round after round (one with repeat off) until the technician stops;
// 0 when every radio was done, 130 when interrupted, 2 when too few unit
// IDs are left for a round (nothing written in it), else 1.
int RunFleet(Fleet& fleet, Console& c);

} // namespace vktcli
