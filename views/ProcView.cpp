// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ProcView.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

ProcView::ProcView(VKTCom::frmProc& model, QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint) {
    // The main window takes no input while this shows. Its controls are not
    // disabled one by one: each would tell a screen reader it changed, twice
    // a transfer, and the reader would drop the result said after them.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(this);
    auto* bar = new QProgressBar(this);
    auto* cancel = new QPushButton(this);
    Bind(info, model.lblInfo);
    Bind(bar, model.Prog1);
    OnChange(bar, model.Prog1Name, [bar, &model] { bar->setAccessibleName(Qs(model.Prog1Name.Caption())); });
    Bind(cancel, model.CancelButton, [&model] { model.CancelButton_Click(); });
    layout->addWidget(info);
    layout->addWidget(bar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    bar->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Over the main window, 500 twips right of and below its corner.
    OnChange(this, model, [this, owner] {
        if (owner) move(owner->geometry().topLeft() + QPoint(Px(500), Px(500)));
    });
    FollowWindow(this, model);
}

void ProcView::closeEvent(QCloseEvent* e) { e->ignore(); }

} // namespace vktviews
