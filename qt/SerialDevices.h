// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a serial device would not open, in words a technician can act on. What
// the system itself can tell (who may use a device, who holds it) is in a
// file per system: SerialDevicesPosix.cpp, SerialDevicesWindows.cpp.

#include <string>

#include "platform/System.h"

namespace vktqt {

// Who may use a device: its group and mode, and the group to join.
std::string PermissionAdvice(const std::string& device);
// Who holds the device's lock where the system keeps one: "process 4242,
// minicom" while that process lives, else "".
std::string LockHolder(const std::string& device);

// What the emulated radio's port says when the emulator could not be started.
inline constexpr const char* EmulatorNotRunning = "the built-in radio emulator is not running: it could not be started";
// What it says when the emulated radio runs inside this program.
inline constexpr const char* EmulatorInside = "the built-in radio emulator, inside this program";

enum class OpenProblem { Other, PermissionDenied, InUse };
// What stood in the way, from what the serial port reported: access refused,
// or the device busy (or locked by another program).
OpenProblem ProblemOfOpenFailure(bool accessRefused, bool busy, vkt::SystemKind system);
// Why a port would not open, in words a technician can act on; holder: who
// has it open, where the system tells ("process 4242, minicom"); given: the
// user gave the device as it is, so that no Comm Port stands for it.
std::string OpenFailureText(int port, const std::string& device, const std::string& reason, OpenProblem problem,
                            const std::string& holder = "", bool given = false);

} // namespace vktqt
