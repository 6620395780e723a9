// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The emulated radio served on a pseudo-terminal in real time, for
// vkt-radio-sim on Linux: bytes are paced at the radio's line speed in both
// directions, and the EEPROM is kept in a file between runs. Windows has no
// pseudo-terminal; there the editor runs the radio inside itself (EmulatedPort).

#include <functional>
#include <string>

#include "sim/RadioMemoryFile.h"
#include "sim/RadioModel.h"
#include "sim/RealTimeScheduler.h"

namespace vktsim {

class PtyRadio {
public:
    // eepromFile: where the EEPROM is kept ("" for nowhere), as the user
    // named it: a link there is written through, and stays.
    explicit PtyRadio(std::string eepromFile);
    ~PtyRadio();

    // Reads the EEPROM file: a radio's memory (6016 bytes) or a setup file
    // (6019); no file is a radio with the factory setup. False with why
    // when the file is neither.
    bool load(std::string& why);
    RadioModel& radio() { return radio_; }
    // Opens the pseudo-terminal; false (with errno set) when it cannot.
    bool open();
    // The device a serial port program opens.
    const std::string& devicePath() const { return device_; }
    // Serves until `stop` returns true (checked at least every 100 ms),
    // saving the EEPROM each time the radio leaves programming mode.
    void serve(const std::function<bool()>& stop);
    // Writes the EEPROM to its file when it changed since it was read or
    // last written; a setup file keeps its last three bytes.
    bool save();

private:
    // The line speed the program on the other side has set (0: unknown).
    int hostBaud() const;
    void fromHost(uint8_t b, int baud);
    void toHost(uint8_t b);

    RadioMemoryFile file_;
    RealTimeScheduler clock_;
    RadioModel radio_;
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    double inLineFree_ = 0;
    double outLineFree_ = 0;
};

} // namespace vktsim
