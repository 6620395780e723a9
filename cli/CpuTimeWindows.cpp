// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CpuTime.h"

#include <windows.h>

namespace vktcli {

namespace {

// A FILETIME span counts 100 ns.
double Seconds(const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

} // namespace

double CpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return Seconds(kernel) + Seconds(user);
}

} // namespace vktcli
