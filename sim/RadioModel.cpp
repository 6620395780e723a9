// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RadioModel.h"

#include <algorithm>
#include <cmath>

#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/WriteDefaults.h"

namespace vktsim {

namespace {

constexpr uint8_t CmdIdentity = 43, CmdSpeed = 5, CmdRelease = 1, CmdReadByte = 195, CmdWriteByte = 209;
constexpr uint8_t CmdReadBlock = 198, CmdWriteBlock = 212, CmdSquelch = 253;
constexpr uint8_t FastTrigger = 255;
constexpr double CommandGap = 1.0;
constexpr int BlockBytes = 32;
constexpr int NarrowGain = VKTCore::Page0::NarrowSquelchGain.offset, WideGain = VKTCore::Page0::WideSquelchGain.offset;

int BaudOfCode(int code) {
    switch (code) {
    case 0: return 4800;
    case 1: return 9600;
    case 2: return 19200;
    case 3: return 38400;
    default: return 0;
    }
}

size_t CommandLength(uint8_t b) {
    switch (b) {
    case CmdSpeed: return 2;
    case CmdReadByte: return 3;
    case CmdWriteByte: return 5;
    case CmdReadBlock: return 2;
    case CmdWriteBlock: return 2 + BlockBytes;
    default: return 0;
    }
}

} // namespace

RadioModel::RadioModel(Scheduler& clock, std::function<void(uint8_t)> transmit)
    : clock_(clock), transmit_(std::move(transmit)) {}

Eeprom RadioModel::FactorySetup() {
    // The factory setup is written by the editor's own defaults into its
    // shared image; borrow it for a moment.
    const VKTCore::Image saved = VKTCore::MemoryImage;
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    // Alignment values of a radio that has been through the factory.
    auto& im = VKTCore::MemoryImage;
    im[0] = 0x56; im[1] = 0x4B; im[2] = 0x54; im[3] = 0x02;
    namespace P0 = VKTCore::Page0;
    for (const auto& [field, value] : {std::pair{P0::FrontEndDAC, 0x80}, {P0::Modulation, 0x80}, {P0::HighPowerDAC, 200},
                                       {P0::LowPowerDAC, 120}, {P0::CrystalCorrection, 0x0108}, {P0::PullCorrection, 0xFFE0},
                                       {P0::NarrowSquelchGain, 60}, {P0::WideSquelchGain, 85}})
        VKTCore::WriteField(im, 0, field, static_cast<uint64_t>(value));
    Eeprom e{};
    std::copy_n(im.begin(), EepromSize, e.begin());
    im = saved;
    return e;
}

void RadioModel::setHooked(bool hooked) {
    if (hooked == hooked_) return;
    hooked_ = hooked;
    if (onHookChange) onHookChange(hooked);
}

void RadioModel::powerCycle() {
    disconnected_ = false;
    setHooked(false);
    mode_ = Mode::Asleep;
    baud_ = 4800;
    last3_ = {};
    ++squelchRun_;
    received.clear();
}

void RadioModel::receive(uint8_t b) {
    if (disconnected_) return;
    // A command left unfinished for a while is forgotten, as the radio's own
    // firmware does, so that the next hook gets through.
    const double gap = received.empty() ? 1e9 : clock_.now() - received.back().first;
    if (mode_ != Mode::Asleep && mode_ != Mode::Idle && mode_ != Mode::Squelch && gap > CommandGap) mode_ = Mode::Idle;
    received.emplace_back(clock_.now(), b);
    if (faults.disconnectAfterBytes >= 0 && static_cast<int>(received.size()) > faults.disconnectAfterBytes) {
        disconnected_ = true;
        return;
    }
    last3_ = {last3_[1], last3_[2], b};
    const bool wake = last3_[0] == 10 && last3_[1] == 20 && last3_[2] == 40;

    switch (mode_) {
    case Mode::Asleep:
        if (wake) {
            reply({static_cast<uint8_t>(faults.hookAck)});
            if (faults.hookAck == 18) {
                setHooked(true);
                mode_ = Mode::Idle;
            }
        }
        return;
    case Mode::Identity:
        reply({identity[static_cast<size_t>(identityIndex_)]});
        if (++identityIndex_ > 3) mode_ = Mode::Idle;
        return;
    case Mode::Command:
        cmd_.push_back(b);
        if (cmd_.size() == cmdLength_) finishCommand();
        return;
    case Mode::BlockTrigger:
        if (b == FastTrigger && identity == FastIdentity) { mode_ = Mode::Idle; sendBlock(0); }
        else { mode_ = Mode::BlockPacing; sendBlock(-1); }
        return;
    case Mode::BlockPacing:
        sendBlock(-1);
        return;
    case Mode::Squelch:
        if (b == 0) { mode_ = Mode::Idle; ++squelchRun_; }
        return;
    case Mode::Idle:
        if (wake) { reply({static_cast<uint8_t>(faults.hookAck)}); return; }
        command(b);
        return;
    }
}

void RadioModel::command(uint8_t b) {
    switch (b) {
    case CmdIdentity:
        reply({identity[0]});
        identityIndex_ = 1;
        mode_ = Mode::Identity;
        return;
    case CmdRelease:
        setHooked(false);
        baud_ = 4800;
        mode_ = Mode::Asleep;
        return;
    case CmdSquelch:
        mode_ = Mode::Squelch;
        clock_.at(clock_.now() + squelch.interval, [this, run = squelchRun_] { squelchTick(run); });
        return;
    default:
        if (CommandLength(b) == 0) return;  // hook zeros and unknown bytes
        cmd_ = {b};
        cmdLength_ = CommandLength(b);
        mode_ = Mode::Command;
        return;
    }
}

void RadioModel::finishCommand() {
    mode_ = Mode::Idle;
    const std::vector<uint8_t> c = cmd_;
    switch (c[0]) {
    case CmdSpeed: {
        const int baud = BaudOfCode(c[1]);
        if (faults.refuseSpeedChange || baud == 0) return;
        reply({1});
        // The radio changes speed once its acknowledgement is on the line.
        clock_.at(clock_.now() + faults.replyDelay, [this, baud] { baud_ = baud; });
        return;
    }
    case CmdReadByte: {
        const int address = c[1] * 256 + c[2];
        if (address == NarrowGain || address == WideGain) squelchAddress_ = address;
        reply({address < EepromSize ? eeprom[static_cast<size_t>(address)] : uint8_t{0xFF}});
        return;
    }
    case CmdWriteByte: {
        const int address = c[1] * 256 + c[2];
        if (address < EepromSize) {
            uint8_t& e = eeprom[static_cast<size_t>(address)];
            e = static_cast<uint8_t>((e & ~c[3]) | (c[3] & c[4]));
            if (address == NarrowGain || address == WideGain) squelchAddress_ = address;
        }
        if (faults.refuseWrites) { reply({0}); return; }
        if (nacks_ < faults.nacksBeforeAck) { ++nacks_; reply({0}); }
        else { nacks_ = 0; reply(faults.zeroBeforeOne ? std::vector<uint8_t>{0, 1} : std::vector<uint8_t>{1}); }
        return;
    }
    case CmdReadBlock:
        block_ = c[1];
        blockSent_ = 0;
        if (faults.silentFromBlock >= 0 && block_ >= faults.silentFromBlock) return;
        if (block_ == faults.unansweredOnce) {
            faults.unansweredOnce = -1;
            return;
        }
        if (identity == FastIdentity) mode_ = Mode::BlockTrigger;
        else { mode_ = Mode::BlockPacing; sendBlock(-1); }
        return;
    case CmdWriteBlock: {
        const int block = c[1];
        if (faults.silentFromBlock >= 0 && block >= faults.silentFromBlock) return;
        if (block < EepromSize / BlockBytes && block != faults.forgetBlockWrite)
            std::copy(c.begin() + 2, c.end(), eeprom.begin() + block * BlockBytes);
        reply({1});
        return;
    }
    }
}

// from >= 0: the whole rest of the block from that byte; -1: the next byte only.
void RadioModel::sendBlock(int from) {
    std::vector<uint8_t> bytes;
    const int first = from >= 0 ? from : blockSent_;
    const int last = from >= 0 ? BlockBytes : std::min(blockSent_ + 1, BlockBytes);
    if (faults.strayBytesBeforeBlock == block_ && first == 0) bytes = {0x55, 0xAA, 0x55};
    for (int i = first; i < last; ++i) {
        const int address = block_ * BlockBytes + i;
        if (block_ == faults.dropByteInBlock && i == BlockBytes / 2) continue;
        bytes.push_back(address < EepromSize ? eeprom[static_cast<size_t>(address)] : uint8_t{0xFF});
    }
    blockSent_ = last;
    if (blockSent_ >= BlockBytes) {
        mode_ = Mode::Idle;
        if (faults.extraByteEveryBlock || faults.extraByteAfterBlock == block_) bytes.push_back(0xA5);
    }
    reply(std::move(bytes));
}

void RadioModel::reply(std::vector<uint8_t> bytes) {
    if (faults.silent || bytes.empty()) return;
    auto send = [this, bytes] {
        if (disconnected_) return;
        for (uint8_t b : bytes) transmit_(b);
    };
    if (faults.replyDelay > 0) clock_.at(clock_.now() + faults.replyDelay, send);
    else send();
}

int RadioModel::squelchReading() {
    if (faults.squelchBroken) return 100;
    const int gain = eeprom[static_cast<size_t>(squelchAddress_)];
    if (squelchCurve) return std::clamp(squelchCurve(gain), 0, 255);
    const int defaultGain = squelchAddress_ == NarrowGain ? 60 : 85;
    const double clean = 244 + squelch.offset + squelch.slope * (defaultGain - gain);
    if (!squelch.drawn) squelch.drawn.emplace(squelch.seed);
    // The generator's own arithmetic rather than a library distribution, so
    // that a seed gives the same readings with every standard library.
    const int n = std::max(squelch.noise, 0);
    const int noise = static_cast<int>((*squelch.drawn)() % static_cast<unsigned>(2 * n + 1)) - n;
    return std::clamp(static_cast<int>(std::lround(clean)) + noise, 0, 255);
}

void RadioModel::squelchTick(uint64_t run) {
    if (mode_ != Mode::Squelch || run != squelchRun_ || disconnected_) return;
    if (!faults.silent) transmit_(static_cast<uint8_t>(squelchReading()));
    clock_.at(clock_.now() + squelch.interval, [this, run] { squelchTick(run); });
}

} // namespace vktsim
