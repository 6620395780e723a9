// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "store/Paths.h"
#include "tests/support/SystemCalls.h"

namespace vkttest {

bool MakeFifo(const std::string&) { return false; }
void PokeFifo(const std::string&) {}
bool MakeDevice(const std::string&) { return false; }
const char* NullDevice() { return "NUL"; }
unsigned SetUmask(unsigned) { return 0; }
bool RunningAsRoot() { return false; }
bool SetOwner(const std::string&, unsigned, unsigned) { return false; }
bool LimitFileSize(long long) { return false; }

void SetEnvironment(const std::string& name, const std::string& value) { ::_wputenv_s(vktstore::PathOf(name).c_str(), vktstore::PathOf(value).c_str()); }

void SetTimeZone(const char* zone) {
    ::_putenv_s("TZ", zone ? zone : "");
    ::_tzset();
}

// Shares nothing: a scanner opening a file to read it whole.
int HoldFile(const std::string& path) {
    const HANDLE h = ::CreateFileW(vktstore::PathOf(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? -1 : static_cast<int>(reinterpret_cast<intptr_t>(h));
}

void ReleaseFile(int held) { ::CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(held))); }

// Making one takes a privilege (or developer mode) most users lack.
bool CanLink(const std::string& folder) {
    const auto link = vktstore::PathOf(folder) / "can-link";
    std::error_code ec;
    std::filesystem::create_symlink(vktstore::PathOf(folder), link, ec);
    if (ec) return false;
    std::filesystem::remove(link, ec);
    return true;
}

} // namespace vkttest
