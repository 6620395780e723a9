// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/EmulatedPort.h"

#include <chrono>
#include <thread>

namespace vktsim {

EmulatedPort::EmulatedPort(std::string eepromFile) : port_(clock_), file_(std::move(eepromFile), vktstore::Links::Replace) {
    port_.radio().eeprom = RadioModel::FactorySetup();
}

EmulatedPort::~EmulatedPort() {
    close();
    file_.save(port_.radio().eeprom);
}

bool EmulatedPort::load(std::string& why) { return file_.load(port_.radio().eeprom, why); }

// Whatever the radio did by now happens before the link sees the line.
void EmulatedPort::setSettings(const std::string& settings) {
    clock_.runDue();
    port_.setSettings(settings);
}

void EmulatedPort::writeByte(uint8_t b) {
    clock_.runDue();
    port_.writeByte(b);
}

int EmulatedPort::inBufferCount() {
    clock_.runDue();
    return port_.inBufferCount();
}

void EmulatedPort::discardInput() {
    clock_.runDue();
    port_.discardInput();
}

int EmulatedPort::readByte() {
    clock_.runDue();
    return port_.readByte();
}

std::vector<uint8_t> EmulatedPort::readAll() {
    clock_.runDue();
    return port_.readAll();
}

// The release byte reaches the radio before the port goes, as a cable's
// driver sends what was written before it closes; then, once the radio is
// out of programming mode, its memory is saved, once per transfer.
void EmulatedPort::close() {
    const double wait = port_.lineFree() - clock_.now();
    if (port_.isOpen() && wait > 0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
    clock_.runDue();
    port_.close();
    if (!port_.radio().hooked()) file_.save(port_.radio().eeprom);
}

} // namespace vktsim
