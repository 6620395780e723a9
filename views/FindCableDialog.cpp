// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/FindCableDialog.h"

#include <QComboBox>

#include "views/Accessibility.h"

#include <algorithm>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vktviews {

using vkt::PortInfo;

FindCableDialog::FindCableDialog(vkt::PortDirectory& ports, int currentPort, QWidget* parent)
    : QDialog(parent), ports_(ports), known_(ports.machinePorts()), seen_(known_), list_(new QListWidget(this)),
      status_(new QLabel(this)), commPort_(new QComboBox(this)), assign_(new QPushButton("&Assign", this)), timer_(new QTimer(this)) {
    setWindowTitle("Find Cable");
    auto* layout = new QVBoxLayout(this);
    InstallAccessibleNames();
    auto* listLabel = new QLabel("Serial ports on this computer:", this);
    NameByLabel(listLabel, list_);
    layout->addWidget(listLabel);
    layout->addWidget(list_);
    status_->setWordWrap(true);
    status_->setText("Unplug the programming cable from the computer, wait a moment, then plug it in again.");
    layout->addWidget(status_);
    auto* row = new QHBoxLayout;
    useAs_ = new QLabel("Use it as", this);
    NameByLabel(useAs_, commPort_);
    row->addWidget(useAs_);
    for (int n = 1; n <= 4; ++n) commPort_->addItem(QString("Comm Port %1").arg(n));
    // The port in use, or else the first with no device of its own (the
    // emulated radio is no Comm Port).
    int proposed = currentPort;
    if (proposed < 1 || proposed > 4) {
        proposed = 1;
        for (int n = 4; n >= 1; --n)
            if (ports_.storedDevice(n).empty()) proposed = n;
    }
    commPort_->setCurrentIndex(proposed - 1);
    row->addWidget(commPort_);
    row->addWidget(assign_);
    layout->addLayout(row);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(close);
    assign_->setEnabled(false);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(assign_, &QPushButton::clicked, this, [this] {
        const int n = commPort_->currentIndex() + 1;
        ports_.assignDevice(n, found_);
        status_->setText(QString::fromStdString("Comm Port " + std::to_string(n) + " is now " + found_ + "."));
        assign_->setEnabled(false);
    });
    connect(timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_->start(500);
    showPorts();
}

FindCableDialog::FindCableDialog(vkt::PortDirectory& ports, std::function<void(const std::string&)> add, QWidget* parent)
    : FindCableDialog(ports, 1, parent) {
    useAs_->hide();
    commPort_->hide();
    assign_->setText("&Add to the List");
    disconnect(assign_, nullptr, this, nullptr);
    connect(assign_, &QPushButton::clicked, this, [this, add] {
        add(found_);
        status_->setText(QString::fromStdString(found_ + " is in the list, checked. Plug in the next cable to add it too."));
        assign_->setEnabled(false);
    });
}

void FindCableDialog::showPorts() {
    list_->clear();
    for (const PortInfo& p : seen_) list_->addItem(QString::fromStdString(PortStatusText(p.systemLocation, seen_)));
}

void FindCableDialog::poll() {
    const std::vector<PortInfo> now = ports_.machinePorts();
    // A port that went away was the cable being unplugged; it counts as new
    // when it comes back.
    std::vector<PortInfo> stillThere;
    for (const PortInfo& k : known_)
        if (std::any_of(now.begin(), now.end(), [&](const PortInfo& p) { return p.systemLocation == k.systemLocation; }))
            stillThere.push_back(k);
    known_ = stillThere;
    const auto appeared = AppearedPorts(known_, now);
    seen_ = now;
    showPorts();
    if (!appeared.empty()) {
        found_ = appeared.front().systemLocation;
        known_ = now;
        status_->setText(QString::fromStdString("The cable is " + PortStatusText(found_, now) + "."));
        assign_->setEnabled(true);
    }
}

} // namespace vktviews
