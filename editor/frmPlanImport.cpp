// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmPlanImport.h"

#include <filesystem>
#include <vector>

#include "core/MemoryImage.h"
#include "store/Paths.h"

namespace vkteditor {

namespace {

std::vector<std::string> Groups() {
    std::vector<std::string> items;
    for (int g = 1; g <= VKTCore::GroupCount; ++g) items.push_back(std::to_string(g));
    return items;
}

std::string FirstUpper(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

} // namespace

frmPlanImport::frmPlanImport() : vkt::Window("Import Channel Plan"), cboGroup(Groups(), "1") {
    setVisible(false);
    resize(6000, 4200);
}

void frmPlanImport::Show(const std::string& fileName, const std::string& text) {
    text_ = text;
    const auto format = VKTCore::DetectPlanFormat(text);
    lblPlan.setCaption(FirstUpper(format ? VKTCore::PlanFormatTitle(*format) : "no plan") + ": " +
                       vktstore::Utf8Of(vktstore::PathOf(fileName).filename()));
    cboGroup.setListIndex(0);
    chkCutNames.setValue(0);
    readPlan();
    lblGroup.setVisible(!plan_.groupsGiven);
    cboGroup.setVisible(!plan_.groupsGiven);
    if (!Visible()) setVisible(true);
}

void frmPlanImport::readPlan() {
    const VKTCore::PlanOptions options{.firstGroup = std::max(0, cboGroup.ListIndex()), .cutNames = chkCutNames.Value() == 1};
    std::string error;
    const bool read = VKTCore::ReadPlan(text_, options, plan_, error);
    std::string shown = read ? Replaces : std::string(Refused) + "\n" + error;
    if (read) {
        for (const std::string& line : VKTCore::PlanChanges(plan_)) shown += "\n" + line;
        if (!plan_.renamed.empty()) shown += "\n" + std::string(Renamed);
        for (const std::string& line : plan_.renamed) shown += "\n" + line;
    }
    lblChanges.setCaption(shown);
    btnImportOK.setEnabled(read);
}

void frmPlanImport::btnImportOK_Click() {
    // The button is off for a plan that cannot be read; a click that comes anyway does nothing.
    if (!btnImportOK.Enabled()) return;
    setVisible(false);
    if (imported) imported(plan_);
}

} // namespace vkteditor
