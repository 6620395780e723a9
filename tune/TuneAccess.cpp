// SPDX-License-Identifier: GPL-3.0-or-later
#include "tune/TuneAccess.h"

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"
#include "link/Protocol.h"

namespace VKTCom {

namespace {

namespace P0 = VKTCore::Page0;
namespace CS = VKTCore::ChannelSlot;

} // namespace

std::optional<std::array<uint8_t, 2>> FreqToStepBytes(double mhz) {
    const auto steps = VKTCore::FreqTextToSteps(vkt::FixedText(mhz, 5));
    if (!steps) return std::nullopt;
    return std::array<uint8_t, 2>{static_cast<uint8_t>(*steps >> 8), static_cast<uint8_t>(*steps & 0xFF)};
}

void TuneAccess::fail() {
    link_.UnhookRadio();
    link_.ShowHookError();
}

bool TuneAccess::hooked() {
    if (link_.RadioHooked) return true;
    if (link_.HookRadio()) return true;
    link_.ShowHookError();  // the failed hook has let the radio go already
    return false;
}

int TuneAccess::readByte(int address, bool release) {
    if (!hooked()) return -1;
    int value = 0;
    if (!link_.ReadEEByte(address / 256, address % 256, value)) {
        fail();
        return -1;
    }
    if (release) link_.UnhookRadio();
    return value;
}

bool TuneAccess::writeByte(int address, int value, bool release, int mask) {
    if (!hooked()) return false;
    if (!link_.WriteEEByte(address / 256, address % 256, mask, value)) {
        fail();
        return false;
    }
    if (release) link_.UnhookRadio();
    return true;
}

bool TuneAccess::readPair(int address, int& hi, int& lo) {
    hi = readByte(address, false);
    if (hi < 0) return false;
    lo = readByte(address + 1, false);
    return lo >= 0;
}

bool TuneAccess::writePair(int address, int hi, int lo) {
    return writeByte(address, hi, false) && writeByte(address + 1, lo, false);
}

int TuneAccess::ReadHighPowerDAC(bool release) { return readByte(P0::HighPowerDAC.offset, release); }
bool TuneAccess::WriteHighPowerDAC(int value, bool release) { return writeByte(P0::HighPowerDAC.offset, value, release); }
int TuneAccess::ReadLowPowerDAC(bool release) { return readByte(P0::LowPowerDAC.offset, release); }
bool TuneAccess::WriteLowPowerDAC(int value, bool release) { return writeByte(P0::LowPowerDAC.offset, value, release); }
int TuneAccess::ReadModulation() { return readByte(P0::Modulation.offset, true); }
bool TuneAccess::WriteModulation(int value) { return writeByte(P0::Modulation.offset, value, true); }
int TuneAccess::ReadFrontEndDAC() { return readByte(P0::FrontEndDAC.offset, true); }
bool TuneAccess::WriteFrontEndDAC(int value) { return writeByte(P0::FrontEndDAC.offset, value, true); }
bool TuneAccess::ReadPullCorrection(int& hi, int& lo) { return readPair(P0::PullCorrection.offset, hi, lo); }
bool TuneAccess::WritePullCorrection(int hi, int lo) { return writePair(P0::PullCorrection.offset, hi, lo); }
bool TuneAccess::ReadCrystalCorrection(int& hi, int& lo) { return readPair(P0::CrystalCorrection.offset, hi, lo); }
bool TuneAccess::WriteCrystalCorrection(int hi, int lo) { return writePair(P0::CrystalCorrection.offset, hi, lo); }

bool TuneAccess::WriteChannelFreq(int group, bool isRx, double mhz) {
    // A frequency without a step count is never written.
    const auto bytes = FreqToStepBytes(mhz);
    const int address = VKTCore::ChannelSlotAddress(group, 0) + (isRx ? CS::RxFreq : CS::TxFreq).offset;
    return bytes && writePair(address, (*bytes)[0], (*bytes)[1]);
}

std::string TuneAccess::readFlag(int group, int channel, const VKTCore::Field& flags, const char* set) {
    const VKTCore::ByteBits at = VKTCore::ByteOf(flags[channel]);
    const int b = readByte(VKTCore::GroupBase(group) + at.offset, false);
    if (b < 0) return "";
    return b & at.mask ? set : "-";
}

bool TuneAccess::writeFlag(int group, int channel, const VKTCore::Field& flags, const std::string& text) {
    const VKTCore::ByteBits at = VKTCore::ByteOf(flags[channel]);
    const int address = VKTCore::GroupBase(group) + at.offset;
    int b = readByte(address, false);
    if (b < 0) return false;
    b &= ~at.mask;
    if (text != "-") b |= at.mask;
    return writeByte(address, b, false, at.mask);
}

std::string TuneAccess::ReadNarrowFlag(int group, int channel) { return readFlag(group, channel, VKTCore::GroupBlock::Narrow, "N"); }
bool TuneAccess::WriteNarrowFlag(int group, int channel, const std::string& text) {
    return writeFlag(group, channel, VKTCore::GroupBlock::Narrow, text);
}
std::string TuneAccess::ReadLowPowerFlag(int group, int channel) { return readFlag(group, channel, VKTCore::GroupBlock::LowPower, "L"); }
bool TuneAccess::WriteLowPowerFlag(int group, int channel, const std::string& text) {
    return writeFlag(group, channel, VKTCore::GroupBlock::LowPower, text);
}

bool TuneAccess::ReadChannelData(int group, int channel, ChannelSettings& s, bool release) {
    s = ChannelSettings{};
    const int slot = VKTCore::ChannelSlotAddress(group, channel);
    bool ok = true;
    for (int i = 0; ok && i < ChannelSlotBytes; ++i) {
        const int b = readByte(slot + i, false);
        ok = b >= 0;
        if (ok) s.Slot[static_cast<size_t>(i)] = static_cast<uint8_t>(b);
    }
    if (ok) s.Narrow = ReadNarrowFlag(group, channel);
    if (!s.Narrow.empty()) s.LowPower = ReadLowPowerFlag(group, channel);
    if (release && link_.RadioHooked) link_.UnhookRadio();
    return !s.LowPower.empty();
}

bool TuneAccess::WriteChannelData(int group, int channel, const ChannelSettings& s, bool release) {
    const int slot = VKTCore::ChannelSlotAddress(group, channel);
    bool ok = true;
    for (int i = 0; ok && i < ChannelSlotBytes; ++i) ok = writeByte(slot + i, s.Slot[static_cast<size_t>(i)], false);
    ok = ok && WriteNarrowFlag(group, channel, s.Narrow) && WriteLowPowerFlag(group, channel, s.LowPower);
    if (release && link_.RadioHooked) link_.UnhookRadio();
    return ok;
}

bool TuneAccess::ReadTuneByte(int address, int& value) {
    link_.Comm().writeByte(Protocol::ReadByte);
    link_.Comm().writeByte(static_cast<uint8_t>(address / 256));
    link_.Comm().writeByte(static_cast<uint8_t>(address % 256));
    return link_.WaitForByte(value, "byte read " + AddressText(address / 256, address % 256) + ": no answer");
}

void TuneAccess::SendTuneCommand(int b) {
    if (link_.RadioHooked) link_.Comm().writeByte(static_cast<uint8_t>(b));
}

} // namespace VKTCom
