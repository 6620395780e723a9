// SPDX-License-Identifier: GPL-3.0-or-later
// Comm Port Settings through its real widgets, and what the Comm-Port menu says of each port.

#include <QDialogButtonBox>
#include <QMenu>

#include "platform/System.h"
#include "views/CommPortSettingsDialog.h"
#include "views/FindCableDialog.h"
#include "tests/views/ViewFixture.h"

namespace {

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class CommPortSettingsTest : public ::testing::Test {
protected:
    CommPortSettingsTest() {
        for (int n = 1; n <= 4; ++n) platform.assignDevice(n, "");
        platform.assignDevice(3, "/dev/ttyUSB7");  // stored, not plugged in
    }
    ~CommPortSettingsTest() override { for (int n = 1; n <= 4; ++n) platform.assignDevice(n, ""); }
    const bool windows = vkt::ThisSystem == vkt::SystemKind::Windows;
    const QString serial = windows ? "\\\\.\\COM1" : "/dev/ttyS0", usb = windows ? "\\\\.\\COM5" : "/dev/ttyUSB0";
    MachineWithPorts platform{{{serial.toStdString(), "16550A", false}, {usb.toStdString(), "FT232R USB UART", true}}};
};

} // namespace

// Automatic is the ports in order, USB first; on Windows COMn, listed as \\.\COMn.
TEST_F(CommPortSettingsTest, OffersThePortsUsbFirstAndMarksAnAbsentOne) {
    vktviews::CommPortSettingsDialog dialog(platform, nullptr);
    EXPECT_EQ(Items(dialog.portBox(2)), (QStringList{windows ? "Automatic: COM2 \u2014 not present" : "Automatic: /dev/ttyS0 \u2014 16550A",
                                                     usb + " \u2014 FT232R USB UART", serial + " \u2014 16550A"}));
    EXPECT_EQ(dialog.portBox(1)->currentText(), windows ? "Automatic: COM1 \u2014 16550A" : "Automatic: /dev/ttyUSB0 \u2014 FT232R USB UART");
    EXPECT_EQ(dialog.portBox(3)->currentText(), "/dev/ttyUSB7 \u2014 not present");
    EXPECT_EQ(dialog.portBox(4)->currentText(), "Automatic: no device");
}

TEST_F(CommPortSettingsTest, FindCableProposesTheCommPortInUseOrAFreeOne) {
    platform.assignDevice(1, "/dev/ttyS0");
    for (const auto& [current, proposed] : {std::pair{3, "Comm Port 3"}, std::pair{vkt::EmulatedPort, "Comm Port 2"}}) {
        vktviews::FindCableDialog dialog(platform, current, nullptr);
        EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), proposed) << current;
    }
}

// A device chosen replaces at once the stand-in this run put on the port.
TEST_F(CommPortSettingsTest, OKStoresTheChoicesAndCancelNothing) {
    platform.setDeviceForThisRun(2, "/dev/pts/9", "the built-in radio emulator");
    // The USB adapter for port 2, Automatic for port 3, then the button.
    auto choose = [this](QDialogButtonBox::StandardButton button) {
        vktviews::CommPortSettingsDialog dialog(platform, nullptr);
        dialog.show();
        ViewTest::pickFromList(dialog.portBox(2), 1);
        ViewTest::pickFromList(dialog.portBox(3), 0);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(button), Qt::LeftButton);
    };
    choose(QDialogButtonBox::Cancel);
    EXPECT_EQ(platform.storedDevice(2), "");
    EXPECT_EQ(platform.storedDevice(3), "/dev/ttyUSB7");
    choose(QDialogButtonBox::Ok);
    EXPECT_EQ(platform.storedDevice(2), usb.toStdString());
    EXPECT_EQ(platform.deviceOfPort(2), usb.toStdString());
    EXPECT_EQ(platform.storedDevice(3), "");
}

TEST_F(ViewTest, EachCommPortItemSaysWhatItStandsFor) {
    vktqt::QtPlatform machine;
    machine.setDeviceForThisRun(1, "/dev/pts/9", "the built-in radio emulator");
    vktviews::DescribeCommPorts(machine, machine.serialPort().portNumber(), *main);
    for (int n = 1; n <= 4; ++n) {
        QAction* item = action(QString("Use Comm Port %1").arg(n));
        EXPECT_EQ(item->toolTip().toStdString(), machine.describePort(n));
        EXPECT_TRUE(qobject_cast<QMenu*>(item->parent())->toolTipsVisible());
    }
    EXPECT_EQ(action("Use Comm Port 1")->toolTip(), "/dev/pts/9 \u2014 the built-in radio emulator");
    EXPECT_EQ(main->statusText.Caption(), "Comm Port 1: /dev/pts/9 \u2014 the built-in radio emulator");
    bool opened = false;
    main->commSettings = [&] { opened = true; };
    action("Comm Port &Settings...")->trigger();
    EXPECT_TRUE(opened);
}
