// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label whose text runs upwards, for the headings of the narrow check-box
// columns beside the grid.

#include <QLabel>

namespace vktviews {

class VerticalLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace vktviews
