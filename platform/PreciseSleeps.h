// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// While one of these lives, a sleep of a few milliseconds lasts about as long
// as asked. A slow radio's read paces its bytes with 31 pauses of 3 ms per
// block: at Windows' default timer tick of 15.6 ms each pause would last a
// whole tick, and a read about 91 s instead of 20 s. The serial port holds
// one while it is open, which is the span of a transfer. Each system has its
// half in a file of its own (PreciseSleepsPosix.cpp, PreciseSleepsWindows.cpp).

namespace vkt {

class PreciseSleeps {
public:
    PreciseSleeps();
    ~PreciseSleeps();
    PreciseSleeps(const PreciseSleeps&) = delete;
    PreciseSleeps& operator=(const PreciseSleeps&) = delete;
    // How many are alive now.
    static int Held();
};

} // namespace vkt
