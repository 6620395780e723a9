// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window shown while the main window loads.

#include "platform/Controls.h"

namespace vkteditor {

class frmSplash : public vkt::Window {
public:
    frmSplash();
    void Form_Load();

    vkt::Label lblProductName, lblVersion;
    vkt::Label lblCompanyProduct{"VKTEDWIN.EXE"};
    vkt::Label lblPlatform{"for Windows 95"};
    vkt::Label lblCompanyName{"The VKT Editor developers"};
    vkt::Label lblCopyright{"2026"};
};

// "Version 2.5.0"
std::string VersionText();

} // namespace vkteditor
