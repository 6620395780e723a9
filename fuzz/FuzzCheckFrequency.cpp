// SPDX-License-Identifier: GPL-3.0-or-later
// checkFrequency with arbitrary typed text, as a cell edit ends.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Text.h"
#include "editor/ChannelGrid.h"
#include "editor/GridEditor.h"
#include "fuzz/QuietPlatform.h"
#include "store/ChannelTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietPlatform platform;
    static vktstore::ChannelTable table("");
    vkteditor::ChannelGrid grid(table);
    vkteditor::GridEditor editor(platform, grid);
    const std::string text(reinterpret_cast<const char*>(data), size);
    grid.setRow(0);
    grid.setCol(1);
    if (editor.Grid_BeforeColEdit(1)) return 0;
    grid.beginEdit(0, 1);
    grid.setEditText(text);
    grid.endEdit();
    editor.Grid_AfterColEdit(1);
    if (vkt::IsNumeric(text)) {
        double v = vkt::Val(text);
        editor.checkFrequency(v, 3);
    }
    return 0;
}
