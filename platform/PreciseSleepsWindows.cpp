// SPDX-License-Identifier: GPL-3.0-or-later
// Windows wakes a sleeper at its timer's tick, 15.6 ms by default. Asking
// for a 1 ms tick (timeBeginPeriod) makes Sleep(3) last 3 to 4 ms; the tick
// costs power, so it is asked for only while a port is open and given back
// (timeEndPeriod, with the same period) when the port closes.
#include "platform/PreciseSleeps.h"

#include <windows.h>
#include <timeapi.h>

namespace vkt {

namespace {
constexpr UINT TickMs = 1;
int held = 0;
} // namespace

PreciseSleeps::PreciseSleeps() {
    ++held;
    ::timeBeginPeriod(TickMs);
}

PreciseSleeps::~PreciseSleeps() {
    ::timeEndPeriod(TickMs);
    --held;
}

int PreciseSleeps::Held() { return held; }

} // namespace vkt
