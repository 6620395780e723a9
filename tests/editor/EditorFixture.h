// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window model started as the program starts it, on an emulated
// radio in virtual time, with real channel databases in a folder of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/MemoryImage.h"
#include "editor/frmGroups.h"
#include "store/dbGlobal.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/TempFolder.h"

class EditorTest : public RadioOnClock {
protected:
    EditorTest() {
        temp.seedDatabases(VKT_SHIPPED_DB_DIR);
        table = std::make_unique<vktstore::ChannelTable>(dbGlobal::CurrentPath());
        main = std::make_unique<vkteditor::frmGroups>(platform, link, *table);
        main->Form_Load();
        main->Form_Activate();
    }

    std::string cell(int row, int col) { return main->Grid.cellText(row, col); }
    uint8_t image(int address) { return VKTCore::MemoryImage.at(static_cast<size_t>(address)); }
    // The cell made current and about to be edited; true when it refuses the edit.
    bool open(int row, int col) {
        main->moveGrid(row, col);
        return main->gridEditor.Grid_BeforeColEdit(col);
    }
    // As the grid types: edit begins, text, then edit ends.
    void type(int row, int col, const std::string& text) {
        if (open(row, col)) return;
        main->Grid.beginEdit(row, col);
        main->Grid.setEditText(text);
        main->gridEditor.finishEdit();
    }

    TempFolder temp{"vkt-editor-"};
    const std::filesystem::path& folder = temp.path();
    std::unique_ptr<vktstore::ChannelTable> table;
    std::unique_ptr<vkteditor::frmGroups> main;
};
