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

// A channel's transmit-relevant settings while the calibration borrows it.
struct ChannelSettings {
    double RxFreq = 0;
    std::string RxCG;
    double TxFreq = 0;
    std::string TxCG;
    std::string Narrow;    // "N" narrow, "-" wide
    std::string LowPower;  // "L" low, "-" high
    // The radio's own bytes of a frequency that the check replaced, so that
    // putting the channel back restores what the radio had.
    std::optional<std::array<uint8_t, 2>> RxOriginal, TxOriginal;
};

// Text of two step-count bytes ("173.99500").
std::string StepBytesToFreqText(int hi, int lo);
// The step-count bytes of a frequency; nothing outside the step range.
std::optional<std::array<uint8_t, 2>> FreqToStepBytes(double mhz);
// A channel guard text as its two bytes; nothing when it has no encoding.
std::optional<std::array<uint8_t, 2>> CGTextToBytes(const std::string& text);
std::string CGBytesToText(int hi, int lo);

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

    // MHz, or -1 on failure.
    double ReadChannelFreq(int group, bool isRx);
    bool WriteChannelFreq(int group, bool isRx, double mhz);
    // "" on failure.
    std::string ReadChannelCG(int group, bool isRx);
    bool WriteChannelCG(int group, bool isRx, const std::string& text);
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
