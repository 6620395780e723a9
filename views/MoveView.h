// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Move Banks: which group goes where; only OK moves.

#include <QDialog>

#include "editor/frmMove.h"

namespace vktviews {

class MoveView : public QDialog {
public:
    MoveView(vkteditor::frmMove& model, QWidget* owner);

protected:
    void reject() override;

private:
    vkteditor::frmMove& m_;
};

} // namespace vktviews
