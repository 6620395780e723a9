// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The processor time this process has used, user and system together, in
// seconds; each system's half is in a file of its own (CpuTimePosix.cpp,
// CpuTimeWindows.cpp).

namespace vktcli {

double CpuSeconds();

} // namespace vktcli
