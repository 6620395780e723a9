// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one reader of its environment.

#include <string>

namespace vktstore {

// The value of the environment variable `name` as UTF-8; empty when unset.
std::string Environment(const char* name);

} // namespace vktstore
