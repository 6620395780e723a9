// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Move Banks" dialog: a bank's channels to another bank position.

#include <functional>

#include "platform/Controls.h"

namespace vkteditor {

class frmMove : public vkt::Window {
public:
    frmMove();

    vkt::Label lblFromBank{"From Bank"};
    vkt::ComboBox cboFromBank;
    vkt::Label lblToBank{"To Bank"};
    vkt::ComboBox cboToBank;
    vkt::Button btnMoveOK{"OK"};
    vkt::Button btnMoveCancel{"Cancel"};

    int fromBank = 0;
    int toBank = 0;

    // Shows the dialog (modal) unless it is already showing.
    void Show();
    void btnMoveOK_Click();
    // Leaves without moving, and the main window keeps what it shows.
    void btnMoveCancel_Click() { setVisible(false); }
    // Runs after a move: the main window shows its group again.
    std::function<void()> afterMove;
};

} // namespace vkteditor
