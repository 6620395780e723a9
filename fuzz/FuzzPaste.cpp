// SPDX-License-Identifier: GPL-3.0-or-later
// The paste parser with an arbitrary clipboard text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/ChannelGrid.h"
#include "editor/ClipboardCommands.h"
#include "editor/GridEditor.h"
#include "fuzz/QuietPlatform.h"
#include "store/ChannelTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietPlatform platform;
    static vktstore::ChannelTable table("");  // no database: rows in memory
    vkteditor::ChannelGrid grid(table);
    vkt::GroupControls controls(grid);
    vkteditor::GridEditor editor(platform, grid);
    vkt::MenuItem paste;
    vkt::Frame frame;
    vkt::TextBox offset;
    vkteditor::ClipboardCommands clipboard(platform, controls, grid, editor, paste, frame, offset);
    const std::string text(reinterpret_cast<const char*>(data), size);
    grid.setRow(size % 16);
    clipboard.pasteRow(text, grid.Row());
    clipboard.pasteAllRows(text);
    return 0;
}
