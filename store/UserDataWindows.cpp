// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/DataFolder.h"
#include "store/Environment.h"

namespace vktstore {

std::string UserApplicationData() { return Environment("APPDATA"); }

} // namespace vktstore
