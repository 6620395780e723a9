// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/SplashView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

SplashView::SplashView(vkteditor::frmSplash& model) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    auto* frame = new QVBoxLayout(this);
    QLabel* product = NewLabel(this, model.lblProductName);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    frame->addWidget(product, 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblVersion), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCompanyProduct), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblPlatform), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCompanyName), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCopyright), 0, Qt::AlignHCenter);
    frame->setContentsMargins(QMargins(4, 2, 4, 2) * fontMetrics().averageCharWidth());
    setStyleSheet("SplashView { border: 2px solid palette(dark); }");
    CentreOnScreen(this);
}

} // namespace vktviews
