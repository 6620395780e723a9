// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MemoryImage.h"

#include <cassert>
#include <cctype>

#include "core/Text.h"

namespace VKTCore {

Image MemoryImage{};

int GetImageByte(int page, int offset) {
    return MemoryImage.at(static_cast<size_t>(page * 256 + offset));
}

int PutImageBits(int page, int offset, int mask, int value) {
    uint8_t& b = MemoryImage.at(static_cast<size_t>(page * 256 + offset));
    b = static_cast<uint8_t>(((b & ~mask) | (mask & value)) & 0xFF);
    return 0;
}

int GroupPage(int intGroup) {
    assert(intGroup >= 0 && intGroup < GroupCount);
    if (intGroup < 0 || intGroup >= GroupCount) return 0;
    return 1 + intGroup + intGroup / 2;
}

int GroupBase(int intGroup) { return 256 + GroupAreaSize * intGroup; }
int ChannelSlotAddress(int intGroup, int intChan) { return GroupBase(intGroup) + 128 + 8 * intChan; }
int LabelSlotAddress(int intGroup, int intChan) { return GroupBase(intGroup) + 256 + 8 * intChan; }

double HexToNumber(const std::string& text) {
    // Digits are characters: a letter of several bytes is one digit (worth 0),
    // never several, or it would push the digits after it up a place.
    const auto chars = vkt::Chars(text);
    if (chars.empty() || chars.size() > 3) return 0;
    double value = 0;
    for (const std::string& ch : chars) {
        const auto c = static_cast<unsigned char>(ch[0]);
        int digit = 0;
        if (ch.size() == 1 && std::isxdigit(c)) digit = std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10;
        value = value * 16 + digit;
    }
    return value;
}

std::string StepsToMHzText(unsigned steps) {
    if (steps == 0) return "000.00";
    return vkt::FixedText((steps * 1250.0 + 100000000.0) / 1000000.0, 5);
}

std::string SwitchCodeText(int code) {
    switch (code) {
    case 0: return "Keypad";
    case 3: return "Always Off";
    case 4: return "Always On";
    case 5: return "Right Toggle";
    case 6: return "Middle Toggle";
    case 7: return "Left Toggle";
    default: return "";
    }
}

} // namespace VKTCore
