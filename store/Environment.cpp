// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Environment.h"

#include <cstdlib>

namespace vktstore {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace vktstore
