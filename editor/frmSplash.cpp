// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmSplash.h"

#include "editor/Version.h"
#include "platform/Platform.h"

namespace vkteditor {

std::string VersionText() {
    return "Version " + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." + std::to_string(VersionRevision);
}

frmSplash::frmSplash() : vkt::Window("") {
    setVisible(false);
    resize(6000, 3600);
}

void frmSplash::Form_Load() {
    lblVersion.setCaption(VersionText());
    lblProductName.setCaption(vkt::AppTitle);
}

} // namespace vkteditor
