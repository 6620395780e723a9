// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ElidedLabel.h"

namespace vktviews {

ElidedLabel::ElidedLabel(int columns, QWidget* parent) : QLabel(parent), columns_(columns) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    elide();
}

QSize ElidedLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    return {fontMetrics().averageCharWidth() * columns_ + m.left() + m.right(), fontMetrics().height() + m.top() + m.bottom()};
}

void ElidedLabel::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, contentsRect().width());
    if (shown != text()) setText(shown);
    setToolTip(shown == full_ ? QString() : full_);
}

} // namespace vktviews
