// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MemoryMap.h"

#include <bit>

#include "core/ChannelCodes.h"
#include "core/Text.h"

namespace VKTCore {

namespace {

uint64_t Word(const Image& image, int address, int size) {
    uint64_t word = 0;
    for (int i = 0; i < size; ++i) word = word << 8 | image.at(static_cast<size_t>(address + i));
    return word;
}

int Shift(const Field& f) { return std::countr_zero(f.mask); }

} // namespace

uint64_t ReadField(const Image& image, int base, const Field& f) {
    return (Word(image, base + f.offset, f.size) & f.mask) >> Shift(f);
}

void WriteField(Image& image, int base, const Field& f, uint64_t value) {
    const uint64_t word = (Word(image, base + f.offset, f.size) & ~f.mask) | ((value << Shift(f)) & f.mask);
    for (int i = 0; i < f.size; ++i)
        image.at(static_cast<size_t>(base + f.offset + i)) = static_cast<uint8_t>(word >> (8 * (f.size - 1 - i)));
}

void WriteFieldDigits(Image& image, int base, const Field& f, const std::string& text) {
    const std::string digits = vkt::PadLeft(text, static_cast<size_t>(2 * f.size), '0');
    uint64_t value = 0;
    for (int i = 0; i < f.size; ++i)
        value = value * 256 + static_cast<uint64_t>(HexToNumber(vkt::CharsMid(digits, static_cast<size_t>(2 * i), 2)));
    WriteField(image, base, f, value);
}

std::string UnitIdText(const Image& image, int group) { return FieldText(image, GroupBase(group), GroupBlock::IdNumber).substr(1); }

std::string FieldText(const Image& image, int base, const Field& f) {
    const uint64_t value = ReadField(image, base, f);
    switch (f.encoding) {
    case Encoding::Digits: {
        std::string digits;
        for (int i = 0; i < f.size; ++i) digits += vkt::Hex2(image.at(static_cast<size_t>(base + f.offset + i)));
        return digits;
    }
    case Encoding::Label: return DecodeLabel(&image.at(static_cast<size_t>(base + f.offset)));
    case Encoding::Frequency: return StepsToMHzText(static_cast<unsigned>(value));
    case Encoding::ChannelGuard: return CGCodeToText(static_cast<uint16_t>(value));
    case Encoding::Number: break;
    }
    return vkt::NumberText(static_cast<double>(value) * f.scale + f.bias);
}

} // namespace VKTCore
