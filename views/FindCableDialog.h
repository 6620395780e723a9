// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Find Cable...": lists the serial ports, watches for the one that appears
// when the technician plugs the programming cable in, and assigns it to a
// Comm Port.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "platform/SerialPorts.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace vktviews {

class FindCableDialog : public QDialog {
public:
    FindCableDialog(vkt::PortDirectory& ports, int currentPort, QWidget* parent);
    // For a list of cables rather than a Comm Port: the cable found is added.
    FindCableDialog(vkt::PortDirectory& ports, std::function<void(const std::string& device)> add, QWidget* parent);

private:
    void poll();
    void showPorts();

    vkt::PortDirectory& ports_;
    std::vector<vkt::PortInfo> known_;
    std::vector<vkt::PortInfo> seen_;
    QListWidget* list_;
    QLabel* status_;
    QLabel* useAs_;
    QComboBox* commPort_;
    QPushButton* assign_;
    QTimer* timer_;
    std::string found_;
};

} // namespace vktviews
