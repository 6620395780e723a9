// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several radios at once on a terminal: the rounds of a fleet run
// (editor/FleetRound) with a live line per cable, a line per radio done and
// a summary, and the next radios asked for on the terminal.

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "editor/FleetRound.h"
#include "editor/RunLog.h"

namespace vktcli {

using vkteditor::AppendLogRow;
using vkteditor::LogHeader;
using vkteditor::LogLine;
using vkteditor::LogRow;
using vkteditor::ProgressLine;
using vkteditor::ResultLine;
using vkteditor::UtcNow;
using vkteditor::WorkerResult;

struct Fleet {
    vkteditor::FleetJob job;
    std::vector<vkteditor::FleetCable> cables;
    bool repeat = false;
};

// Runs round after round (one with repeat off) until the technician stops;
// 0 when every radio was done, 130 when interrupted, else 1.
int RunFleet(const Fleet& fleet, Console& c);

} // namespace vktcli
