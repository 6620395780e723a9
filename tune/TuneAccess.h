// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tuning procedures' way into the radio: alignment values of page 0 and
// channel 1 read and written at once with the byte commands, hooking first
// when needed, and reporting a failure with the hook message after the byte
// command's own.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/MemoryMap.h"
#include "link/RadioLink.h"

namespace VKTCom {

// The bytes of a channel's slot: receive and transmit frequency and channel
// guard, high byte first.
inline constexpr int ChannelSlotBytes = VKTCore::ChannelSlot::TxCG.offset + VKTCore::ChannelSlot::TxCG.size;

// A channel as the calibration borrows it: its slot exactly as the radio
// holds it, and its flags, so that putting it back gives the radio what it had.
struct ChannelSettings {
    std::array<uint8_t, ChannelSlotBytes> Slot{};
    std::string Narrow;    // "N" narrow, "-" wide
    std::string LowPower;  // "L" low, "-" high
};

// The step-count bytes of a frequency; nothing outside the step range.
std::optional<std::array<uint8_t, 2>> FreqToStepBytes(double mhz);

class TuneAccess {
public:
    explicit TuneAccess(RadioLink& link) : link_(link) {}

    int ReadHighPowerDAC(bool release);
    bool WriteHighPowerDAC(int value, bool release);
    int ReadLowPowerDAC(bool release);
    bool WriteLowPowerDAC(int value, bool release);
    int ReadModulation();
    bool WriteModulation(int value);
    int ReadFrontEndDAC();
    bool WriteFrontEndDAC(int value);
    bool ReadPullCorrection(int& hi, int& lo);
    bool WritePullCorrection(int hi, int lo);
    bool ReadCrystalCorrection(int& hi, int& lo);
    bool WriteCrystalCorrection(int hi, int lo);

    bool WriteChannelFreq(int group, bool isRx, double mhz);
    std::string ReadNarrowFlag(int group, int channel);
    bool WriteNarrowFlag(int group, int channel, const std::string& text);
    std::string ReadLowPowerFlag(int group, int channel);
    bool WriteLowPowerFlag(int group, int channel, const std::string& text);

    bool ReadChannelData(int group, int channel, ChannelSettings& settings, bool release);
    bool WriteChannelData(int group, int channel, const ChannelSettings& settings, bool release);

    // No hook check and no message: the squelch procedure's raw access.
    bool ReadTuneByte(int address, int& value);
    void SendTuneCommand(int b);

    RadioLink& link() { return link_; }

private:
    bool hooked();
    int readByte(int address, bool release);
    bool writeByte(int address, int value, bool release, int mask = 255);
    bool readPair(int address, int& hi, int& lo);
    bool writePair(int address, int hi, int lo);
    std::string readFlag(int group, int channel, const VKTCore::Field& flags, const char* set);
    bool writeFlag(int group, int channel, const VKTCore::Field& flags, const std::string& text);
    void fail();

    RadioLink& link_;
};

} // namespace VKTCom
