#include "core/ChannelCodes.h"

#include <cctype>

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

bool IsLabelChar(const std::string& ch) { return LabelCodeOf(ch) >= 0; }

LabelCodes EncodeLabel(const std::string& text) {
    const auto chars = vkt::Chars(vkt::PadLeft(text, 8, ' '));
    LabelCodes codes{};
    for (size_t i = 0; i < 8; ++i) {
        const std::string ch = chars[i] == "h" ? chars[i] : vkt::ToUpper(chars[i]);
        codes[i] = static_cast<uint8_t>(HexToNumber(CharToLabelCode(ch)));
    }
    return codes;
}

void PutImageLabel(int address, const LabelCodes& codes) {
    for (int i = 0; i < 8; ++i) PutImageBits((address + i) / 256, (address + i) % 256, 255, codes[static_cast<size_t>(i)]);
}

std::string DecodeLabel(const uint8_t* codes) {
    std::string text;
    for (int i = 0; i < 8; ++i) text += LabelCodeToChar(vkt::Hex(codes[i]));
    return text;
}

bool LabelEncodable(const std::string& text) {
    for (const auto& ch : vkt::Chars(text))
        if (!IsLabelChar(ch == "h" ? ch : vkt::ToUpper(ch))) return false;
    return true;
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
    const auto chars = vkt::Chars(text);
    if (!chars.empty() && vkt::ToUpper(chars[0]) == "D") {
        if (chars.size() < 4 || !IsDigit(chars[1]) || !IsDigit(chars[2]) || !IsDigit(chars[3]))
            return std::nullopt;
        const int d1 = (chars[1][0] - '0') & 7;
        const int d2 = (chars[2][0] - '0') & 7;
        const int d3 = (chars[3][0] - '0') & 7;
        const bool inverted = chars.back() == "-";
        const int hi = (inverted ? 0xC8 : 0x88) | (d1 & 4) / 4;
        const int lo = (d1 & 3) * 64 | d2 * 8 | d3;
        return static_cast<uint16_t>(hi << 8 | lo);
    }
    // A tone: digits and at most one point, at least three digits before it.
    std::vector<std::string> s = chars;
    while (s.size() < 5) s.insert(s.begin(), "0");
    size_t point = s.size();
    int points = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ".") { if (points++ == 0) point = i; }
        else if (!IsDigit(s[i])) return std::nullopt;
    }
    if (points > 1 || point < 3) return std::nullopt;
    if (point == s.size()) { s.push_back("."); s.push_back("0"); }
    const std::string tenths = point + 1 < s.size() ? s[point + 1] : "";
    const int hi = static_cast<int>(HexToNumber(s[point - 3] + s[point - 2]));
    const int lo = static_cast<int>(HexToNumber(s[point - 1] + tenths));
    return static_cast<uint16_t>(hi << 8 | lo);
}

} // namespace VKTCore
