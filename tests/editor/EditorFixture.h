#pragma once
// The main window model started as the program starts it, on an emulated
// radio in virtual time, with real channel databases in a folder of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

#include "core/MemoryImage.h"
#include "editor/frmGroups.h"
#include "sim/SimSerialPort.h"
#include "store/dbGlobal.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempFolder.h"

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        temp.seedDatabases(VKT_SHIPPED_DB_DIR);
        platform.setSerialPort(port);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        table = std::make_unique<vktstore::ChannelTable>(dbGlobal::CurrentPath());
        main = std::make_unique<vkteditor::frmGroups>(platform, link, *table);
        main->Form_Load();
        main->Form_Activate();
    }
    ~EditorTest() override {
        platform.expectNoMoreScript();
        main.reset();
        table.reset();
    }

    vktsim::RadioModel& radio() { return port.radio(); }
    vkt::Grid& grid() { return main->Grid; }
    std::string cell(int row, int col) { return main->Grid.cellText(row, col); }
    uint8_t image(int address) { return VKTCore::MemoryImage.at(static_cast<size_t>(address)); }
    void pick(int index) {
        main->cboCurrentGroup.setListIndex(index);
        main->cboCurrentGroup_Click();
    }
    // Types text into a grid cell the way the grid does: edit begins, text,
    // then edit ends.
    void type(int row, int col, const std::string& text) {
        main->moveGrid(row, col);
        if (main->gridEditor.Grid_BeforeColEdit(col)) return;
        main->Grid.beginEdit(row, col);
        main->Grid.setEditText(text);
        main->gridEditor.finishEdit();
    }
    std::vector<uint8_t> wire() const {
        std::vector<uint8_t> out;
        for (const auto& s : port.sent) out.push_back(s.byte);
        return out;
    }

    TempFolder temp{"vkt-editor-"};
    const std::filesystem::path& folder = temp.path();
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    VKTCom::RadioLink link{platform};
    std::unique_ptr<vktstore::ChannelTable> table;
    std::unique_ptr<vkteditor::frmGroups> main;
};
