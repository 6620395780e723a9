// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial port wired to an emulated radio: bytes take ten bit times of the
// line speed each way, and a byte sent at a speed the other side is not
// listening at is lost. Tests run it in virtual time; EmulatedPort runs it on
// the wall clock.

#include <deque>

#include "platform/SerialPort.h"
#include "sim/RadioModel.h"
#include "sim/Scheduler.h"
#include "sim/VirtualClock.h"

namespace vktsim {

class SimSerialPort : public vkt::SerialPort {
public:
    explicit SimSerialPort(Scheduler& clock);

    RadioModel& radio() { return radio_; }
    // A byte that shows up in the receive buffer as if it had just arrived.
    void inject(uint8_t b) { in_.push_back(b); }
    // When the last byte the host wrote will have reached the radio.
    double lineFree() const { return hostLineFree_; }
    // Makes open() fail, as a missing device does.
    void setOpenFailure(std::string reason) { openFailure_ = std::move(reason); }

    void setPortNumber(int n) override { port_ = n; }
    int portNumber() const override { return port_; }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    std::string settings() const override { return settings_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    std::string openError() const override { return openFailure_; }
    void writeByte(uint8_t b) override;
    int inBufferCount() override;
    void discardInput() override { in_.clear(); }
    int readByte() override;
    std::vector<uint8_t> readAll() override;

    // A USB adapter's latency timer: received bytes reach the host in bursts
    // this many seconds apart (0: each as it arrives).
    double adapterLatency = 0;

    // Every byte the host wrote, with the line speed it was sent at.
    struct Sent { double time; uint8_t byte; int baud; };
    std::vector<Sent> sent;
    int opens = 0;

private:
    void fromRadio(uint8_t b);

    Scheduler& clock_;
    RadioModel radio_;
    int port_ = 1;
    std::string settings_ = "4800,n,8,1";
    bool open_ = false;
    std::string openFailure_;
    std::deque<uint8_t> in_;
    double hostLineFree_ = 0;
    double radioLineFree_ = 0;
};

} // namespace vktsim
