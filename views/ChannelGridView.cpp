// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ChannelGridView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>
#include <array>

#include "editor/Keys.h"

namespace vktviews {

using vkteditor::ChannelGrid;

int ModelKey(int qtKey) {
    using namespace vkteditor;
    switch (qtKey) {
    case Qt::Key_Backspace: return KeyBack;
    case Qt::Key_Tab: return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    case Qt::Key_Space: return KeySpace;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_F1: return KeyF1;
    default: break;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    return qtKey < 128 ? qtKey : 0;
}

ChannelGridModel::ChannelGridModel(ChannelGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
    const QString text = QString::fromStdString(grid_.cellText(index.row(), index.column()));
    // A screen reader says the cell with its channel and column: "Chan 3 Rec Freq: 155.0000".
    if (role == Qt::AccessibleTextRole) return cellName(index.row(), index.column()) + (text.isEmpty() ? "" : ": " + text);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return text;
}

QString ChannelGridModel::cellName(int row, int col) const {
    const QString chan = QString("Chan %1").arg(row + 1);
    return col == 0 ? chan : chan + " " + headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    static const char* const Captions[] = {"Chan", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"};
    if (orientation == Qt::Horizontal && section >= 0 && section < 6) return Captions[section];
    return {};
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

void ChannelGridModel::cellChanged(int row, int col) {
    // Every cell at once keeps the current cell where it is, as a reset would not.
    if (row < 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    else emit dataChanged(index(row, col), index(row, col));
}

// Begins and ends the grid's edits as the grid editing rules want them.
class ChannelGridDelegate : public QStyledItemDelegate {
public:
    ChannelGridDelegate(ChannelGridView& view) : QStyledItemDelegate(&view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        view_.grid_.setRow(index.row());
        view_.grid_.setCol(index.column());
        if (view_.editor_.Grid_BeforeColEdit(index.column())) return nullptr;
        view_.grid_.beginEdit(index.row(), index.column());
        auto* edit = static_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        edit->setAccessibleName(view_.model_.cellName(index.row(), index.column()));
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& t) {
            view_.grid_.setEditText(t.toStdString());
            if (view_.onTyped) view_.onTyped();
        });
        edit->installEventFilter(&view_);
        view_.openEditor_ = edit;
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        const QString t = QString::fromStdString(view_.grid_.cellText(index.row(), index.column()));
        if (edit->text() != t) edit->setText(t);
    }

    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override { view_.editor_.finishEdit(); }

private:
    ChannelGridView& view_;
};

ChannelGridView::ChannelGridView(ChannelGrid& grid, vkteditor::GridEditor& editor, QWidget* parent)
    : QTableView(parent), grid_(grid), editor_(editor), model_(grid, this) {
    setModel(&model_);
    setItemDelegate(new ChannelGridDelegate(*this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTabKeyNavigation(true);
    fitRows();
    auto previousChanged = grid_.changed;
    grid_.changed = [this, previousChanged](int row, int col) {
        if (previousChanged) previousChanged(row, col);
        showCells(row, col);
    };
    grid_.moved = [this] { gridMoved(); };
}

// Repaints changed cells, keeps an open cell editor showing its cell's text,
// and marks every cell while the columns are selected (Copy All).
void ChannelGridView::showCells(int row, int col) {
    model_.cellChanged(row, col);
    if (openEditor_ && grid_.editing() && row == grid_.editRow() && col == grid_.editCol()) {
        auto* edit = static_cast<QLineEdit*>(openEditor_.data());
        const QString t = QString::fromStdString(grid_.cellText(row, col));
        if (edit->text() != t) edit->setText(t);
    }
    if (row >= 0) return;
    // The selection model marks a range whatever the view's own selection mode.
    if (grid_.columnsSelected())
        selectionModel()->select(QItemSelection(model_.index(0, 0), model_.index(model_.rowCount() - 1, model_.columnCount() - 1)),
                                 QItemSelectionModel::Select);
    else
        selectionModel()->clearSelection();
}

// An editor closed without its text being taken (Escape) cancels the edit;
// one closed by Enter moves on to the row below.
void ChannelGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == openEditor_) {
        openEditor_ = nullptr;
        grid_.cancelEdit();
    }
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache) moveDown();
}

void ChannelGridView::moveDown() {
    const QModelIndex at = currentIndex();
    if (at.isValid() && at.row() + 1 < model_.rowCount()) setCurrentIndex(model_.index(at.row() + 1, at.column()));
}

namespace {

// The widest text each column can hold.
const char* const WidestText[] = {"16", "000.00000", "D000-", "000.00000", "D000-", "WWWWWWWW"};

} // namespace

int ChannelGridView::neededWidth(int c) const {
    // The delegate's margins around its text, as QStyledItemDelegate draws it.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int text = fontMetrics().horizontalAdvance(QString::fromLatin1(WidestText[c])) + 2 * margin;
    return std::max(text, horizontalHeader()->sectionSizeHint(c));
}

void ChannelGridView::fitRows() {
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 1);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + margin + 2);
    updateGeometry();
}

QSize ChannelGridView::minimumSizeHint() const {
    int width = 0;
    for (int c = 0; c < model_.columnCount(); ++c) width += neededWidth(c);
    const int height = horizontalHeader()->sizeHint().height() + model_.rowCount() * verticalHeader()->defaultSectionSize();
    return QSize(width, height) + QSize(2 * frameWidth(), 2 * frameWidth());
}

QSize ChannelGridView::sizeHint() const { return minimumSizeHint(); }

// Chan keeps what it needs; the data columns share the rest in proportion.
void ChannelGridView::spreadColumns() {
    std::array<int, 6> need{};
    int dataNeed = 0;
    for (int c = 0; c < 6; ++c) {
        need[static_cast<size_t>(c)] = neededWidth(c);
        if (c > 0) dataNeed += need[static_cast<size_t>(c)];
    }
    const int extra = std::max(0, viewport()->width() - need[0] - dataNeed);
    setColumnWidth(0, need[0]);
    int given = 0;
    for (int c = 1; c < 6; ++c) {
        const int share = c == 5 ? extra - given : extra * need[static_cast<size_t>(c)] / dataNeed;
        setColumnWidth(c, need[static_cast<size_t>(c)] + share);
        given += share;
    }
}

void ChannelGridView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    spreadColumns();
}

void ChannelGridView::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        fitRows();
        spreadColumns();
    }
}

// Tab walks the cells, and from the last one (Shift+Tab: the first) on to
// the next control rather than round the grid again.
bool ChannelGridView::focusNextPrevChild(bool next) {
    const QModelIndex at = currentIndex();
    const bool atEnd = next ? at.row() == model_.rowCount() - 1 && at.column() == model_.columnCount() - 1
                            : at.row() == 0 && at.column() == 0;
    if (state() != EditingState && (atEnd || !at.isValid())) return QWidget::focusNextPrevChild(next);
    return QTableView::focusNextPrevChild(next);
}

// An edit the model ended closes its editor at once. The current cell
// follows the grid's Row and Col where they come to rest: the model moves
// them to read and write each cell it shows, a group's 96 at a time, and a
// screen reader would be told of every one of those cells.
void ChannelGridView::gridMoved() {
    if (following_) return;
    if (openEditor_ && !grid_.editing()) closeEditor(openEditor_, QAbstractItemDelegate::NoHint);
    if (followPending_) return;
    followPending_ = true;
    QMetaObject::invokeMethod(this, [this] { followGrid(); }, Qt::QueuedConnection);
}

void ChannelGridView::followGrid() {
    followPending_ = false;
    following_ = true;
    const QModelIndex target = model_.index(grid_.Row(), grid_.Col());
    if (currentIndex() != target) {
        // A cell left open is taken where it stands, without the step down
        // that Enter makes: the model, not the technician, chose the cell.
        if (openEditor_) {
            commitData(openEditor_);
            closeEditor(openEditor_, QAbstractItemDelegate::NoHint);
        }
        setCurrentIndex(target);
    }
    following_ = false;
}

void ChannelGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid()) return;
    following_ = true;
    grid_.setRow(current.row());
    grid_.setCol(current.column());
    following_ = false;
}

bool ChannelGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == openEditor_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* k = static_cast<QKeyEvent*>(event);
        const int key = ModelKey(k->key());
        if (event->type() == QEvent::KeyPress) {
            if (editor_.Grid_KeyDown(key)) return true;
        } else if (!k->isAutoRepeat()) {
            editor_.Grid_KeyUp(key);
        }
    }
    return QTableView::eventFilter(watched, event);
}

void ChannelGridView::keyPressEvent(QKeyEvent* e) {
    if (editor_.Grid_KeyDown(ModelKey(e->key()))) return;
    // Enter in a cell being typed in comes here too, when its editor has
    // let it pass: the editor's closing moves down then.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (state() != EditingState) moveDown();
        return;
    }
    QTableView::keyPressEvent(e);
}

void ChannelGridView::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) editor_.Grid_KeyUp(ModelKey(e->key()));
    QTableView::keyReleaseEvent(e);
}

void ChannelGridView::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    editor_.Grid_Click();
}

void ChannelGridView::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    if (onDoubleClick) onDoubleClick();
}

} // namespace vktviews
