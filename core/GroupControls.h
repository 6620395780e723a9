// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the main window that one group's codec reads and writes, with
// their fixed lists. The main window owns one of these.

#include <array>

#include "platform/Controls.h"
#include "platform/Grid.h"

namespace vkt {

// Grid columns, as captioned in the main window.
enum GridColumn { ColChan = 0, ColRecFreq = 1, ColRecCG = 2, ColTxFreq = 3, ColTxCG = 4, ColChLabel = 5 };
inline constexpr int GridColumns = 6;
inline constexpr int GridRows = 16;

struct GroupControls {
    GroupControls();
    explicit GroupControls(Grid& grid);

    TextBox txtPassWord{"731604"};
    TextBox txtGrpLab{"GROUP 1"};
    TextBox txtID{"txtID"};
    ComboBox cboTOT;
    ComboBox cboScan;
    ComboBox cboDisplay;
    ComboBox cboBackLight;
    ComboBox cboDuration;
    ComboBox cboPri1Chan;
    ComboBox cboPri2Chan;
    CheckBox chkPriTX{"Transmit on Priority 1"};
    OptionButton optBattSaveOn{"On"};
    OptionButton optBattSaveOff{"Off"};
    CheckBox chkPriKeyLock{"Priority Key Lockout"};
    CheckBox chkENTCLRLock{"'ENT'/'CLR' Key Lockout"};
    ComboBox cboBCI;
    ComboBox cboANI;
    CheckBox chkGroupScanList{"Group Scan List"};
    CheckBox chkUCGEncode{"Encode Only"};
    OptionButton optUCGEnabled{"Enabled"};
    OptionButton optUCGDisabled{"Disabled"};
    ComboBox cboUCGChan;

    std::array<CheckBox, 16> chkLoPower;
    std::array<CheckBox, 16> chkNarr;
    std::array<CheckBox, 16> chkScan;

    // The channel grid: 16 rows, the six columns above.
    Grid& grid() { return *grid_; }
    void setGrid(Grid& grid) { grid_ = &grid; }

private:
    TextGrid ownGrid_{GridRows, GridColumns};
    Grid* grid_;
};

} // namespace vkt
