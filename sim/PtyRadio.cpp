#include "sim/PtyRadio.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "store/FileReader.h"
#include "store/FileWriter.h"

namespace vktsim {

namespace {

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double ByteTime(int baud) { return 10.0 / baud; }

} // namespace

RealTimeScheduler::RealTimeScheduler() : origin_(WallSeconds()) {}

double RealTimeScheduler::now() const { return WallSeconds() - origin_; }

void RealTimeScheduler::at(double when, std::function<void()> action) {
    events_.emplace(std::make_pair(when, sequence_++), std::move(action));
}

double RealTimeScheduler::untilNext() const {
    return events_.empty() ? 1e9 : std::max(0.0, events_.begin()->first.first - now());
}

void RealTimeScheduler::runDue() {
    while (!events_.empty() && events_.begin()->first.first <= now()) {
        auto node = events_.extract(events_.begin());
        node.mapped()();
    }
}

PtyRadio::PtyRadio(std::string eepromFile)
    : eepromFile_(std::move(eepromFile)), radio_(clock_, [this](uint8_t b) { toHost(b); }) {
    radio_.eeprom = RadioModel::FactorySetup();
    std::vector<uint8_t> bytes;
    vktstore::FileError error;
    // A setup file (6019 bytes) holds the EEPROM at its start, too.
    if (!eepromFile_.empty() && vktstore::ReadFileBytes(eepromFile_, radio_.eeprom.size(), radio_.eeprom.size(), bytes, error))
        std::copy_n(bytes.begin(), radio_.eeprom.size(), radio_.eeprom.begin());
    saved_ = radio_.eeprom;
}

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
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

void PtyRadio::fromHost(uint8_t b) {
    // The byte reaches the radio once it has crossed the line.
    inLineFree_ = std::max(inLineFree_, clock_.now()) + ByteTime(radio_.baud());
    clock_.at(inLineFree_, [this, b] { radio_.receive(b); });
}

void PtyRadio::toHost(uint8_t b) {
    outLineFree_ = std::max(outLineFree_, clock_.now()) + ByteTime(radio_.baud());
    clock_.at(outLineFree_, [this, b] {
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
            for (ssize_t i = 0; i < n; ++i) fromHost(buf[i]);
        }
        clock_.runDue();
        if (radio_.eeprom != saved_) save();
    }
}

bool PtyRadio::save() {
    if (eepromFile_.empty()) return true;
    // The file lives in the editor's data folder: a link there is not followed.
    vktstore::FileError error;
    if (!vktstore::WriteFileReplacing(eepromFile_, radio_.eeprom, error, vktstore::Links::Replace)) return false;
    saved_ = radio_.eeprom;
    return true;
}

} // namespace vktsim
