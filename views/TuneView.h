// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tuning window on Qt: the note, the five procedure tabs and their frames.

#include <QSpinBox>
#include <QWidget>

#include "tune/frmTune.h"

namespace vktviews {

class TuneView : public QWidget {
public:
    TuneView(VKTTune::frmTune& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VKTTune::frmTune& m_;
    QWidget* txtFreq_ = nullptr;
    QSpinBox* updown_ = nullptr;
};

} // namespace vktviews
