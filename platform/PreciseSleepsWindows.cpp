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
    // Since Windows 11 the tick asked for is not honoured while the
    // program's windows are minimised or hidden, as the editor's may well be
    // during a long read, unless the process says the tick matters to it.
    // Older systems do not know the class and refuse it; they honour the
    // tick anyway.
    PROCESS_POWER_THROTTLING_STATE keepTick{.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION,
                                            .ControlMask = PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION,
                                            .StateMask = 0};
    ::SetProcessInformation(::GetCurrentProcess(), ProcessPowerThrottling, &keepTick, sizeof keepTick);
    ::timeBeginPeriod(TickMs);
}

PreciseSleeps::~PreciseSleeps() {
    ::timeEndPeriod(TickMs);
    --held;
}

int PreciseSleeps::Held() { return held; }

} // namespace vkt
