// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copy and paste of channel rows through the system clipboard, the one-step
// undo of the last cell typed into, and the transmit offset entry.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/GroupControls.h"
#include "editor/ChannelGrid.h"
#include "editor/GridEditor.h"
#include "platform/Platform.h"

namespace vkteditor {

class ClipboardCommands {
public:
    ClipboardCommands(vkt::Platform& platform, vkt::GroupControls& controls, ChannelGrid& grid, GridEditor& editor,
                      vkt::MenuItem& mnuPaste, vkt::Frame& frmOffset, vkt::TextBox& txtOffset)
        : platform_(platform), c_(controls), grid_(grid), editor_(editor), mnuPaste_(mnuPaste),
          frmOffset_(frmOffset), txtOffset_(txtOffset) {}

    bool rowCopied = false;
    bool allCopied = false;
    int copiedLength = -1;
    int offsetRow = 0;
    std::string lastOffset;
    int lastKey = 0;

    // Every activation of the main window forgets what was copied.
    void reset();

    void mnuRow_Click();
    void mnuAll_Click();
    void Grid_DblClick();
    void mnuPaste_Click();
    void mnuUndo_Click();
    void pasteRow(std::string text, int r);
    void pasteAllRows(std::string text);
    std::string rowToText(int r);
    std::string copyAllRows();

    void openOffsetBox();
    void txtOffset_KeyDown(int key);
    void helpScreen(int code);
    // Where the focus goes when the offset entry closes.
    std::function<void()> focusGrid;
    // Told why a key in the offset entry was refused, after the beep.
    std::function<void(const std::string& why)> told;

    static constexpr const char* NothingCopied = "No record has been selected to the clipboard";
    static constexpr const char* OffsetHint = "Enter the frequency offset, eg: -2, 7";
    static constexpr const char* OffsetRule = "The offset is a number of MHz, such as -0.6 or 5 (F1 for a hint)";

private:
    void putOnClipboard(const std::string& text);
    void copyAll();
    bool setCellValue(int col, const std::string& field);
    // Runs a paste of `rows` rows from firstRow: what they held is kept for
    // Undo, and the cells the check refused are told with one beep.
    void paste(int firstRow, int rows, const std::function<void()>& pasteRows);
    // Beeps and says which cells were refused and what their columns take.
    void tellRefused(int rows);

    // A row as it was before the last paste: its five cells and three boxes.
    struct RowBefore {
        int row;
        std::vector<std::string> cells;
        std::vector<int> boxes;
    };
    std::vector<RowBefore> beforePaste_;
    // The cells of the paste under way the check refused: column, row.
    std::vector<std::pair<int, int>> refused_;

    vkt::Platform& platform_;
    vkt::GroupControls& c_;
    ChannelGrid& grid_;
    GridEditor& editor_;
    vkt::MenuItem& mnuPaste_;
    vkt::Frame& frmOffset_;
    vkt::TextBox& txtOffset_;
};

} // namespace vkteditor
