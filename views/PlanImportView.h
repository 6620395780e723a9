// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Import Channel Plan: what the plan replaces; only Replace imports.

#include <QDialog>

#include "editor/frmPlanImport.h"

namespace vktviews {

class PlanImportView : public QDialog {
public:
    PlanImportView(vkteditor::frmPlanImport& model, QWidget* owner);

protected:
    void reject() override;

private:
    vkteditor::frmPlanImport& m_;
};

} // namespace vktviews
