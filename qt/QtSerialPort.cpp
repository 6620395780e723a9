// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtSerialPort.h"

#include "qt/SerialDevices.h"

#include <cerrno>

namespace vktqt {

namespace {
// A byte takes 8 ms at 1200 baud; the driver takes it long before that.
constexpr int WriteTimeoutMs = 100;
} // namespace

QtSerialPort::QtSerialPort(std::function<std::string(int)> deviceOf, std::function<bool(int)> given)
    : deviceOf_(std::move(deviceOf)), given_(std::move(given)) {}

QtSerialPort::~QtSerialPort() { close(); }

void QtSerialPort::setSettings(const std::string& settings) {
    settings_ = settings;
    if (serial_.isOpen()) serial_.setBaudRate(vkt::BaudOfSettings(settings_));
}

bool QtSerialPort::open() {
    openError_.clear();
    const std::string device = deviceOf_(port_);
    if (device.empty()) {
        openError_ = OpenFailureText(port_, device, "", OpenProblem::Other);
        return false;
    }
    serial_.setPortName(QString::fromStdString(device));
    if (!serial_.open(QIODevice::ReadWrite)) {
        const bool busy = errno == EBUSY;
        const std::string holder = LockHolder(device);
        const OpenProblem problem =
            ProblemOfOpenFailure(serial_.error() == QSerialPort::PermissionError, busy || !holder.empty(), vkt::ThisSystem);
        openError_ = OpenFailureText(port_, device, serial_.errorString().toStdString(), problem, holder, given_ && given_(port_));
        return false;
    }
    serial_.setBaudRate(vkt::BaudOfSettings(settings_));
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    preciseSleeps_.emplace();
    return true;
}

void QtSerialPort::close() {
    if (!serial_.isOpen()) return;
    // The release byte must be on the line before the port goes.
    serial_.waitForBytesWritten(100);
    serial_.close();
    preciseSleeps_.reset();
}

void QtSerialPort::writeByte(uint8_t b) {
    if (!serial_.isOpen()) return;
    const char c = static_cast<char>(b);
    serial_.write(&c, 1);
    // Handed to the system before the caller's pause, so that paced bytes
    // keep their pauses: on Windows QSerialPort only starts a write and
    // finishes it when events run, which they do not during a transfer, and
    // the paced bytes would leave together after the last pause.
    serial_.waitForBytesWritten(WriteTimeoutMs);
}

int QtSerialPort::inBufferCount() { return serial_.isOpen() ? static_cast<int>(serial_.bytesAvailable()) : 0; }

void QtSerialPort::discardInput() {
    if (!serial_.isOpen()) return;
    serial_.clear(QSerialPort::Input);
}

int QtSerialPort::readByte() {
    char c = 0;
    if (!serial_.isOpen() || serial_.read(&c, 1) != 1) return -1;
    return static_cast<unsigned char>(c);
}

std::vector<uint8_t> QtSerialPort::readAll() {
    const QByteArray data = serial_.isOpen() ? serial_.readAll() : QByteArray();
    return std::vector<uint8_t>(data.begin(), data.end());
}

} // namespace vktqt
