// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimSerialPort.h"

#include <algorithm>
#include <cmath>

namespace vktsim {

namespace {
double ByteTime(int baud) { return baud > 0 ? 10.0 / baud : 0.01; }
} // namespace

SimSerialPort::SimSerialPort(Scheduler& clock)
    : clock_(clock), radio_(clock, [this](uint8_t b) { fromRadio(b); }) {}

bool SimSerialPort::open() {
    if (!openFailure_.empty()) return false;
    open_ = true;
    ++opens;
    in_.clear();
    return true;
}

void SimSerialPort::close() {
    open_ = false;
    in_.clear();
}

void SimSerialPort::writeByte(uint8_t b) {
    if (!open_) return;
    const int baud = vkt::BaudOfSettings(settings_);
    sent.push_back({clock_.now(), b, baud});
    hostLineFree_ = std::max(hostLineFree_, clock_.now()) + ByteTime(baud);
    clock_.at(hostLineFree_, [this, b, baud] {
        if (radio_.baud() == baud) radio_.receive(b);
    });
}

void SimSerialPort::fromRadio(uint8_t b) {
    const int baud = radio_.baud();
    radioLineFree_ = std::max(radioLineFree_, clock_.now()) + ByteTime(baud);
    const double passedOn = adapterLatency > 0 ? std::ceil(radioLineFree_ / adapterLatency) * adapterLatency : radioLineFree_;
    clock_.at(passedOn, [this, b, baud] {
        if (open_ && vkt::BaudOfSettings(settings_) == baud) in_.push_back(b);
    });
}

int SimSerialPort::inBufferCount() { return static_cast<int>(in_.size()); }

int SimSerialPort::readByte() {
    if (in_.empty()) return -1;
    const int b = in_.front();
    in_.pop_front();
    return b;
}

std::vector<uint8_t> SimSerialPort::readAll() {
    std::vector<uint8_t> out(in_.begin(), in_.end());
    in_.clear();
    return out;
}

} // namespace vktsim
