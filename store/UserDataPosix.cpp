// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DataFolder.h"
#include "store/Environment.h"

namespace vktstore {

std::string UserApplicationData() {
    // A relative folder here is not valid, and is ignored as unset.
    const std::string xdg = Environment("XDG_DATA_HOME");
    return xdg.starts_with('/') ? xdg : Environment("HOME") + "/.local/share";
}

} // namespace vktstore
