// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Import Channel Plan" dialog: which plan was opened, where a plan
// without groups goes (group 1 unless another is chosen, as on the command
// line), whether long names are cut, and the groups and channels the import
// replaces, or why it cannot; only Replace changes the setup.

#include <functional>
#include <string>

#include "core/ChannelPlan.h"
#include "platform/Controls.h"

namespace vkteditor {

class frmPlanImport : public vkt::Window {
public:
    frmPlanImport();

    vkt::Label lblPlan;
    vkt::Label lblGroup{"First 16 channels into group:"};
    vkt::ComboBox cboGroup;
    vkt::CheckBox chkCutNames{"Cut names longer than 8 characters"};
    vkt::Label lblChanges;
    vkt::Button btnImportOK{"Replace"};
    vkt::Button btnImportCancel{"Cancel"};

    static constexpr const char* Replaces = "Replaces these channels of the setup:";
    static constexpr const char* Renamed = "Names changed to fit the radio:";
    static constexpr const char* Refused = "Nothing can be imported:";

    // Shows the dialog (modal) for the text of a plan file.
    void Show(const std::string& fileName, const std::string& text);
    void cboGroup_Click() { readPlan(); }
    void chkCutNames_Click() { readPlan(); }
    void btnImportOK_Click();
    void btnImportCancel_Click() { setVisible(false); }
    // Runs on Replace with the plan as read.
    std::function<void(const VKTCore::ChannelPlan&)> imported;

private:
    void readPlan();

    std::string text_;
    VKTCore::ChannelPlan plan_;
};

} // namespace vkteditor
