// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An opt-in record of the serial line: every byte sent and received, as a
// time-stamped hex dump, with the link's time-outs and retries marked. It
// wraps the real port, so the link does not know it is there.

#include <functional>
#include <ostream>

#include "platform/SerialPort.h"

namespace VKTCom {

class SerialTrace : public vkt::SerialPort {
public:
    // now: seconds, for the time stamps.
    SerialTrace(vkt::SerialPort& port, std::ostream& out, std::function<double()> now)
        : port_(port), out_(out), now_(std::move(now)) {}

    // A line of the link's own: "time-out", "hook attempt 2" ...
    void note(const std::string& text);

    void setPortNumber(int n) override { port_.setPortNumber(n); }
    int portNumber() const override { return port_.portNumber(); }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return port_.settings(); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    std::string openError() const override { return port_.openError(); }
    void writeByte(uint8_t b) override;
    int inBufferCount() override { return port_.inBufferCount(); }
    void discardInput() override;
    int readByte() override;
    std::vector<uint8_t> readAll() override;

private:
    // Consecutive bytes of one direction share a line.
    void byte(char direction, uint8_t b);
    void endLine();
    void stamp();

    vkt::SerialPort& port_;
    std::ostream& out_;
    std::function<double()> now_;
    char direction_ = 0;
    int onLine_ = 0;
};

} // namespace VKTCom
