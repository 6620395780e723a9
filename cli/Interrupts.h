// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a run of vkt is asked from outside to end, and what it knows of its
// console. On Linux that is SIGINT, SIGTERM and SIGHUP; on Windows Ctrl-C,
// Ctrl-Break and the console being closed. Each system has its half in a file
// of its own: InterruptsPosix.cpp, InterruptsWindows.cpp.

#include <string>

namespace vktcli {

// From now on each request to end is counted: the first is the progress
// window's Cancel, so that the radio is released; a second ends the program
// at once with exit code 130.
void CatchInterrupts();
// How many requests to end have come.
int InterruptCount();
// Lines written to a run that is gone are lost, not the end of the copy
// that writes them: it still has its radio to release.
void KeepRunningWhenOutputIsGone();

enum class Stream { Input, Error };
// Whether the stream is a terminal (a console) a person sits at.
bool IsTerminal(Stream stream);
// Adds the bytes waiting on standard input to bytes, without ever waiting;
// false once the input has ended.
bool TakeWaitingInput(std::string& bytes);

// What a copy serving one cable of a fleet run hears from the run on its
// standard input: the stop line, or the input's end when the run is gone
// (killed, say) and will pass nothing on. Either way the copy cancels as if
// interrupted, and its radio is released at the next block.
class RunListener {
public:
    // True once the run said stop or went; never waits.
    bool stopAsked();
    // What arrived (and whether the input ended); true once stop was asked.
    bool heard(const std::string& bytes, bool ended);

private:
    std::string line_;
    bool stop_ = false;
};

} // namespace vktcli
