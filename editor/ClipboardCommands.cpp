#include "editor/ClipboardCommands.h"

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
    if (rowCopied) pasteRow(text, grid_.Row());
    else if (allCopied) pasteAllRows(text);
}

// A text that starts at or after "D" (a digital code) goes in as text, any
// other as its number, shown as the group will show it once stored. A
// channel guard that is not wholly a code is refused as the grid refuses it
// typed: a beep, and the cell keeps its value.
void ClipboardCommands::setCellValue(int col, const std::string& field) {
    const bool code = !field.empty() && static_cast<unsigned char>(field[0]) >= 'D';
    const std::string text = code ? field : ShownNumber(col, vkt::Val(field));
    if ((col == vkt::ColRecCG || col == vkt::ColTxCG) && !VKTCore::CGTextToCode(text)) {
        platform_.Beep();
        return;
    }
    grid_.setCellText(grid_.Row(), col, text);
}

void ClipboardCommands::pasteRow(std::string text, int r) {
    const auto row = static_cast<size_t>(r);
    for (int i = 0; i <= 8; ++i) {
        const std::string field = TakeField(text, Tab);
        if (i >= 1 && i <= 4) setCellValue(i, field);
        else if (i == 5) grid_.setCellText(grid_.Row(), vkt::ColChLabel, field);
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
    grid_.setRow(editor_.undoRow);
    if (editor_.undoCol >= 1 && editor_.undoCol <= 4) setCellValue(editor_.undoCol, editor_.undoText);
    else if (editor_.undoCol == vkt::ColChLabel) grid_.setCellText(grid_.Row(), vkt::ColChLabel, editor_.undoText);
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
        const double offset = vkt::Val(t);
        const double rx = vkt::Val(grid_.cellText(grid_.Row(), col - 2));
        grid_.setRow(offsetRow);
        double v = vkt::Val(vkt::NumberText(rx + offset));
        grid_.setCellText(grid_.Row(), col, GridEditor::FrequencyText(v));
        editor_.checkFrequency(v, col);
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
