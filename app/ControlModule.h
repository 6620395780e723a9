// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up: the splash while the main window loads, the one setting read at
// start, then the main window; from there on the program runs on events.

#include "editor/frmSplash.h"
#include "editor/frmGroups.h"
#include "link/RadioLink.h"

namespace ControlModule {

// How the windows of start-up are put on the screen.
class StartUpScreen {
public:
    virtual ~StartUpScreen() = default;
    virtual void showSplash(vkteditor::frmSplash& splash) = 0;
    virtual void closeSplash(vkteditor::frmSplash& splash) = 0;
    virtual void showMain(vkteditor::frmGroups& main) = 0;
};

void Main(vkt::Platform& platform, VKTCom::RadioLink& link, vkteditor::frmSplash& splash, vkteditor::frmGroups& main,
          StartUpScreen& screen);

} // namespace ControlModule
