// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/VerticalLabel.h"

#include <QPainter>

namespace vktviews {

QSize VerticalLabel::sizeHint() const {
    const QSize s = QLabel::sizeHint();
    return {s.height(), s.width()};
}

void VerticalLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.translate(0, height());
    p.rotate(-90);
    p.drawText(QRect(0, 0, height(), width()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace vktviews
