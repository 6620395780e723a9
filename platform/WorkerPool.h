// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copies of this program run beside it, one for each cable of a fleet run:
// started with their arguments, heard line by line, asked to stop.

#include <functional>
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
        std::string failure;   // it ended because it could not be started: why
    };

    virtual ~WorkerPool() = default;
    // Starts a copy of this program with args; its number. A copy that
    // cannot be started ends at once, its failure said in its end event.
    virtual int start(const std::vector<std::string>& args) = 0;
    // What the workers said or did within seconds (nothing when nothing);
    // with none, only what they said already, without waiting.
    virtual std::vector<Event> wait(double seconds) = 0;
    // Asks every running worker to stop, as an interrupt does: the stop line
    // on its standard input.
    virtual void interruptAll() = 0;

    // Told as soon as a worker said or did something, for an owner driven
    // by the window system's events rather than by waiting.
    std::function<void()> eventsWaiting;
};

// What a worker is told on its standard input when it is to stop; no signal
// is needed, so it is the same on every system.
inline constexpr const char* WorkerStopLine = "stop";

} // namespace vkt
