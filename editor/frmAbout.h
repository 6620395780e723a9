// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about window: title, version, what the program is, and a way to the
// system information tool.

#include "platform/Controls.h"
#include "platform/Platform.h"

namespace vkteditor {

class frmAbout : public vkt::Window {
public:
    explicit frmAbout(vkt::Platform& platform);
    void Form_Load();

    vkt::Label lblTitle, lblVersion;
    vkt::Label lblDescription{"VKTEDWIN - An editor for programming VKT series Radios."};
    vkt::Label lblDisclaimer;
    vkt::Button cmdOK{"OK"};
    vkt::Button cmdSysInfo{"&System Info..."};

    void cmdOK_Click() { setVisible(false); }
    void cmdSysInfo_Click() { StartSysInfo(); }
    void StartSysInfo();

    static constexpr const char* Unavailable = "System Information Is Unavailable At This Time";

private:
    vkt::Platform& platform_;
};

} // namespace vkteditor
