// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmMove.h"

#include <string>
#include <vector>

#include "core/Text.h"
#include "editor/clsMoves.h"

namespace vkteditor {

namespace {

std::vector<std::string> Banks() {
    std::vector<std::string> items;
    for (int b = 1; b <= 15; ++b) items.push_back(std::to_string(b));
    return items;
}

} // namespace

frmMove::frmMove() : vkt::Window("Move Banks"), cboFromBank(Banks(), "15"), cboToBank(Banks(), "1") {
    setVisible(false);
    resize(3300, 1800);
}

void frmMove::Show() {
    if (!Visible()) setVisible(true);
}

void frmMove::btnMoveOK_Click() {
    fromBank = vkt::ToInt(vkt::Val(cboFromBank.Text()));
    toBank = vkt::ToInt(vkt::Val(cboToBank.Text()));
    // A bank number outside 1 ... 15, typed or listed, moves nothing; nor
    // does a bank onto itself. Then the main window keeps what it shows,
    // unsaved edits included, as after Cancel.
    const bool moves = fromBank != toBank && IsBank(fromBank) && IsBank(toBank);
    if (moves) clsMoves().moveGroups(fromBank, toBank);
    setVisible(false);
    if (moves && afterMove) afterMove();
}

} // namespace vkteditor
