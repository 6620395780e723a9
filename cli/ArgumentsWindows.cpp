// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <filesystem>

#include "cli/Arguments.h"
#include "store/Paths.h"

namespace vktcli {

// argv is the ANSI copy of what the command line below holds whole.
std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(vktstore::Utf8Of(std::filesystem::path(wide[i])));
    ::LocalFree(wide);
    return args;
}

} // namespace vktcli
