// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/GridEditor.h"

#include "core/ChannelCodes.h"
#include "core/GroupControls.h"
#include "core/Text.h"
#include "editor/Keys.h"

namespace vkteditor {

namespace {

bool IsFrequencyColumn(int c) { return c == vkt::ColRecFreq || c == vkt::ColTxFreq; }

} // namespace

std::string GridEditor::FrequencyText(double mhz) {
    return ChannelGrid::DisplayText({vktstore::FieldValue::Kind::Number, mhz, {}}, vkt::ColRecFreq);
}

bool GridEditor::Grid_BeforeColEdit(int c) {
    if (c == vkt::ColChan) return true;
    currentCol = c;
    textAtEditStart_ = grid_.cellText(grid_.Row(), c);
    if (vkt::IsNumeric(textAtEditStart_)) savedCellValue = vkt::Val(textAtEditStart_);
    return false;
}

void GridEditor::Grid_AfterColEdit(int c) {
    const std::string text = grid_.cellText(grid_.Row(), currentCol);
    if (IsFrequencyColumn(c)) {
        if (vkt::IsNumeric(text)) {
            double freq = vkt::Val(text);
            checkFrequency(freq, currentCol);
        }
        return;
    }
    // A channel guard the radio has no code for is refused here, rather than
    // being stored as something else when the group is stored. A label is
    // taken as typed: a character it has no code for becomes a space, as in
    // the group label box.
    if ((c == vkt::ColRecCG || c == vkt::ColTxCG) && !VKTCore::CGTextToCode(text)) {
        platform_.Beep();
        grid_.setCellText(grid_.Row(), c, textAtEditStart_);
        if (told) told(Rule(c));
    }
}

void GridEditor::finishEdit() {
    if (!grid_.editing()) return;
    const int col = grid_.editCol();
    grid_.endEdit();
    Grid_AfterColEdit(col);
}

void GridEditor::Grid_Click() { undoArmed = true; }

bool GridEditor::Grid_KeyDown(int key) {
    if (undoArmed) {
        undoCol = grid_.Col();
        undoRow = grid_.Row();
        undoText = grid_.Text();
        undoArmed = false;
        undoPaste = false;
    }
    return key == KeyHome;
}

void GridEditor::Grid_KeyUp(int key) {
    const int c = currentCol;
    if (key == KeyHome) {
        grid_.setCol(vkt::ColRecFreq);
        return;
    }
    if (c == vkt::ColTxFreq || c == vkt::ColTxCG) {
        if (key == 'C') {
            // Receive into transmit for the whole group.
            grid_.setCellText(grid_.Row(), c, grid_.cellText(grid_.Row(), c - 2));
            for (int r = 0; r < grid_.Rows(); ++r) grid_.setCellText(r, c, grid_.cellText(r, c - 2));
            grid_.endEdit();
            grid_.setCol(0);
            grid_.setRow(0);
            return;
        }
        if (key == 'S') {
            grid_.setCellText(grid_.Row(), c, grid_.cellText(grid_.Row(), c - 2));
            return;
        }
    }
    if (c == vkt::ColTxFreq && key == KeySpace) {
        if (openOffsetBox) openOffsetBox();
        return;
    }
    if (IsFrequencyColumn(c) && !vkt::IsNumeric(grid_.cellText(grid_.Row(), c))) {
        switch (key) {
        case KeyUp: case KeyDown: case KeyTab: case KeyBack: case KeyLeft: case KeyRight: case KeyReturn: return;
        default: reject(c);
        }
    }
}

void GridEditor::putBackSavedValue(int col) { grid_.setCellText(grid_.Row(), col, FrequencyText(savedCellValue)); }

void GridEditor::reject(int col) {
    platform_.Beep();
    putBackSavedValue(col);
    if (told) told(Rule(col));
}

std::string GridEditor::ColumnName(int col) {
    static const char* const Names[] = {"Chan", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"};
    return Names[col];
}

std::string GridEditor::Takes(int col) {
    switch (col) {
    case vkt::ColRecFreq:
    case vkt::ColTxFreq: return "136 ... 174 MHz in 2.5 or 6.25 kHz steps, or 0 for none";
    case vkt::ColRecCG:
    case vkt::ColTxCG: return "a tone such as 088.5, or a digital code such as D023 or D023-";
    case vkt::ColChLabel: return "up to 8 letters, digits, spaces and - * $ / + % \\ | _ < >";
    default: return "nothing typed";
    }
}

std::string GridEditor::Rule(int col) {
    if (col == vkt::ColChan) return ColumnName(col) + " is not typed in";
    const bool frequency = IsFrequencyColumn(col);
    return ColumnName(col) + (frequency ? " must be " : " takes ") + Takes(col);
}

void GridEditor::checkFrequency(double& freq, int col) {
    const auto mhz = VKTCore::TypedFrequency(freq);
    if (!mhz) return reject(col);
    freq = *mhz;
    // None (0) leaves the cell as it was typed.
    if (freq != 0) grid_.setCellText(grid_.Row(), col, FrequencyText(freq));
}

} // namespace vkteditor
