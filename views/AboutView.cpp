// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AboutView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

AboutView::AboutView(vkteditor::frmAbout& model, QWidget* owner) : QDialog(owner) {
    setWindowTitle(Qs(model.Caption()));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    // The program's own icon, as the editor sets it for every window.
    icon->setPixmap(windowIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    QLabel* title = NewLabel(this, model.lblTitle);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    title->setFont(f);
    layout->addWidget(title, 0, 1);
    layout->addWidget(NewLabel(this, model.lblVersion), 1, 1);
    layout->addWidget(NewLabel(this, model.lblDescription), 2, 1);
    layout->addWidget(NewLabel(this, model.lblDisclaimer), 3, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(this);
    auto* sys = new QPushButton(this);
    Bind(ok, model.cmdOK, [this, &model] {
        model.cmdOK_Click();
        accept();
    });
    Bind(sys, model.cmdSysInfo, [&model] { model.cmdSysInfo_Click(); });
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sys);
    layout->addLayout(buttons, 4, 0, 1, 2);
    // What a screen reader says as the box opens: left to itself it would
    // pick among the labels and leave out the version, which is what the
    // technician opened the box to hear.
    const auto describe = [this, &model] {
        setAccessibleDescription(Qs(model.lblTitle.Caption() + ", " + model.lblVersion.Caption() + ". " + model.lblDescription.Caption()));
    };
    for (vkt::Label* l : {&model.lblTitle, &model.lblVersion, &model.lblDescription}) OnChange(this, *l, describe);
}

} // namespace vktviews
