// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// This program's standard input replaced by a pipe whose other end the test holds, as a fleet run holds its
// copy's; put back at the end. Each system's half is in its own file: StdinPipePosix.cpp, StdinPipeWindows.cpp.

#include <cstdint>
#include <string>

class StdinPipe {
public:
    StdinPipe();
    ~StdinPipe();
    StdinPipe(const StdinPipe&) = delete;
    StdinPipe& operator=(const StdinPipe&) = delete;
    void write(const std::string& bytes);
    // Closes the test's end, as a run that is gone does.
    void close();

private:
    intptr_t saved_ = -1, reader_ = -1, writer_ = -1;
};
