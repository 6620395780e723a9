// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frmProc.h"

namespace VKTCom {

namespace {
// The window stands this far right of and below the main window's corner.
constexpr int OffsetTwips = 500;
} // namespace

frmProc::frmProc(vkt::Platform& platform, vkt::Window& owner)
    : vkt::Window("VKT Processing"), platform_(platform), owner_(owner) {
    setVisible(false);
    resize(4500, 1800);
}

void frmProc::load() {
    if (loaded_) return;
    loaded_ = true;
    Prog1.setValue(0);
    ownerWasEnabled_ = owner_.Enabled();
    owner_.setEnabled(false);
}

void frmProc::place() { move(owner_.Left() + OffsetTwips, owner_.Top() + OffsetTwips); }

void frmProc::ShowForm(const std::string& text, bool isWrite) {
    load();
    isWrite_ = isWrite;
    Prog1Name.setCaption(isWrite ? "Writing radio" : "Reading radio");
    place();
    lblInfo.setCaption(text + RadioNote);
    CancelButton.setEnabled(false);
    Cancelled = false;
    setVisible(true);
}

void frmProc::ShowPleaseWait(const std::string& text) {
    load();
    place();
    lblInfo.setCaption(text + RadioNote);
    setVisible(true);
}

void frmProc::EnableCancel() {
    Cancelled = false;
    CancelButton.setEnabled(true);
}

void frmProc::CancelButton_Click() {
    if (!loaded_ || !CancelButton.Enabled()) return;
    if (isWrite_) {
        if (platform_.MsgBox(CancelWriteQuestion, vkt::Buttons::YesNo, vkt::Icon::Question) == vkt::Answer::Yes)
            Cancelled = true;
    } else {
        Cancelled = true;
    }
}

void frmProc::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    setVisible(false);
    if (ownerWasEnabled_) owner_.setEnabled(true);
}

} // namespace VKTCom
