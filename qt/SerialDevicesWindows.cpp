// SPDX-License-Identifier: GPL-3.0-or-later
// What Windows tells about a serial port: nothing of rights, since a COM
// port is open to every user, and no lock file naming its holder; a port
// that is refused is held by another program (see ProblemOfOpenFailure).
#include "qt/SerialDevices.h"

namespace vktqt {

std::string PermissionAdvice(const std::string& device) { return "Another program may be using " + device + "."; }

std::string LockHolder(const std::string&) { return ""; }

} // namespace vktqt
