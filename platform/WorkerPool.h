// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies of this program run beside it, one for each cable of a fleet run:
// started with their arguments, heard line by line, asked to stop.

#include <string>
#include <vector>

namespace vkt {

class WorkerPool {
public:
    struct Event {
        int worker = 0;        // as start() numbered it
        std::string line;      // a line it wrote, without the line end
        bool ended = false;    // it has ended (line is then empty)
        int exitCode = 0;
    };

    virtual ~WorkerPool() = default;
    // Starts a copy of this program with args; its number.
    virtual int start(const std::vector<std::string>& args) = 0;
    // What the workers said or did within seconds (nothing when nothing).
    virtual std::vector<Event> wait(double seconds) = 0;
    // Asks every running worker to stop, as an interrupt does: the stop line
    // on its standard input.
    virtual void interruptAll() = 0;
};

// What a worker is told on its standard input when it is to stop; no signal
// is needed, so it is the same on every system.
inline constexpr const char* WorkerStopLine = "stop";

} // namespace vkt
