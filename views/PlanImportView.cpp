// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PlanImportView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

PlanImportView::PlanImportView(vkteditor::frmPlanImport& model, QWidget* owner) : QDialog(owner), m_(model) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(NewLabel(this, model.lblPlan), 0, 0, 1, 2);
    QLabel* groupLabel = NewLabel(this, model.lblGroup);
    layout->addWidget(groupLabel, 1, 0);
    auto* group = new QComboBox(this);
    group->setObjectName("cboGroup");
    NameByLabel(groupLabel, group);
    Bind(group, model.cboGroup, [&model] { model.cboGroup_Click(); });
    layout->addWidget(group, 1, 1);
    auto* cut = new QCheckBox(this);
    cut->setObjectName("chkCutNames");
    Bind(cut, model.chkCutNames, [&model] { model.chkCutNames_Click(); });
    layout->addWidget(cut, 2, 0, 1, 2);
    // A long refusal or list of channels scrolls rather than being cut off at the dialog's edge.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("scrChanges");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    QLabel* changes = NewLabel(scroll, model.lblChanges);
    changes->setObjectName("lblChanges");
    changes->setWordWrap(true);
    changes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    changes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    scroll->setWidget(changes);
    NameControl(scroll, "What the import replaces");
    layout->addWidget(scroll, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    Bind(ok, model.btnImportOK, [&model] { model.btnImportOK_Click(); });
    Bind(cancel, model.btnImportCancel, [&model] { model.btnImportCancel_Click(); });
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setRowStretch(3, 1);
    FollowWindow(this, model, true, Placement::Centred);
}

// Esc and the close box are Cancel.
void PlanImportView::reject() { m_.btnImportCancel_Click(); }

} // namespace vktviews
