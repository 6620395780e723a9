#include "views/MoveView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

MoveView::MoveView(vkteditor::frmMove& model, QWidget* owner) : QDialog(owner), m_(model) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(NewLabel(this, model.lblFromBank), 0, 0);
    layout->addWidget(NewCombo(this, model.cboFromBank, "cboFromBank", true), 0, 1);
    layout->addWidget(NewLabel(this, model.lblToBank), 1, 0);
    layout->addWidget(NewCombo(this, model.cboToBank, "cboToBank", true), 1, 1);
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
