// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ChannelGrid.h"

#include <cmath>

#include "core/Text.h"

namespace vkteditor {

using vktstore::FieldValue;

std::string ChannelGrid::DisplayText(const FieldValue& v, int col) {
    switch (v.kind) {
    case FieldValue::Kind::Null: return "";
    case FieldValue::Kind::Text: return v.text;
    case FieldValue::Kind::Number:
        if (col == 1 || col == 3) {
            // "000.00000"
            const std::string t = vkt::FixedText(std::fabs(v.number), 5);
            return (v.number < 0 ? "-" : "") + vkt::PadLeft(t, 9, '0');
        }
        return vkt::NumberText(v.number);
    }
    return "";
}

std::string ChannelGrid::cellText(int row, int col) const {
    if (edit_ && edit_->row == row && edit_->col == col) return edit_->text;
    return DisplayText(table_.value(row, col), col);
}

void ChannelGrid::setCellText(int row, int col, const std::string& text) {
    if (edit_ && edit_->row == row && edit_->col == col) edit_->text = text;
    else table_.setField(row, col, text);
    if (changed) changed(row, col);
}

void ChannelGrid::beginEdit(int row, int col) {
    edit_ = Edit{row, col, DisplayText(table_.value(row, col), col)};
}

void ChannelGrid::setEditText(const std::string& text) {
    if (edit_) edit_->text = text;
}

void ChannelGrid::endEdit() {
    if (!edit_) return;
    const Edit e = *edit_;
    edit_.reset();
    table_.setField(e.row, e.col, e.text);
    if (changed) changed(e.row, e.col);
}

void ChannelGrid::cancelEdit() {
    if (!edit_) return;
    const Edit e = *edit_;
    edit_.reset();
    if (changed) changed(e.row, e.col);
}

void ChannelGrid::setColumnsSelected(bool s) {
    columnsSelected_ = s;
    if (changed) changed(-1, -1);
}

void ChannelGrid::refresh() {
    table_.refresh();
    if (changed) changed(-1, -1);
}

} // namespace vkteditor
