// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plain facts in which the systems the program runs on differ. Each
// system's values are in a file of its own (SystemPosix.cpp,
// SystemWindows.cpp), chosen by the build; code that differs by system takes
// the system as a parameter, so that both ways are tested everywhere.

namespace vkt {

enum class SystemKind { Posix, Windows };

// The system this program was built for.
extern const SystemKind ThisSystem;
// What a program's file name ends in: ".exe" on Windows, nothing elsewhere.
extern const char* const ProgramSuffix;

} // namespace vkt
