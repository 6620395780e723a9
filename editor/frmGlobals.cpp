// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmGlobals.h"

namespace vkteditor {

frmGlobals::frmGlobals(vkt::Platform& platform) : vkt::Window("Group '0' Globals  -  VKT Editor   "), platform_(platform) {
    setVisible(false);
    for (size_t p = 0; p < lblPos.size(); ++p) lblPos[p].setCaption(std::to_string(p + 1));
    chkSample.setValue(1);
    resize(9600, 7200);
}

void frmGlobals::Show() {
    if (!loaded_) {
        globals_ = std::make_unique<VKTCore::clsGlobals>(*this);
        setVisible(true);
        loaded_ = true;
        globals_->Read_Globals();
        return;
    }
    setVisible(true);
}

void frmGlobals::mnuSave_Click() {
    if (globals_) globals_->Write_Globals();
    setVisible(false);
}

void frmGlobals::mnuExit_Click() { setVisible(false); }

void frmGlobals::mnuReadSettings_Click() {
    if (globals_) globals_->Read_Globals();
}

bool frmGlobals::Form_QueryUnload() {
    const vkt::Answer answer = platform_.MsgBox(SaveQuestion, vkt::Buttons::YesNoCancel, vkt::Icon::None);
    if (answer == vkt::Answer::Cancel) return true;
    Unload(answer == vkt::Answer::Yes);
    return false;
}

void frmGlobals::Unload(bool save) {
    if (save) mnuSave_Click();
    setVisible(false);
    globals_.reset();
    loaded_ = false;
}

} // namespace vkteditor
