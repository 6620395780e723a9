#pragma once
// "Find Cable...": lists the serial ports, watches for the one that appears
// when the technician plugs the programming cable in, and assigns it to a
// Comm Port.

#include <QDialog>

#include <vector>

#include "qt/SerialDevices.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace vktqt {

class QtPlatform;

class FindCableDialog : public QDialog {
public:
    FindCableDialog(QtPlatform& platform, int currentPort, QWidget* parent);

private:
    void poll();
    void showPorts();

    QtPlatform& platform_;
    std::vector<PortInfo> known_;
    std::vector<PortInfo> seen_;
    QListWidget* list_;
    QLabel* status_;
    QComboBox* commPort_;
    QPushButton* assign_;
    QTimer* timer_;
    std::string found_;
};

} // namespace vktqt
