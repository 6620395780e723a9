// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vkt's arguments after its own name, as UTF-8 like every other text it
// keeps. Windows hands main() its arguments in the ANSI code page, where
// "café ü.vkt" arrives as bytes that are no UTF-8 and a CJK name as question
// marks; there they are taken from the UTF-16 command line instead. Each
// system's half is in a file of its own.

#include <string>
#include <vector>

namespace vktcli {

std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace vktcli
