// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Program Several Radios" window: a row per cable (its check box,
// progress bar, radio and result), the options, and Start, Cancel and Next
// Radios, bound to the fleet run's window model. The model hears the copies
// of vkt as they speak; the window never waits on a radio itself.

#include <QWidget>

#include <vector>

#include "editor/FleetRun.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QProgressBar;

namespace vktviews {

class ElidedLabel;

class FleetView : public QWidget {
public:
    FleetView(vkteditor::FleetRun& model, vkt::PortDirectory& ports, QWidget* owner);
    ~FleetView() override;

    struct Row {
        QCheckBox* cable;
        QProgressBar* progress;
        QLabel* radio;
        ElidedLabel* result;
    };
    const std::vector<Row>& rows() const { return rows_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void showRows();

    vkteditor::FleetRun& m_;
    QGridLayout* grid_;
    QLabel* noPorts_;
    std::vector<Row> rows_;
};

} // namespace vktviews
