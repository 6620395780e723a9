// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a copy serving one cable of a fleet run tells the run, a line at a
// time on its standard output: its progress, then its result.

#include <optional>
#include <string>
#include <variant>

#include "fleet/Outcome.h"

namespace vktfleet {

struct WorkerProgress {
    std::string phase;     // "reading", "writing", "verifying"
    int percent = 0;
    std::string identity;  // once the radio said it
};

struct WorkerResult {
    Outcome outcome = Outcome::Failed;
    std::string identity;  // "2AAA0105"
    double seconds = 0;
    double cpuSeconds = 0;
    std::string detail;    // why it failed, the first difference, the file read into
    std::string written;   // a write of only what differs: what it had written, however it ended
    std::string unitId;    // the ANI/ID its groups were given or kept: "0001001"
    std::string fingerprint;  // "2AAA0105 #5E4F", when its calibration was read
};

std::string ProgressLine(const std::string& phase, int percent, const std::string& identity = "");
std::string ResultLine(const WorkerResult& r);
// A line of a copy's as what it says; nothing for a line of neither kind.
std::variant<std::monostate, WorkerProgress, WorkerResult> ParseWorkerLine(const std::string& line);

} // namespace vktfleet
