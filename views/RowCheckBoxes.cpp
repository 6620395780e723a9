// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/RowCheckBoxes.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

#include "views/Accessibility.h"
#include "views/Binding.h"

namespace vktviews {

RowCheckBoxes::RowCheckBoxes(QTableView* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
    grid_->installEventFilter(this);
    connect(grid_->verticalHeader(), &QHeaderView::sectionResized, this, [this] { place(); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void RowCheckBoxes::addColumn(std::array<vkt::CheckBox, 16>& boxes, const QString& name, const QString& heading) {
    std::array<QCheckBox*, 16> column{};
    for (size_t r = 0; r < boxes.size(); ++r) {
        column[r] = new QCheckBox(this);
        column[r]->setObjectName(name + QString::number(r + 1));
        Bind(column[r], boxes[r]);
        NameControl(column[r], QString("Chan %1 %2").arg(r + 1).arg(heading));
    }
    columns_.push_back(column);
    updateGeometry();
    place();
}

int RowCheckBoxes::pitch() const {
    const int box = columns_.empty() ? QCheckBox().sizeHint().width() : columns_.front().front()->sizeHint().width();
    return std::max(box, fontMetrics().height()) + 4;
}

// As tall as the grid, whose rows the boxes follow.
QSize RowCheckBoxes::sizeHint() const { return {pitch() * columnCount(), grid_->sizeHint().height()}; }

bool RowCheckBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) place();
    return QWidget::eventFilter(watched, event);
}

void RowCheckBoxes::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    place();
}

void RowCheckBoxes::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    place();
}

void RowCheckBoxes::place() {
    if (grid_->parentWidget() != parentWidget()) return;
    const int step = pitch();
    for (size_t c = 0; c < columns_.size(); ++c) {
        for (int r = 0; r < 16; ++r) {
            QCheckBox* b = columns_[c][static_cast<size_t>(r)];
            const QSize size = b->sizeHint();
            const int rowTop = grid_->viewport()->mapTo(parentWidget(), QPoint(0, grid_->rowViewportPosition(r))).y() - y();
            b->setGeometry(static_cast<int>(c) * step + (step - size.width()) / 2, rowTop + (grid_->rowHeight(r) - size.height()) / 2,
                           size.width(), size.height());
        }
    }
}

} // namespace vktviews
