// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Comm Port Settings...": which serial device each of the Comm Ports 1 ... 4
// stands for, chosen from the machine's ports and stored where the program
// reads them, so that nobody edits a settings file by hand.

#include <QDialog>

#include <array>
#include <vector>

#include "platform/SerialPorts.h"

class QComboBox;

namespace vkteditor {
class frmGroups;
}

namespace vktviews {

class CommPortSettingsDialog : public QDialog {
public:
    CommPortSettingsDialog(vkt::PortDirectory& ports, QWidget* parent);
    QComboBox* portBox(int n) const { return boxes_.at(static_cast<size_t>(n - 1)); }

protected:
    void accept() override;

private:
    vkt::PortDirectory& ports_;
    std::array<QComboBox*, 4> boxes_{};
};

// Tells each "Use Comm Port n" item's tool tip, and the status bar for the
// port in use, what the port stands for.
void DescribeCommPorts(vkt::PortDirectory& ports, int portInUse, vkteditor::frmGroups& main);

} // namespace vktviews
