// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SerialTrace.h"

#include "core/Text.h"

namespace VKTCom {

void SerialTrace::stamp() {
    out_ << vkt::PadLeft(vkt::FixedText(now_(), 6), 12, ' ') << ' ';
}

void SerialTrace::endLine() {
    if (direction_) out_ << "\n";
    direction_ = 0;
    onLine_ = 0;
}

void SerialTrace::byte(char direction, uint8_t b) {
    if (direction_ != direction || onLine_ == 16) {
        endLine();
        stamp();
        out_ << direction;
        direction_ = direction;
    }
    out_ << ' ' << vkt::Hex2(b);
    ++onLine_;
}

void SerialTrace::note(const std::string& text) {
    endLine();
    stamp();
    out_ << "-- " << text << "\n";
    out_.flush();
}

void SerialTrace::setSettings(const std::string& settings) {
    if (settings != port_.settings()) note("line " + settings);
    port_.setSettings(settings);
}

bool SerialTrace::open() {
    const bool ok = port_.open();
    note(ok ? "port " + std::to_string(port_.portNumber()) + " opened" : "port " + std::to_string(port_.portNumber()) + " not opened: " + port_.openError());
    return ok;
}

void SerialTrace::close() {
    port_.close();
    note("port closed");
}

void SerialTrace::writeByte(uint8_t b) {
    port_.writeByte(b);
    byte('>', b);
}

void SerialTrace::discardInput() {
    const int waiting = port_.inBufferCount();
    port_.discardInput();
    if (waiting > 0) note("discarded " + std::to_string(waiting) + " waiting bytes");
}

int SerialTrace::readByte() {
    const int b = port_.readByte();
    if (b >= 0) byte('<', static_cast<uint8_t>(b));
    return b;
}

std::vector<uint8_t> SerialTrace::readAll() {
    const std::vector<uint8_t> bytes = port_.readAll();
    for (uint8_t b : bytes) byte('<', b);
    return bytes;
}

} // namespace VKTCom
