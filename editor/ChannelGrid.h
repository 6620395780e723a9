// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's channel grid, bound to the channel table: what the codecs
// or the user put into a cell is a field of tblChannel. While a cell is being
// edited its text is the text in the editor, as the grid shows it.

#include <optional>
#include <string>

#include "platform/Grid.h"
#include "store/ChannelTable.h"

namespace vkteditor {

class ChannelGrid : public vkt::Grid {
public:
    explicit ChannelGrid(vktstore::ChannelTable& table) : table_(table) {}

    int Rows() const override { return vktstore::ChannelRows; }
    int Cols() const override { return 6; }
    std::string cellText(int row, int col) const override;
    void setCellText(int row, int col, const std::string& text) override;

    // The cell being edited, if any.
    bool editing() const { return edit_.has_value(); }
    int editRow() const { return edit_ ? edit_->row : -1; }
    int editCol() const { return edit_ ? edit_->col : -1; }
    void beginEdit(int row, int col);
    // What the user has typed so far.
    void setEditText(const std::string& text);
    // Stores the edited text in the table.
    void endEdit();
    void cancelEdit();

    // The column selection (Copy All marks every column).
    bool columnsSelected() const { return columnsSelected_; }
    void setColumnsSelected(bool s);

    // Reads the table again (after the Load commands).
    void refresh();
    vktstore::ChannelTable& table() { return table_; }

    // The frequency columns show numbers with five decimals.
    static std::string DisplayText(const vktstore::FieldValue& v, int col);

private:
    struct Edit { int row; int col; std::string text; };
    vktstore::ChannelTable& table_;
    std::optional<Edit> edit_;
    bool columnsSelected_ = false;
};

} // namespace vkteditor
