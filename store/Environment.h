// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's environment, as UTF-8 like every other text it keeps.
// Windows hands a narrow getenv() its variables in the ANSI code page, where
// a folder under C:\Users\Jörg comes out as bytes that are no UTF-8 and a
// CJK name as question marks; each system's half is in a file of its own.

#include <string>

namespace vktstore {

// The variable's value; empty when it is not set.
std::string Environment(const char* name);

} // namespace vktstore
