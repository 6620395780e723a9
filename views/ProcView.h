// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window: the transfer's text, its bar and Cancel.

#include <QDialog>

#include "link/frmProc.h"

namespace vktviews {

class ProcView : public QDialog {
public:
    ProcView(VKTCom::frmProc& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override {}
};

} // namespace vktviews
