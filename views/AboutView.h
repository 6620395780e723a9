// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about window.

#include <QDialog>

#include "editor/frmAbout.h"

namespace vktviews {

class AboutView : public QDialog {
public:
    AboutView(vkteditor::frmAbout& model, QWidget* owner);
};

} // namespace vktviews
