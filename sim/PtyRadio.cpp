// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PtyRadio.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace vktsim {

namespace {

double ByteTime(int baud) { return 10.0 / baud; }

} // namespace

PtyRadio::PtyRadio(std::string eepromFile)
    : file_(std::move(eepromFile), vktstore::Links::WriteThrough), radio_(clock_, [this](uint8_t b) { toHost(b); }) {
    radio_.eeprom = RadioModel::FactorySetup();
}

bool PtyRadio::load(std::string& why) { return file_.load(radio_.eeprom, why); }

PtyRadio::~PtyRadio() {
    save();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PtyRadio::open() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return false;
    const char* name = ::ptsname(master_);
    if (!name) return false;
    device_ = name;
    // Holding the far side open keeps the line up between the program's
    // sessions, and raw mode carries every byte value unchanged.
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) return false;
    termios t{};
    if (::tcgetattr(slave_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetspeed(&t, B38400);  // no radio speed: the line's state between sessions
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

// Only the radio's own speeds count: between sessions the line is at the
// speed it was opened with (a program's port puts it back when it closes,
// maybe before the release byte it just sent has been read here).
int PtyRadio::hostBaud() const {
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0) return 0;
    switch (::cfgetospeed(&t)) {
    case B4800: return 4800;
    case B9600: return 9600;
    default: return 0;
    }
}

// A byte sent at another speed than the radio listens at is not heard, as
// on a real line: a program that forgets the speed change gets no answer.
void PtyRadio::fromHost(uint8_t b, int baud) {
    if (baud != 0 && baud != radio_.baud()) return;
    // The byte reaches the radio once it has crossed the line.
    inLineFree_ = std::max(inLineFree_, clock_.now()) + ByteTime(radio_.baud());
    clock_.at(inLineFree_, [this, b] { radio_.receive(b); });
}

void PtyRadio::toHost(uint8_t b) {
    const int baud = radio_.baud();
    outLineFree_ = std::max(outLineFree_, clock_.now()) + ByteTime(baud);
    clock_.at(outLineFree_, [this, b, baud] {
        const int host = hostBaud();
        if (host != 0 && host != baud) return;
        const ssize_t n = ::write(master_, &b, 1);
        (void)n;
    });
}

void PtyRadio::serve(const std::function<bool()>& stop) {
    while (!stop()) {
        pollfd p{master_, POLLIN, 0};
        const int timeoutMs = static_cast<int>(std::min(100.0, clock_.untilNext() * 1000.0));
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready > 0 && (p.revents & POLLIN)) {
            uint8_t buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            const int baud = hostBaud();
            for (ssize_t i = 0; i < n; ++i) fromHost(buf[i], baud);
        }
        clock_.runDue();
        // Once per transfer, when the program lets the radio go: a file
        // renamed and synced after every block would double a write's time on
        // a slow disk.
        if (!radio_.hooked()) save();
    }
}

bool PtyRadio::save() { return file_.save(radio_.eeprom); }

} // namespace vktsim
