// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the file tests make that only some systems have, each system's half
// in a file of its own (SystemCallsPosix.cpp, SystemCallsWindows.cpp). A
// test that needs what this system lacks is skipped there, saying so.

#include <string>

namespace vkttest {

// Makes a FIFO; false where the system has none.
bool MakeFifo(const std::string& path);
// Opens the FIFO for writing, and closes it, if a reader waits on it.
void PokeFifo(const std::string& path);
// Makes a node of the null device; false unless root on POSIX.
bool MakeDevice(const std::string& path);
// The name that opens the null device.
const char* NullDevice();
// Sets the permission bits new files leave out; the old ones.
unsigned SetUmask(unsigned mask);
bool RunningAsRoot();
bool SetOwner(const std::string& path, unsigned owner, unsigned group);
// Files this process writes may grow to at most bytes (0 for no limit);
// false where the system cannot limit them.
bool LimitFileSize(long long bytes);
// Holds the file open as another program would, one that lets nobody
// else at it where the system has such a thing; -1 when it cannot.
int HoldFile(const std::string& path);
void ReleaseFile(int held);
void SetEnvironment(const std::string& name, const std::string& value);
// The time zone local times are in, as TZ names it; nullptr for the system's.
void SetTimeZone(const char* zone);
// Whether a symbolic link can be made in the folder.
bool CanLink(const std::string& folder);

} // namespace vkttest
