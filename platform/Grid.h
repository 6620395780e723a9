// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cell interface of a grid: choose a column, choose a row, then read or
// write the text of that cell. The channel codecs speak to the main window's
// grid only through this.

#include <functional>
#include <string>
#include <vector>

namespace vkt {

class Grid {
public:
    virtual ~Grid() = default;

    virtual int Rows() const = 0;
    virtual int Cols() const = 0;

    int Col() const { return col_; }
    int Row() const { return row_; }
    void setCol(int c) { col_ = c; if (moved) moved(); }
    void setRow(int r) { row_ = r; if (moved) moved(); }

    // The text of the current cell.
    std::string Text() const { return cellText(row_, col_); }
    void setText(const std::string& t) { setCellText(row_, col_, t); }

    virtual std::string cellText(int row, int col) const = 0;
    virtual void setCellText(int row, int col, const std::string& text) = 0;

    // Called after a cell changed (-1, -1: any cell); the view repaints from it.
    std::function<void(int row, int col)> changed;
    // Called after the current cell moved.
    std::function<void()> moved;

private:
    int col_ = 0;
    int row_ = 0;
};

// A grid that keeps its cells in memory.
class TextGrid : public Grid {
public:
    TextGrid(int rows, int cols)
        : rows_(rows), cols_(cols), cells_(static_cast<size_t>(rows * cols)) {}
    int Rows() const override { return rows_; }
    int Cols() const override { return cols_; }
    std::string cellText(int row, int col) const override { return cells_.at(index(row, col)); }
    void setCellText(int row, int col, const std::string& text) override {
        cells_.at(index(row, col)) = text;
        if (changed) changed(row, col);
    }
private:
    size_t index(int row, int col) const {
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }
    int rows_;
    int cols_;
    std::vector<std::string> cells_;
};

} // namespace vkt
