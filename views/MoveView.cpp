// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/MoveView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

MoveView::MoveView(vkteditor::frmMove& model, QWidget* owner) : QDialog(owner), m_(model) {
    auto* layout = new QGridLayout(this);
    int row = 0;
    for (const auto& [label, list, name] : {std::tuple{&model.lblFromBank, &model.cboFromBank, "cboFromBank"},
                                            std::tuple{&model.lblToBank, &model.cboToBank, "cboToBank"}}) {
        QLabel* l = NewLabel(this, *label);
        QComboBox* box = NewCombo(this, *list, name, true);
        NameByLabel(l, box);
        layout->addWidget(l, row, 0);
        layout->addWidget(box, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    Bind(ok, model.btnMoveOK, [&model] { model.btnMoveOK_Click(); });
    Bind(cancel, model.btnMoveCancel, [&model] { model.btnMoveCancel_Click(); });
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    FollowWindow(this, model, true, Placement::Centred);
}

// Esc and the close box are Cancel.
void MoveView::reject() { m_.btnMoveCancel_Click(); }

} // namespace vktviews
