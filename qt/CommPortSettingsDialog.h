#pragma once
// "Comm Port Settings...": which serial device each of the Comm Ports 1 ... 4
// stands for, chosen from the machine's ports and stored where the program
// reads them, so that nobody edits a settings file by hand.

#include <QDialog>

#include <array>
#include <vector>

#include "qt/SerialDevices.h"

class QComboBox;

namespace vkteditor {
class frmGroups;
}

namespace vktqt {

class QtPlatform;

class CommPortSettingsDialog : public QDialog {
public:
    // ports: the machine's serial ports.
    CommPortSettingsDialog(QtPlatform& platform, const std::vector<PortInfo>& ports, QWidget* parent);
    QComboBox* portBox(int n) const { return boxes_.at(static_cast<size_t>(n - 1)); }

protected:
    void accept() override;

private:
    QtPlatform& platform_;
    std::array<QComboBox*, 4> boxes_{};
};

// Tells each "Use Comm Port n" item's tool tip, and the status bar for the
// port in use, what the port stands for.
void DescribeCommPorts(QtPlatform& platform, vkteditor::frmGroups& main);

} // namespace vktqt
