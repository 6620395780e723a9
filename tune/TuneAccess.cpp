#include "tune/TuneAccess.h"

#include <cctype>

#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "link/Protocol.h"
#include "core/Text.h"

namespace VKTCom {

namespace {

namespace P0 = VKTCore::Page0;
namespace CS = VKTCore::ChannelSlot;

constexpr double CheckedBelowMHz = 148.0;

int ChannelFreqByte(int group, bool isRx) {
    return VKTCore::ChannelSlotAddress(group, 0) + (isRx ? CS::RxFreq : CS::TxFreq).offset;
}
int ChannelGuardByte(int group, bool isRx) { return VKTCore::ChannelSlotAddress(group, 0) + (isRx ? CS::RxCG : CS::TxCG).offset; }

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

} // namespace

std::string StepBytesToFreqText(int hi, int lo) {
    return vkt::FixedText((100000000.0 + 1250.0 * (hi * 256 + lo)) / 1000000.0, 5);
}

std::optional<std::array<uint8_t, 2>> FreqToStepBytes(double mhz) {
    const double steps = vkt::RoundHalfEven((mhz * 1e6 - 1e8) / 1250);
    if (steps < 0 || steps > 65535) return std::nullopt;
    const auto s = static_cast<unsigned>(steps);
    return std::array<uint8_t, 2>{static_cast<uint8_t>(s >> 8), static_cast<uint8_t>(s & 0xFF)};
}

std::optional<std::array<uint8_t, 2>> CGTextToBytes(const std::string& text) {
    const std::string t = vkt::ToUpper(text);
    int value = 0;
    if (!t.empty() && t[0] == 'D') {
        if (t.size() < 4 || !IsDigit(t[1]) || !IsDigit(t[2]) || !IsDigit(t[3])) return std::nullopt;
        value = 32768 + (t.back() == '-' ? 16384 : 0) + 2048 + (t[1] - '0') * 64 + (t[2] - '0') * 8 + (t[3] - '0');
    } else {
        std::string digits;
        for (char c : t)
            if (c != '.') digits += c;
        if (digits.size() < 4) digits.insert(0, "0");
        if (digits.size() != 4) return std::nullopt;
        for (char c : digits)
            if (!IsDigit(c)) return std::nullopt;
        value = (digits[0] - '0') * 4096 + (digits[1] - '0') * 256 + (digits[2] - '0') * 16 + (digits[3] - '0');
    }
    return std::array<uint8_t, 2>{static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
}

std::string CGBytesToText(int hi, int lo) {
    if (hi == 0 && lo == 0) return "000.0";
    const std::string l = vkt::Hex2(static_cast<unsigned>(lo));
    if (!(hi & 0x80)) return vkt::Hex2(static_cast<unsigned>(hi)) + l.substr(0, 1) + "." + l.substr(1, 1);
    std::string text = "D" + std::to_string((hi & 1) * 4 + ((lo >> 6) & 3)) + std::to_string((lo >> 3) & 7) + std::to_string(lo & 7);
    if (hi & 0x40) text += "-";
    return text;
}

void TuneAccess::fail() {
    link_.UnhookRadio();
    link_.ShowHookError();
}

bool TuneAccess::hooked() {
    if (link_.RadioHooked) return true;
    if (link_.HookRadio()) return true;
    fail();
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

double TuneAccess::ReadChannelFreq(int group, bool isRx) {
    int hi = 0, lo = 0;
    if (!readPair(ChannelFreqByte(group, isRx), hi, lo)) return -1;
    return vkt::Val(StepBytesToFreqText(hi, lo));
}

bool TuneAccess::WriteChannelFreq(int group, bool isRx, double mhz) {
    // A frequency without a step count is never written.
    const auto bytes = FreqToStepBytes(mhz);
    return bytes && writePair(ChannelFreqByte(group, isRx), (*bytes)[0], (*bytes)[1]);
}

std::string TuneAccess::ReadChannelCG(int group, bool isRx) {
    int hi = 0, lo = 0;
    if (!readPair(ChannelGuardByte(group, isRx), hi, lo)) return "";
    return CGBytesToText(hi, lo);
}

bool TuneAccess::WriteChannelCG(int group, bool isRx, const std::string& text) {
    const auto bytes = CGTextToBytes(text);
    return bytes && writePair(ChannelGuardByte(group, isRx), (*bytes)[0], (*bytes)[1]);
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
    int rxHi = 0, rxLo = 0, txHi = 0, txLo = 0;
    const bool rxRead = readPair(ChannelFreqByte(group, true), rxHi, rxLo);
    s.RxFreq = rxRead ? vkt::Val(StepBytesToFreqText(rxHi, rxLo)) : -1;
    if (rxRead) s.RxCG = ReadChannelCG(group, true);
    const bool txRead = rxRead && !s.RxCG.empty() && readPair(ChannelFreqByte(group, false), txHi, txLo);
    s.TxFreq = txRead ? vkt::Val(StepBytesToFreqText(txHi, txLo)) : -1;
    if (txRead) s.TxCG = ReadChannelCG(group, false);
    if (txRead && !s.TxCG.empty()) s.Narrow = ReadNarrowFlag(group, channel);
    if (!s.Narrow.empty()) s.LowPower = ReadLowPowerFlag(group, channel);
    if (release && link_.RadioHooked) link_.UnhookRadio();
    if (s.RxFreq >= 0 && s.TxFreq >= 0) {
        if (s.RxFreq < CheckedBelowMHz) {
            s.RxFreq = 0;
            s.RxOriginal = std::array<uint8_t, 2>{static_cast<uint8_t>(rxHi), static_cast<uint8_t>(rxLo)};
        }
        if (s.TxFreq < CheckedBelowMHz) {
            s.TxFreq = CheckedBelowMHz;
            s.TxOriginal = std::array<uint8_t, 2>{static_cast<uint8_t>(txHi), static_cast<uint8_t>(txLo)};
        }
    }
    return s.RxFreq >= 0 && s.TxFreq >= 0 && !s.RxCG.empty() && !s.TxCG.empty() && !s.Narrow.empty() && !s.LowPower.empty();
}

bool TuneAccess::WriteChannelData(int group, int channel, const ChannelSettings& s, bool release) {
    auto freq = [&](bool isRx, double mhz, const std::optional<std::array<uint8_t, 2>>& original) {
        if (original) return writePair(ChannelFreqByte(group, isRx), (*original)[0], (*original)[1]);
        return WriteChannelFreq(group, isRx, mhz);
    };
    const bool ok = freq(true, s.RxFreq, s.RxOriginal) && WriteChannelCG(group, true, s.RxCG) &&
                    freq(false, s.TxFreq, s.TxOriginal) && WriteChannelCG(group, false, s.TxCG) &&
                    WriteNarrowFlag(group, channel, s.Narrow) && WriteLowPowerFlag(group, channel, s.LowPower);
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
