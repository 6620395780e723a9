// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ClipboardCommands.h"

#include <algorithm>
#include <optional>

#include "core/ChannelCodes.h"
#include "core/Text.h"
#include "editor/Keys.h"

namespace vkteditor {

namespace {

constexpr char Tab = '\t';
constexpr char CR = '\r';

// The characters before the first separator; they and it leave the text.
// Without a separator the field is the whole text and nothing leaves it.
std::string TakeField(std::string& text, char separator) {
    const size_t at = text.find(separator);
    if (at == std::string::npos) return text;
    std::string field = text.substr(0, at);
    text.erase(0, at + 1);
    return field;
}

// A frequency on its channel step ("000.00" for none), a tone with its
// leading zeros; a number with no encoding as it is.
std::string ShownNumber(int col, double v) {
    const std::string text = vkt::NumberText(v);
    if (col == vkt::ColRecFreq || col == vkt::ColTxFreq) {
        const auto steps = VKTCore::FreqTextToSteps(text);
        return steps ? VKTCore::strHexToFreq(*steps) : GridEditor::FrequencyText(v);
    }
    const auto code = VKTCore::CGTextToCode(text);
    return code ? VKTCore::CGCodeToText(*code) : text;
}

// The text a pasted field gives the cell of column col (1 ... 4), or nothing
// when the cell's check refuses it as it refuses it typed. A field that
// starts at or after "D" (a digital code) is taken as text, any other as
// its number.
std::optional<std::string> PastedText(int col, const std::string& field) {
    const bool code = !field.empty() && static_cast<unsigned char>(field[0]) >= 'D';
    if (col == vkt::ColRecFreq || col == vkt::ColTxFreq) {
        const auto mhz = code ? std::nullopt : VKTCore::TypedFrequency(vkt::Val(field));
        if (!mhz) return std::nullopt;
        return ShownNumber(col, *mhz);
    }
    std::string text = code ? field : ShownNumber(col, vkt::Val(field));
    if (!VKTCore::CGTextToCode(text)) return std::nullopt;
    return text;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

// "row 3", "rows 3 and 7", "rows 1, 3 and 7".
std::string RowsText(const std::vector<int>& rows) {
    std::vector<std::string> numbers;
    for (int r : rows) numbers.push_back(std::to_string(r + 1));
    return (rows.size() == 1 ? "row " : "rows ") + Listed(numbers);
}

std::string RowsCountText(int rows) { return std::to_string(rows) + (rows == 1 ? " row" : " rows"); }

} // namespace

void ClipboardCommands::reset() {
    allCopied = false;
    rowCopied = false;
    copiedLength = -1;
    mnuPaste_.setEnabled(false);
    lastOffset.clear();
}

std::string ClipboardCommands::rowToText(int r) {
    std::string text;
    for (int col = 0; col < 6; ++col) text += grid_.cellText(r, col) + Tab;
    const auto i = static_cast<size_t>(r);
    text += std::to_string(c_.chkScan[i].Value()) + Tab + std::to_string(c_.chkNarr[i].Value()) + Tab +
            std::to_string(c_.chkLoPower[i].Value()) + CR;
    return text;
}

std::string ClipboardCommands::copyAllRows() {
    std::string text;
    for (int r = 0; r < grid_.Rows(); ++r) text += rowToText(r);
    return text;
}

void ClipboardCommands::putOnClipboard(const std::string& text) {
    copiedLength = static_cast<int>(vkt::CharCount(text));
    platform_.ClipboardClear();
    platform_.ClipboardSetText(text);
    mnuPaste_.setEnabled(true);
}

void ClipboardCommands::mnuRow_Click() {
    rowCopied = true;
    allCopied = false;
    putOnClipboard(rowToText(grid_.Row()));
}

void ClipboardCommands::copyAll() {
    grid_.setColumnsSelected(true);
    putOnClipboard(copyAllRows());
}

void ClipboardCommands::mnuAll_Click() {
    copyAll();
    allCopied = true;
    rowCopied = false;
}

void ClipboardCommands::Grid_DblClick() { copyAll(); }

void ClipboardCommands::mnuPaste_Click() {
    const std::string text = platform_.ClipboardGetText();
    // Only what this window itself put there is pasted, told by its length.
    if (static_cast<int>(vkt::CharCount(text)) != copiedLength) {
        platform_.MsgBox(NothingCopied, vkt::Buttons::OK, vkt::Icon::None);
        return;
    }
    if (rowCopied) paste(grid_.Row(), 1, [&] { pasteRow(text, grid_.Row()); });
    else if (allCopied) paste(0, grid_.Rows(), [&] { pasteAllRows(text); });
}

void ClipboardCommands::paste(int firstRow, int rows, const std::function<void()>& pasteRows) {
    beforePaste_.clear();
    for (int r = firstRow; r < firstRow + rows; ++r) {
        const auto i = static_cast<size_t>(r);
        RowBefore before{r, {}, {c_.chkScan[i].Value(), c_.chkNarr[i].Value(), c_.chkLoPower[i].Value()}};
        for (int col = vkt::ColRecFreq; col <= vkt::ColChLabel; ++col) before.cells.push_back(grid_.cellText(r, col));
        beforePaste_.push_back(std::move(before));
    }
    refused_.clear();
    pasteRows();
    editor_.undoPaste = true;
    if (!refused_.empty()) tellRefused(rows);
    else if (told) told("Pasted " + RowsCountText(rows) + " (Undo puts them back)");
}

void ClipboardCommands::tellRefused(int rows) {
    platform_.Beep();
    // Every row took its label, its boxes and the cells that passed. The
    // refused cells come first and short, for a status bar that shows only
    // the start of a long text; what their columns take follows.
    std::vector<std::string> columns, cells, rules;
    std::vector<int> refusedRows;
    for (int col = vkt::ColRecFreq; col <= vkt::ColTxCG; ++col) {
        std::vector<int> inCol;
        for (const auto& [c, row] : refused_)
            if (c == col) inCol.push_back(row);
        if (inCol.empty()) continue;
        std::sort(inCol.begin(), inCol.end());
        columns.push_back(GridEditor::ColumnName(col));
        cells.push_back(GridEditor::ColumnName(col) + " of " + RowsText(inCol));
        rules.push_back(GridEditor::Rule(col));
        for (int row : inCol)
            if (std::find(refusedRows.begin(), refusedRows.end(), row) == refusedRows.end()) refusedRows.push_back(row);
    }
    const std::string refused = refusedRows.size() == 1 ? Listed(columns) + " of " + RowsText(refusedRows) : vkt::Joined(cells, "; ");
    if (told) told("Pasted " + RowsCountText(rows) + "; refused: " + refused + ". " + vkt::Joined(rules, "; "));
}

// Undo of a cell: a text that starts at or after "D" (a digital code) goes
// in as text, any other as its number, shown as the group will show it once
// stored. A channel guard that is not wholly a code is refused as the grid
// refuses it typed: a beep, and the cell keeps its value.
bool ClipboardCommands::setCellValue(int col, const std::string& field) {
    const bool code = !field.empty() && static_cast<unsigned char>(field[0]) >= 'D';
    const std::string text = code ? field : ShownNumber(col, vkt::Val(field));
    if ((col == vkt::ColRecCG || col == vkt::ColTxCG) && !VKTCore::CGTextToCode(text)) {
        platform_.Beep();
        return false;
    }
    grid_.setCellText(grid_.Row(), col, text);
    return true;
}

void ClipboardCommands::pasteRow(std::string text, int r) {
    const auto row = static_cast<size_t>(r);
    for (int i = 0; i <= 8; ++i) {
        const std::string field = TakeField(text, Tab);
        if (i >= 1 && i <= 4) {
            // What the grid shows is what the group stores: a value the
            // cell's check refuses is not pasted.
            if (const auto cell = PastedText(i, field)) grid_.setCellText(r, i, *cell);
            else refused_.emplace_back(i, r);
        }
        else if (i == 5) grid_.setCellText(r, vkt::ColChLabel, field);
        else if (i == 6) c_.chkScan[row].setValue(vkt::ToInt(vkt::RoundHalfEven(vkt::Val(field))));
        else if (i == 7) c_.chkNarr[row].setValue(vkt::ToInt(vkt::RoundHalfEven(vkt::Val(field))));
        else if (i == 8) c_.chkLoPower[row].setValue(vkt::ToInt(vkt::RoundHalfEven(vkt::Val(field))));
    }
}

void ClipboardCommands::pasteAllRows(std::string text) {
    vktstore::ChannelTable::Batch batch(grid_.table());
    for (int r = 0; r < grid_.Rows(); ++r) {
        const std::string line = TakeField(text, CR);
        grid_.setRow(r);
        pasteRow(line, r);
    }
    grid_.setColumnsSelected(false);
    grid_.setRow(0);
    grid_.setCol(0);
}

void ClipboardCommands::mnuUndo_Click() {
    if (editor_.undoPaste) {
        vktstore::ChannelTable::Batch batch(grid_.table());
        for (const RowBefore& before : beforePaste_) {
            const auto i = static_cast<size_t>(before.row);
            for (int col = vkt::ColRecFreq; col <= vkt::ColChLabel; ++col)
                grid_.setCellText(before.row, col, before.cells[static_cast<size_t>(col - vkt::ColRecFreq)]);
            c_.chkScan[i].setValue(before.boxes[0]);
            c_.chkNarr[i].setValue(before.boxes[1]);
            c_.chkLoPower[i].setValue(before.boxes[2]);
        }
        if (told) told("Paste undone: " + RowsCountText(static_cast<int>(beforePaste_.size())) + " put back");
        return;
    }
    grid_.setRow(editor_.undoRow);
    const int col = editor_.undoCol;
    bool putBack = false;
    if (col >= 1 && col <= 4) putBack = setCellValue(col, editor_.undoText);
    else if (col == vkt::ColChLabel) {
        grid_.setCellText(grid_.Row(), vkt::ColChLabel, editor_.undoText);
        putBack = true;
    }
    if (putBack && told) told("Undone: " + GridEditor::ColumnName(col) + " of " + RowsText({grid_.Row()}) + " put back");
}

void ClipboardCommands::openOffsetBox() {
    editor_.putBackSavedValue(vkt::ColTxFreq);
    offsetRow = grid_.Row();
    frmOffset_.setVisible(true);
    txtOffset_.setVisible(true);
    txtOffset_.setText(lastOffset);
    txtOffset_.select(0, static_cast<int>(vkt::CharCount(lastOffset)));
    txtOffset_.setFocus();
}

void ClipboardCommands::txtOffset_KeyDown(int key) {
    const std::string t = txtOffset_.Text();
    const int col = editor_.currentCol;
    if (key != KeyReturn && !vkt::IsNumeric(t) && t != "-" && t != "." && t != "-." && key != KeyLeft && key != KeyRight) {
        platform_.Beep();
        txtOffset_.setText("");
        editor_.putBackSavedValue(col);
        if (told) told(OffsetRule);
        return;
    }
    if (key == KeyReturn) {
        // The result belongs to the channel the box was opened for, however
        // the grid has moved since, and is checked before it is shown.
        const double offset = vkt::Val(t);
        const double rx = vkt::Val(grid_.cellText(offsetRow, vkt::ColRecFreq));
        grid_.setRow(offsetRow);
        if (const auto tx = VKTCore::TypedFrequency(vkt::Val(vkt::NumberText(rx + offset))))
            grid_.setCellText(offsetRow, vkt::ColTxFreq, GridEditor::FrequencyText(*tx));
        else {
            platform_.Beep();
            if (told) told("Tx Freq of " + RowsText({offsetRow}) + " refused: " + GridEditor::Takes(vkt::ColTxFreq));
        }
        lastOffset = t;
        txtOffset_.setVisible(false);
        frmOffset_.setVisible(false);
        if (focusGrid) focusGrid();
    } else if (lastKey == KeyReturn && !t.empty()) {
        txtOffset_.setText(vkt::Chars(t).back());
    }
    if (key == KeyF1) helpScreen(1);
    lastKey = key;
}

void ClipboardCommands::helpScreen(int code) {
    if (code == 1) platform_.MsgBox(OffsetHint, vkt::Buttons::OK, vkt::Icon::None);
}

} // namespace vkteditor
