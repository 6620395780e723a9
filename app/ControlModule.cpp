// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlModule.h"

#include "core/GLOBALS.h"

namespace ControlModule {

void Main(vkt::Platform& platform, VKTCom::RadioLink& link, vkteditor::frmSplash& splash, vkteditor::frmGroups& main,
          StartUpScreen& screen) {
    splash.Form_Load();
    screen.showSplash(splash);
    main.Form_Load();
    screen.closeSplash(splash);
    GLOBALS::ShowTuneWarning = platform.GetSetting(vkt::SettingsApp, "Settings", "Show Tune Warning Message", "Yes") == "Yes";
    link.RadioHooked = false;
    screen.showMain(main);
}

} // namespace ControlModule
