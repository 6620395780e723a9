// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The global parameters window: rotary switch positions, toggles and unit-wide settings.

#include <QWidget>

#include "editor/frmGlobals.h"

namespace vktviews {

class GlobalsView : public QWidget {
public:
    GlobalsView(vkteditor::frmGlobals& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    vkteditor::frmGlobals& m_;
    // Centred when loaded; shown again after hiding, it stays where it was.
    bool placed_ = false;
};

} // namespace vktviews
