// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmAbout.h"

#include "editor/frmSplash.h"
#include "store/FileOpenSave.h"

namespace vkteditor {

frmAbout::frmAbout(vkt::Platform& platform) : vkt::Window("About VKTEDWIN"), platform_(platform) {
    setVisible(false);
    lblDisclaimer.setCaption(vktstore::MakerNotice);
    resize(5700, 3000);
}

void frmAbout::Form_Load() {
    lblTitle.setCaption(vkt::AppTitle);
    lblVersion.setCaption(VersionText());
}

void frmAbout::StartSysInfo() {
    if (!platform_.StartSystemInformation()) platform_.MsgBox(Unavailable, vkt::Buttons::OK, vkt::Icon::None);
}

} // namespace vkteditor
