// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>

#include "store/Environment.h"
#include "store/Paths.h"

namespace vktstore {

// Read from the process's own UTF-16 block rather than the C runtime's
// copies, whose wide one may have been made from the ANSI one and so have
// lost what the code page could not hold.
std::string Environment(const char* name) {
    const std::wstring wide = PathOf(name).wstring();
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD n = ::GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) return "";
        if (n < value.size()) {
            value.resize(n);
            return Utf8Of(std::filesystem::path(value));
        }
        value.resize(n);  // n counts the terminating null when too small
    }
}

} // namespace vktstore
