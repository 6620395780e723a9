// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DataFolder.h"
#include "store/Environment.h"

namespace vktstore {

std::string UserApplicationData() {
    const std::string xdg = Environment("XDG_DATA_HOME");
    return xdg.empty() ? Environment("HOME") + "/.local/share" : xdg;
}

} // namespace vktstore
