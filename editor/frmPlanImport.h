// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Import Channel Plan" dialog: which plan was opened, where a channel
// list's locations go, whether long names are cut, and the groups and
// channels the import replaces, or why it cannot; only Replace changes the setup.

#include <functional>
#include <string>

#include "core/ChannelPlan.h"
#include "platform/Controls.h"

namespace vkteditor {

class frmPlanImport : public vkt::Window {
public:
    frmPlanImport();

    vkt::Label lblPlan;
    vkt::Label lblGroup{"First 16 locations into group:"};
    vkt::ComboBox cboGroup;
    vkt::CheckBox chkCutNames{"Cut names longer than 8 characters"};
    vkt::Label lblChanges;
    vkt::Button btnImportOK{"Replace"};
    vkt::Button btnImportCancel{"Cancel"};

    static constexpr const char* Replaces = "Replaces these channels of the setup:";
    static constexpr const char* CutNames = "Names cut to 8 characters:";
    static constexpr const char* Refused = "Nothing can be imported:";

    // Shows the dialog (modal) for the text of a plan file; a channel list's
    // first 16 locations go into the group shown unless another is chosen.
    void Show(const std::string& fileName, const std::string& text, int shownGroup);
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
