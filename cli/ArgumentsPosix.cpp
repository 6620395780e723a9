// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

namespace vktcli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

} // namespace vktcli
