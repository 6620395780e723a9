// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed setup report: the title, the unit-wide settings and every
// group's settings and channels, decoded straight from the memory image.

#include <string>

#include "platform/Platform.h"

namespace vkteditor {

// reportFileName: the setup file last opened or saved ("" when none).
void PrintSetupReport(vkt::Printer& printer, const std::string& reportFileName);

} // namespace vkteditor
