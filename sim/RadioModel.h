// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's side of the programming protocol over a 6016-byte EEPROM: hook,
// identity, speed change, release, byte and block reads and writes, masked
// writes and the squelch reading stream, with knobs for the faults a real
// radio and cable show.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "core/MemoryMap.h"
#include "sim/Scheduler.h"

namespace vktsim {

inline constexpr int EepromSize = 6016;
using Eeprom = std::array<uint8_t, EepromSize>;

struct RadioFaults {
    bool silent = false;              // answers nothing at all
    int hookAck = 18;                 // the byte sent in answer to the hook
    double replyDelay = 0;            // seconds before each answer starts
    int silentFromBlock = -1;         // block commands from this block on get no answer
    int unansweredOnce = -1;          // the first read of this block gets no answer (a stalled line)
    int dropByteInBlock = -1;         // one byte of this block's read answer is lost
    int strayBytesBeforeBlock = -1;   // line noise: three stray bytes before this block's answer
    int extraByteAfterBlock = -1;     // one byte too many after this block's answer
    bool extraByteEveryBlock = false; // one byte too many after every block's answer
    int disconnectAfterBytes = -1;    // the cable comes off after this many received bytes
    bool refuseSpeedChange = false;
    int nacksBeforeAck = 0;           // this many writes are answered 0 before one is answered 1
    bool refuseWrites = false;        // every masked write is answered 0, for ever
    int forgetBlockWrite = -1;        // this block's write is acknowledged but not stored
    bool zeroBeforeOne = false;       // every write is answered 0, then 1
    bool squelchBroken = false;       // readings stay low whatever the gain
};

// How the squelch detector answers its gain. A lower gain opens it further:
// the reading falls `slope` counts per gain step and is 244 + `offset` at the
// band's default gain; each reading is off by up to `noise` counts either
// way, drawn from a generator seeded with `seed` so that a run repeats. A
// response set anew starts its noise afresh: what one run drew never shapes
// the next one's readings.
struct SquelchResponse {
    double slope = 2;
    int offset = 0;
    int noise = 0;
    unsigned seed = 1;
    double interval = 0.010;          // seconds between two readings of the stream
    std::optional<std::minstd_rand> drawn = {};  // the noise so far
};

class RadioModel {
public:
    // `transmit` hands one byte to the line; the transport paces it.
    RadioModel(Scheduler& clock, std::function<void(uint8_t)> transmit);

    // A whole byte has arrived from the host.
    void receive(uint8_t b);
    // The line speed the radio listens and talks at.
    int baud() const { return baud_; }
    bool hooked() const { return hooked_; }
    bool disconnected() const { return disconnected_; }
    // Power off and on: out of programming mode, back at 4800 baud, cable in.
    void powerCycle();

    // A radio with the factory channels and plausible alignment values.
    static Eeprom FactorySetup();
    static constexpr std::array<uint8_t, 4> FastIdentity{0x2A, 0xAA, 0x01, 0x05};
    static constexpr std::array<uint8_t, 4> SlowIdentity{0x2A, 0xA9, 0x01, 0x03};

    Eeprom eeprom{};
    std::array<uint8_t, 4> identity = FastIdentity;
    RadioFaults faults;
    // Every byte received, in order, with its time: what was on the wire.
    std::vector<std::pair<double, uint8_t>> received;

    // Told when the radio enters or leaves programming mode.
    std::function<void(bool hooked)> onHookChange;

    SquelchResponse squelch;
    // The next squelch reading the radio reports for its current gain.
    int squelchReading();
    // Replaces the built-in reading model (reading for a gain), for tests
    // that need a given sequence of averages.
    std::function<int(int gain)> squelchCurve;

private:
    enum class Mode { Asleep, Idle, Identity, Command, BlockTrigger, BlockPacing, Squelch };

    void command(uint8_t b);
    void finishCommand();
    void reply(std::vector<uint8_t> bytes);
    void sendBlock(int from);
    void squelchTick(uint64_t run);
    void setHooked(bool hooked);

    Scheduler& clock_;
    std::function<void(uint8_t)> transmit_;
    Mode mode_ = Mode::Asleep;
    bool hooked_ = false;
    bool disconnected_ = false;
    int baud_ = 4800;
    std::array<uint8_t, 3> last3_{};
    std::vector<uint8_t> cmd_;
    size_t cmdLength_ = 0;
    int identityIndex_ = 0;
    int block_ = 0;
    int blockSent_ = 0;
    int squelchAddress_ = VKTCore::Page0::NarrowSquelchGain.offset;
    uint64_t squelchRun_ = 0;
    int nacks_ = 0;
};

} // namespace vktsim
