// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CpuTime.h"

#include <sys/resource.h>

namespace vktcli {

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace vktcli
