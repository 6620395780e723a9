// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several radios at once, each on its own cable, each cable served by a
// copy of this program of its own: the radios' link state (the port, the
// hook, the shared memory image) is program-wide, and a process per cable
// keeps it apart without threads, lets the system spread the work over its
// processors, and keeps a radio that hangs or a copy that dies from holding
// up the others. The copies report their progress and result a line at a
// time; this side shows them, keeps the log and sums up.

#include <string>
#include <vector>

#include "cli/Commands.h"

namespace vktcli {

// What one radio's copy reports when it is done.
struct WorkerResult {
    std::string status;    // "done", "failed", "unverified", "interrupted"
    std::string identity;  // "2AAA0105"
    double seconds = 0;
    double cpuSeconds = 0;
    std::string detail;    // why it failed, the first difference, the file read into
};

// The lines a copy writes for the run it belongs to.
std::string ProgressLine(const std::string& phase, int percent);
std::string ResultLine(const WorkerResult& r);

struct Fleet {
    std::string action;                               // "read" or "write"
    std::vector<std::string> cables;                  // as shown: "/dev/ttyUSB2", "Comm Port 2"
    std::vector<std::vector<std::string>> workerArgs; // each copy's command line
    bool verify = false;
    bool repeat = false;
    bool changedOnly = false;  // the copies say what they wrote, and the log keeps it
    std::string logPath, setupName, setupSha256;
};

// Runs round after round (one with repeat off) until the technician stops;
// 0 when every radio was done, 130 when interrupted, else 1.
int RunFleet(const Fleet& fleet, Console& c);

} // namespace vktcli
