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
    switch (platform_.MsgBox(SaveQuestion, vkt::Buttons::YesNoCancel, vkt::Icon::None)) {
    case vkt::Answer::Cancel: return true;
    case vkt::Answer::Yes: mnuSave_Click(); break;
    default: break;
    }
    setVisible(false);
    globals_.reset();
    loaded_ = false;
    return false;
}

} // namespace vkteditor
