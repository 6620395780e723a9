// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scan-list, narrow-band and low-power boxes of the 16 channels beside
// the grid, each box level with its row whatever height the rows have.

#include <QWidget>

#include <array>
#include <vector>

#include "platform/Controls.h"

class QCheckBox;
class QTableView;

namespace vktviews {

class RowCheckBoxes : public QWidget {
public:
    RowCheckBoxes(QTableView* grid, QWidget* parent);

    // A column of one box per grid row; its boxes are named name1 ... name16,
    // and a screen reader says them with their channel and heading:
    // "Chan 3 SCAN List".
    void addColumn(std::array<vkt::CheckBox, 16>& boxes, const QString& name, const QString& heading);
    QCheckBox* box(int column, int row) const { return columns_.at(static_cast<size_t>(column)).at(static_cast<size_t>(row)); }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    // How far apart the columns stand; their headings use it too.
    int pitch() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void place();

    QTableView* grid_;
    std::vector<std::array<QCheckBox*, 16>> columns_;
};

} // namespace vktviews
