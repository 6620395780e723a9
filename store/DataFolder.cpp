// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DataFolder.h"

#include "store/Environment.h"

namespace vktstore {

std::string DataFolder() {
    const std::string chosen = Environment("VKT_DATA_DIR");
    // Organisation and application, as the window system's settings name them.
    return chosen.empty() ? UserApplicationData() + "/VKTEDWIN/VKTEDWIN" : chosen;
}

} // namespace vktstore
