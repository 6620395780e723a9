// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port on QSerialPort: 8 data bits, no parity, one stop bit, no
// flow control, modem-control lines left alone, bytes carried unchanged.

#include <QSerialPort>

#include <functional>
#include <optional>

#include "platform/PreciseSleeps.h"
#include "platform/SerialPort.h"

namespace vktqt {

class QtSerialPort : public vkt::SerialPort {
public:
    // deviceOf(n): the device path of Comm Port n ("" when there is none);
    // given(n): the user gave that device as it is, choosing no Comm Port.
    explicit QtSerialPort(std::function<std::string(int)> deviceOf, std::function<bool(int)> given = {});
    ~QtSerialPort() override;

    void setPortNumber(int n) override { port_ = n; }
    int portNumber() const override { return port_; }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return settings_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return serial_.isOpen(); }
    std::string openError() const override { return openError_; }
    void writeByte(uint8_t b) override;
    int inBufferCount() override;
    void discardInput() override;
    int readByte() override;
    std::vector<uint8_t> readAll() override;

private:
    std::function<std::string(int)> deviceOf_;
    std::function<bool(int)> given_;
    QSerialPort serial_;
    int port_ = 1;
    std::string settings_ = "4800,n,8,1";
    std::string openError_;
    // The pacing of a slow radio's read keeps its 3 ms while the port is open.
    std::optional<vkt::PreciseSleeps> preciseSleeps_;
};

} // namespace vktqt
