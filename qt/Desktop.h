// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop offers, where the systems differ. Each system's half is in
// a file of its own: DesktopPosix.cpp, DesktopWindows.cpp.

#include <QString>

namespace vktqt {

// Whether windows can be shown at all: a Linux machine may have no display.
bool HasDisplay();
// The system's own information program, "" when there is none.
QString SystemInformationTool();

} // namespace vktqt
