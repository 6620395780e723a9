// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/CommPortSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/frmGroups.h"
#include "views/Accessibility.h"
#include "views/Binding.h"
#include "platform/SerialPort.h"

namespace vktviews {

CommPortSettingsDialog::CommPortSettingsDialog(vkt::PortDirectory& directory, QWidget* parent)
    : QDialog(parent), ports_(directory) {
    using namespace vkt;
    InstallAccessibleNames();
    const std::vector<PortInfo> ports = directory.machinePorts();
    setWindowTitle("Comm Port Settings");
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel("Choose the serial device each Comm Port stands for. \"Automatic\" takes the computer's "
                            "serial ports in order, USB adapters first.",
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    const std::vector<PortInfo> offered = UsbFirst(ports);
    for (int n = 1; n <= 4; ++n) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString("CommPort%1").arg(n));
        const std::string stored = ports_.storedDevice(n);
        box->addItem(Qs("Automatic: " + PortStatusText(DeviceForPort(n, "", ports, vkt::ThisSystem), ports)), QString());
        for (const PortInfo& p : offered) box->addItem(Qs(PortStatusText(p.systemLocation, ports)), Qs(p.systemLocation));
        // A stored device that is not plugged in stays offered, marked so.
        if (!stored.empty() && box->findData(Qs(stored)) < 0) box->addItem(Qs(PortStatusText(stored, ports)), Qs(stored));
        box->setCurrentIndex(std::max(0, box->findData(Qs(stored))));
        boxes_[static_cast<size_t>(n - 1)] = box;
        form->addRow(QString("Comm Port %1:").arg(n), box);
        NameControl(box, QString("Comm Port %1").arg(n));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CommPortSettingsDialog::accept() {
    for (int n = 1; n <= 4; ++n) {
        const std::string chosen = portBox(n)->currentData().toString().toStdString();
        if (chosen != ports_.storedDevice(n)) ports_.assignDevice(n, chosen);
    }
    QDialog::accept();
}

void DescribeCommPorts(vkt::PortDirectory& ports, int port, vkteditor::frmGroups& main) {
    for (int n = 1; n <= 4; ++n) main.mnuCommPort[static_cast<size_t>(n - 1)].setToolTip(ports.describePort(n));
    const std::string name = port == vkt::EmulatedPort ? "Emulated radio" : "Comm Port " + std::to_string(port);
    main.statusText.setCaption(name + ": " + ports.describePort(port));
}

} // namespace vktviews
