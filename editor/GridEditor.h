// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the channel grid is edited: the Chan column is never edited, typed
// frequencies are checked and normalised, channel guards that are not wholly
// a code are refused, and the Home, C, S and space keys.

#include <functional>
#include <string>

#include "editor/ChannelGrid.h"
#include "platform/Platform.h"

namespace vkteditor {

class GridEditor {
public:
    GridEditor(vkt::Platform& platform, ChannelGrid& grid) : platform_(platform), grid_(grid) {}

    // An edit begins in column c of the current row; true cancels it.
    bool Grid_BeforeColEdit(int c);
    void Grid_AfterColEdit(int c);
    // Ends an open cell edit and checks it. The current cell must still be
    // the edited one: whatever moves it finishes the edit first.
    void finishEdit();
    void Grid_Click();
    // True when the key is swallowed.
    bool Grid_KeyDown(int key);
    void Grid_KeyUp(int key);

    // Checks a typed frequency in MHz for the current row's cell in col:
    // normalises and stores it, or puts savedCellValue back with a beep.
    void checkFrequency(double& freq, int col);
    // The cell text of a frequency value ("154.52500").
    static std::string FrequencyText(double mhz);

    // Called when the space bar comes up in the Tx Freq column.
    std::function<void()> openOffsetBox;
    // Told why an entry was refused, after the beep.
    std::function<void(const std::string& why)> told;

    int currentCol = 0;
    double savedCellValue = 0;
    bool undoArmed = false;
    int undoCol = -1;
    int undoRow = 0;
    std::string undoText;
    // Undo takes back the last paste rather than the cell above, until the
    // next cell snapshot is taken or another group is shown.
    bool undoPaste = false;

    void putBackSavedValue(int col);

    // Why an entry in column col is refused.
    static std::string Rule(int col);
    // The column's caption, and what the column takes ("136 ... 174 MHz ...").
    static std::string ColumnName(int col);
    static std::string Takes(int col);

private:
    void reject(int col);

    vkt::Platform& platform_;
    ChannelGrid& grid_;
    std::string textAtEditStart_;
};

} // namespace vkteditor
