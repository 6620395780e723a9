// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel grid on a QTableView: cells from the bound grid model, edits
// begun and ended through the grid editing rules, keys passed on to them.

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include "editor/ChannelGrid.h"
#include "editor/GridEditor.h"

namespace vktviews {

class ChannelGridModel : public QAbstractTableModel {
public:
    explicit ChannelGridModel(vkteditor::ChannelGrid& grid, QObject* parent = nullptr);
    int rowCount(const QModelIndex& = {}) const override { return grid_.Rows(); }
    int columnCount(const QModelIndex& = {}) const override { return grid_.Cols(); }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void cellChanged(int row, int col);
    // The cell as a screen reader names it: its channel and column.
    QString cellName(int row, int col) const;

private:
    vkteditor::ChannelGrid& grid_;
};

class ChannelGridView : public QTableView {
public:
    ChannelGridView(vkteditor::ChannelGrid& grid, vkteditor::GridEditor& editor, QWidget* parent = nullptr);
    // Runs on a double-click in the grid.
    std::function<void()> onDoubleClick;
    // Runs on each key an open cell takes.
    std::function<void()> onTyped;

    // All 16 rows at their natural height and every column as wide as its
    // widest text: the grid never elides and never scrolls. Width beyond
    // that goes to the data columns.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class ChannelGridDelegate;
    void gridMoved();
    void followGrid();
    void showCells(int row, int col);
    void moveDown();
    // The width column c needs for its widest text and its heading.
    int neededWidth(int c) const;
    void fitRows();
    void spreadColumns();

    vkteditor::ChannelGrid& grid_;
    vkteditor::GridEditor& editor_;
    ChannelGridModel model_;
    // The open cell editor; Qt clears it when the editor goes.
    QPointer<QWidget> openEditor_;
    bool following_ = false;
    bool followPending_ = false;
};

// Maps a Qt key to the window models' key code (0 for keys they ignore).
int ModelKey(int qtKey);

} // namespace vktviews
