// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The emulated radio inside the program, on the wall clock, behind the same
// serial port interface as a cable: the "Emulated Radio" item where there is
// no pseudo-terminal for vkt-radio-sim to serve (Windows). Bytes take their
// line time as on a cable, what the radio sends arrives when the link next
// looks, and the radio's memory is kept in a file between runs as
// vkt-radio-sim keeps it.

#include <string>

#include "sim/RadioMemoryFile.h"
#include "sim/RealTimeScheduler.h"
#include "sim/SimSerialPort.h"

namespace vktsim {

class EmulatedPort : public vkt::SerialPort {
public:
    // eepromFile: where the radio's memory is kept ("" for nowhere), a file
    // of the editor's data folder, where a link found was planted and is
    // replaced rather than followed.
    explicit EmulatedPort(std::string eepromFile);
    ~EmulatedPort() override;
    // Reads the memory file (see RadioMemoryFile); false with why.
    bool load(std::string& why);
    RadioModel& radio() { return port_.radio(); }

    void setPortNumber(int n) override { port_.setPortNumber(n); }
    int portNumber() const override { return port_.portNumber(); }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return port_.settings(); }
    bool open() override { return port_.open(); }
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    std::string openError() const override { return port_.openError(); }
    void writeByte(uint8_t b) override;
    int inBufferCount() override;
    void discardInput() override;
    int readByte() override;
    std::vector<uint8_t> readAll() override;

private:
    RealTimeScheduler clock_;
    SimSerialPort port_;
    RadioMemoryFile file_;
};

} // namespace vktsim
