// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ChannelCodes.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/MemoryImage.h"
#include "core/Text.h"

namespace VKTCore {

namespace {

// Code 00 ... 30 in order; index = code.
const char* const LabelTable[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "-", "*", "$", "/", "+", "%", "\\", "|", "_", "<", ">", "h", " ",
};
constexpr int LabelTableSize = sizeof LabelTable / sizeof LabelTable[0];
constexpr int SpaceCode = 0x30;

int LabelCodeOf(const std::string& ch) {
    for (int i = 0; i < LabelTableSize; ++i)
        if (ch == LabelTable[i]) return i;
    return -1;
}

bool IsDigit(const std::string& ch) {
    return ch.size() == 1 && std::isdigit(static_cast<unsigned char>(ch[0]));
}

} // namespace

std::string CharToLabelCode(const std::string& ch) {
    const int code = LabelCodeOf(ch);
    return vkt::Hex2(static_cast<unsigned>(code < 0 ? SpaceCode : code));
}

std::string LabelCodeToChar(const std::string& code) {
    const std::string padded = code.size() == 1 ? "0" + code : code;
    for (int i = 0; i < LabelTableSize; ++i)
        if (padded == vkt::Hex2(static_cast<unsigned>(i))) return LabelTable[i];
    return "";
}

LabelCodes EncodeLabel(const std::string& text) {
    const auto chars = vkt::Chars(vkt::PadLeft(text, 8, ' '));
    LabelCodes codes{};
    for (size_t i = 0; i < 8; ++i) {
        const std::string ch = chars[i] == "h" ? chars[i] : vkt::ToUpper(chars[i]);
        codes[i] = static_cast<uint8_t>(HexToNumber(CharToLabelCode(ch)));
    }
    return codes;
}

void PutImageLabel(Image& image, int address, const LabelCodes& codes) {
    for (size_t i = 0; i < codes.size(); ++i) image.at(static_cast<size_t>(address) + i) = codes[i];
}

std::string DecodeLabel(const uint8_t* codes) {
    std::string text;
    // The code is the table's index: the comparison decodes every label of
    // two setups, many times over.
    for (int i = 0; i < 8; ++i)
        if (codes[i] < LabelTableSize) text += LabelTable[codes[i]];
    return text;
}

std::string strHexToFreq(double dFreqHex) {
    return StepsToMHzText(static_cast<unsigned>(dFreqHex));
}

double dFreqToDbl(const std::string& StrFreq) {
    const double v = vkt::Val(StrFreq);
    if (v == 0) return 0;
    return (v * 1000000 - 100000000) / 1250;
}

std::optional<uint16_t> FreqTextToSteps(const std::string& text) {
    const double steps = vkt::RoundHalfEven(dFreqToDbl(text));
    if (steps < 0 || steps > 65535) return std::nullopt;
    return static_cast<uint16_t>(steps);
}

std::optional<uint16_t> ChannelHertzToSteps(long long hertz) {
    if (hertz == 0) return 0;
    const bool onStep = std::any_of(std::begin(ChannelStepsHertz), std::end(ChannelStepsHertz), [&](long long step) { return hertz % step == 0; });
    if (!onStep || hertz < LowestChannelHertz || hertz > HighestChannelHertz) return std::nullopt;
    return static_cast<uint16_t>((hertz - StepZeroHertz) / StepHertz);
}

std::optional<double> TypedFrequency(double freq) {
    constexpr double LowestMHz = LowestChannelHertz / 1e6, HighestMHz = HighestChannelHertz / 1e6;
    constexpr size_t LongestText = 10;
    const auto throughText = [](double v) { return vkt::Val(vkt::NumberText(v)); };
    while (freq >= 1000) freq /= 10;
    if (vkt::NumberText(freq).size() > LongestText) return std::nullopt;
    // Scale by at least 10^5 and until the value is a whole number, with the
    // two channel steps in MHz alongside.
    double a = 0.0025, b = 0.00625;
    for (int n = 0; n < 30; ++n) {
        if (vkt::NumberText(freq).find('.') == std::string::npos && n >= 5) break;
        freq *= 10;
        a *= 10;
        b *= 10;
    }
    freq = throughText(freq);
    a = throughText(a);
    b = throughText(b);
    if (std::fmod(freq, a) != 0 && std::fmod(freq, b) != 0) return std::nullopt;
    while (freq >= 1000) freq /= 10;
    freq = throughText(freq);
    if (freq != 0 && (freq < LowestMHz || freq > HighestMHz)) return std::nullopt;
    return freq;
}

std::string CGCodeToText(uint16_t code) {
    if (code & 0x8000) {
        std::string text = "D" + std::to_string((code & 448) / 64) + std::to_string((code & 56) / 8) +
                           std::to_string(code & 7);
        if (code & 0x4000) text += "-";
        return text;
    }
    // Four digits with a point before the last one.
    const std::string digits = vkt::PadLeft(vkt::Hex(code), 4, '0');
    return digits.substr(0, digits.size() - 1) + "." + digits.substr(digits.size() - 1);
}

std::optional<uint16_t> CGTextToCode(const std::string& text) {
    // The whole text is the code, or it has none: nothing is cut off and no
    // digit is folded into another.
    const auto chars = vkt::Chars(text);
    if (!chars.empty() && vkt::ToUpper(chars[0]) == "D") {
        // "D", three octal digits and, for an inverted code, "-".
        if (chars.size() < 4 || chars.size() > 5 || (chars.size() == 5 && chars[4] != "-")) return std::nullopt;
        int digits[3];
        for (int i = 0; i < 3; ++i) {
            const std::string& ch = chars[static_cast<size_t>(i + 1)];
            if (ch.size() != 1 || ch[0] < '0' || ch[0] > '7') return std::nullopt;
            digits[i] = ch[0] - '0';
        }
        const bool inverted = chars.size() == 5;
        const int hi = (inverted ? 0xC8 : 0x88) | (digits[0] & 4) / 4;
        const int lo = (digits[0] & 3) * 64 | digits[1] * 8 | digits[2];
        return static_cast<uint16_t>(hi << 8 | lo);
    }
    // A tone: hundreds, tens and units of a hertz and at most one digit of
    // tenths, so four decimal digits in all; leading zeros do not count.
    std::string units, tenths;
    bool point = false;
    for (const std::string& ch : chars) {
        if (ch == "." && !point) point = true;
        else if (IsDigit(ch)) (point ? tenths : units) += ch;
        else return std::nullopt;
    }
    units.erase(0, std::min(units.find_first_not_of('0'), units.size()));
    if (units.size() > 3 || tenths.size() > 1) return std::nullopt;
    // A first digit of 8 or 9 would set the top bit, the mark of a digital
    // code: 800.0 Hz would be stored as D000.
    if (units.size() == 3 && units[0] >= '8') return std::nullopt;
    const std::string digits = vkt::PadLeft(units, 3, '0') + (tenths.empty() ? "0" : tenths);
    return static_cast<uint16_t>(HexToNumber(digits.substr(0, 2)) * 256 + HexToNumber(digits.substr(2, 2)));
}

} // namespace VKTCore
