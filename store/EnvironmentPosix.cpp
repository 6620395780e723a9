// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>

#include "store/Environment.h"

namespace vktstore {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace vktstore
