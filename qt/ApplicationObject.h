// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt application object a run needs, and no more: a command-line run
// touches no window system at all, a PDF report gets fonts and a painter on
// the offscreen platform, and only the editor's windows need a display.

#include <QCoreApplication>

#include <memory>

namespace vktqt {

enum class Needs { Nothing, Drawing, Windows };

// argc must outlive the returned object, as for any Qt application object.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, Needs needs);

} // namespace vktqt
