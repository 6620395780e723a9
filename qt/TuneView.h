#pragma once
// The tuning window on Qt: the note, the five procedure tabs and their frames.

#include <QWidget>

#include "tune/frmTune.h"

namespace vktqt {

// True while a procedure holds the radio or has changed its calibration:
// the window then lets no one leave but through the procedure's own end.
bool TuningHoldsRadio(const VKTTune::frmTune& tune);

class TuneView : public QWidget {
public:
    TuneView(VKTTune::frmTune& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VKTTune::frmTune& m_;
    QWidget* txtFreq_ = nullptr;
};

} // namespace vktqt
