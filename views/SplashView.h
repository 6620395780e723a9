// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window shown while the program starts.

#include <QWidget>

#include "editor/frmSplash.h"

namespace vktviews {

class SplashView : public QWidget {
public:
    explicit SplashView(vkteditor::frmSplash& model);
};

} // namespace vktviews
