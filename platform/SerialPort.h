// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the link needs of a serial port, and nothing more. Bytes are 8-bit
// values carried unchanged in both directions.

#include <cstdint>
#include <string>
#include <vector>

namespace vkt {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port 1 ... 4; only changed while the port is closed.
    virtual void setPortNumber(int n) = 0;
    virtual int portNumber() const = 0;
    // Line settings such as "4800,n,8,1"; takes effect at once, also when open.
    virtual void setSettings(const std::string& settings) = 0;
    virtual std::string settings() const = 0;

    // False when the device cannot be opened; openError() then says why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual std::string openError() const = 0;

    virtual void writeByte(uint8_t b) = 0;
    // Received bytes waiting; never blocks.
    virtual int inBufferCount() = 0;
    virtual void discardInput() = 0;
    // The oldest waiting byte, or -1 when none is waiting.
    virtual int readByte() = 0;
    virtual std::vector<uint8_t> readAll() = 0;
};

// The port number of the emulated radio, beyond the four Comm Ports.
inline constexpr int EmulatedPort = 5;

// The baud rate of a settings string ("9600,n,8,1" gives 9600; 0 when unreadable).
int BaudOfSettings(const std::string& settings);

} // namespace vkt
