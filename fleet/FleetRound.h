// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One round of a fleet run: several radios at once, each on its own cable,
// each cable served by a copy of vkt of its own (`--worker`). The radios'
// link state (the port, the hook, the shared memory image) is program-wide;
// a process per cable keeps it apart without threads, lets the system spread
// the work over its processors, and keeps a radio that hangs or a copy that
// dies from holding up the others. The copies report their progress and
// result a line at a time; a round hears them, keeps each cable's state,
// writes the record and sums up. vkt shows it on a terminal, the editor in
// its fleet window.

#include <functional>
#include <string>
#include <vector>

#include "fleet/Outcome.h"
#include "fleet/WorkerLines.h"
#include "platform/Platform.h"
#include "platform/WorkerPool.h"

namespace vktfleet {

// What every cable of a run does.
struct FleetJob {
    Action action = Action::Write;
    bool verify = false;
    // Each copy writes only what differs and says what it wrote.
    bool changedOnly = false;
    std::string logPath, setupName, setupSha256;
};

// One cable of a run: how it is shown and recorded ("/dev/ttyUSB2",
// "Comm Port 2") and its copy's command line.
struct FleetCable {
    std::string name;
    std::vector<std::string> args;
    // The unit ID its radio is given, for the record when its copy cannot say.
    std::string unitId = {};
};

struct CableState {
    bool running = false;
    std::string phase = "starting";
    int percent = 0;
    std::string identity;  // once the radio said it
    bool reported = false;
    WorkerResult result;
};

class FleetRound {
public:
    FleetRound(vkt::Platform& platform, vkt::WorkerPool& workers, FleetJob job, std::vector<FleetCable> cables);

    // A copy for every cable.
    void start();
    // Hears the copies for up to seconds (none: only what they said
    // already); true when any of them said or did something.
    bool pass(double seconds);
    // Every copy is asked to stop at its next block and let its radio go.
    void interrupt();
    bool running() const;

    size_t size() const { return cables_.size(); }
    const std::string& name(size_t i) const { return cables_[i].name; }
    const CableState& state(size_t i) const { return states_[i]; }
    // "written and verified", "FAILED: hook: no answer after 0.5 s",
    // "interrupted while writing, after 2944 of 6016 bytes; ...", ...
    std::string resultText(size_t i) const;
    int done() const;
    bool interrupted() const;
    std::vector<std::string> notDone() const;
    double seconds() const;
    // "3 of 4 radios written and verified in 22.0 s; not done: /dev/ttyUSB2",
    // "4 radios already held the setup: nothing written", "cancelled: 2 of 4
    // radios written and verified, 2 released unwritten; not done: ..."
    std::string summary() const;

    // A cable's result came in (and went into the record).
    std::function<void(size_t cable)> reported;
    // The record could not take a row: why.
    std::function<void(const std::string& why)> recordFailed;

private:
    void heard(size_t i, const vkt::WorkerPool::Event& e);
    void report(size_t i, const WorkerResult& r);
    void record(size_t i, const WorkerResult& r);
    // The cables whose radios ended so (and wrote that, when written is given).
    int count(Outcome o, const char* written = nullptr) const;

    vkt::Platform& platform_;
    vkt::WorkerPool& workers_;
    FleetJob job_;
    std::vector<FleetCable> cables_;
    std::vector<CableState> states_;
    std::vector<int> workerIds_;
    bool interrupted_ = false;
    double start_ = 0, end_ = -1;
};

} // namespace vktfleet
