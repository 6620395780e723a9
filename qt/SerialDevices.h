// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a serial device would not open, in words a technician can act on.

#include <string>

namespace vktqt {

// Who may use a device: its group and mode, and the group to join.
std::string PermissionAdvice(const std::string& device);

// What the emulated radio's port says when the emulator could not be started.
inline constexpr const char* EmulatorNotRunning = "the built-in radio emulator is not running: it could not be started";

enum class OpenProblem { Other, PermissionDenied, InUse };
// Why a port would not open, in words a technician can act on; holder: who
// has it open, where the system tells ("process 4242, minicom").
std::string OpenFailureText(int port, const std::string& device, const std::string& reason, OpenProblem problem,
                            const std::string& holder = "");

} // namespace vktqt
