// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where each field of the radio's memory lives, declared once: a name, the
// offset of its first byte in its record, how many bytes it spans (high byte
// first), which bits of them are its own and how its value reads. The codecs,
// the field-by-field comparison, CSV, the report, the link's write masks and
// the tuning procedures all read these declarations; nothing else names an
// address or a mask of the radio's memory.

#include <array>
#include <cstdint>
#include <string>

#include "core/MemoryImage.h"

namespace VKTCore {

enum class Encoding {
    Number,        // value × scale + bias
    Digits,        // binary-coded decimal, two digits a byte
    Label,         // eight label character codes
    Frequency,     // a step count of 1.25 kHz above 100 MHz
    ChannelGuard,  // a digital code or a tone
};

struct Field {
    const char* name;
    int offset;
    int size = 1;
    uint64_t mask = 0xFF;
    Encoding encoding = Encoding::Number;
    double scale = 1;
    double bias = 0;
    // A run of like fields: element i lies stride × i bytes further on and
    // its mask is shift × i bits higher. `element` names what the run is of.
    int count = 1;
    int stride = 0;
    int shift = 0;
    const char* element = nullptr;

    constexpr Field operator[](int i) const {
        Field f = *this;
        f.offset += stride * i;
        f.mask <<= shift * i;
        f.count = 1;
        return f;
    }
};

// Sixteen one-bit fields in a pair of bytes: elements 1 ... 8 in the second
// byte, 9 ... 16 in the first, so that read high byte first element i is bit i - 1.
constexpr Field BitPerElement(const char* name, int offset, const char* element) {
    return {.name = name, .offset = offset, .size = 2, .mask = 0x0001, .count = 16, .shift = 1, .element = element};
}

// Page 0: the unit-wide settings and the alignment values.
namespace Page0 {
inline constexpr Field GroupsHeld{.name = "Number of Groups", .offset = 5};
inline constexpr Field GlobalBatterySaver{.name = "Global Battery Saver", .offset = 6, .mask = 0x04};
inline constexpr Field DTMFDeviation{.name = "DTMF Deviation", .offset = 7, .mask = 0xF8, .scale = 93.75};
inline constexpr Field ANIRate{.name = "ANI Rate", .offset = 7, .mask = 0x04};
inline constexpr Field FrontPorchTime{.name = "Front Porch Time", .offset = 7, .mask = 0x03};
// Rotary switch positions 1 ... 16: a byte each, group and channel index.
inline constexpr Field RotaryGroup{.name = "Group", .offset = 128, .mask = 0xF0, .bias = 1,
                                   .count = 16, .stride = 1, .element = "Rotary Position"};
inline constexpr Field RotaryChannel{.name = "Channel", .offset = 128, .mask = 0x0F, .bias = 1,
                                     .count = 16, .stride = 1, .element = "Rotary Position"};
inline constexpr Field RotaryGroupGlobal = BitPerElement("Group Global", 144, "Rotary Position");
inline constexpr Field RotaryChannelGlobal = BitPerElement("Channel Global", 146, "Rotary Position");
inline constexpr Field RotaryGroupKeypad = BitPerElement("Group Keypad", 148, "Rotary Position");
inline constexpr Field RotaryChannelKeypad = BitPerElement("Channel Keypad", 150, "Rotary Position");
// Toggle-switch assignment codes; priority scan straddles 152 and 153.
inline constexpr Field LowPowerSwitch{.name = "Low Power Switch", .offset = 152, .mask = 0xE0};
inline constexpr Field ChannelScanSwitch{.name = "Channel Scan Switch", .offset = 152, .mask = 0x1C};
inline constexpr Field PriorityScanSwitch{.name = "Priority Scan Switch", .offset = 152, .size = 2, .mask = 0x0380};
inline constexpr Field TalkAroundSwitch{.name = "Repeater Talk Around Switch", .offset = 153, .mask = 0x70};
inline constexpr Field GroupScanSwitch{.name = "Group Scan Switch", .offset = 153, .mask = 0x0E};
inline constexpr Field FrequencyDisplay{.name = "Display Frequencies Only", .offset = 155, .mask = 0x80};
inline constexpr Field PerChannelPower{.name = "Per Channel Power", .offset = 155, .mask = 0x40};
inline constexpr Field TalkBackScan{.name = "Talk Back Scan", .offset = 155, .mask = 0x20};
inline constexpr Field NuisanceChannelDelete{.name = "Nuisance Channel Delete", .offset = 155, .mask = 0x10};
inline constexpr Field PriorityRate{.name = "Priority Rate", .offset = 155, .mask = 0x07};
inline constexpr Field GlobalGroup{.name = "Global Group", .offset = 255, .mask = 0xF0, .bias = 1};
inline constexpr Field GlobalChannel{.name = "Global Channel", .offset = 255, .mask = 0x0F, .bias = 1};

// The unit-wide settings the editor edits and a write sends, in memory order.
inline constexpr std::array UnitWide{GlobalBatterySaver, DTMFDeviation, ANIRate, FrontPorchTime,
                                     RotaryGroup, RotaryChannel, RotaryGroupGlobal, RotaryChannelGlobal,
                                     RotaryGroupKeypad, RotaryChannelKeypad, LowPowerSwitch, ChannelScanSwitch,
                                     PriorityScanSwitch, TalkAroundSwitch, GroupScanSwitch, FrequencyDisplay,
                                     PerChannelPower, TalkBackScan, NuisanceChannelDelete, PriorityRate,
                                     GlobalGroup, GlobalChannel};

// Alignment values: only the tuning procedures change them, in the radio.
inline constexpr Field FrontEndDAC{.name = "Receiver Front End DAC", .offset = 8};
inline constexpr Field Modulation{.name = "Transmit Modulation", .offset = 9};
inline constexpr Field HighPowerDAC{.name = "High Power DAC", .offset = 11};
inline constexpr Field LowPowerDAC{.name = "Low Power DAC", .offset = 20};
inline constexpr Field CrystalCorrection{.name = "Crystal Correction", .offset = 31, .size = 2, .mask = 0xFFFF};
inline constexpr Field PullCorrection{.name = "Pull Correction", .offset = 55, .size = 2, .mask = 0xFFFF};
inline constexpr Field NarrowSquelchGain{.name = "Narrow Band Squelch Gain", .offset = 67};
inline constexpr Field WideSquelchGain{.name = "Wide Band Squelch Gain", .offset = 76};

inline constexpr std::array Alignment{FrontEndDAC, Modulation, HighPowerDAC, LowPowerDAC,
                                      CrystalCorrection, PullCorrection, NarrowSquelchGain, WideSquelchGain};
} // namespace Page0

// The 128-byte block of group settings at the start of each group's area.
namespace GroupBlock {
inline constexpr Field UCGChannel{.name = "UCG Channel", .offset = 0, .mask = 0x0F};
inline constexpr Field UCGChannelSelected{.name = "UCG Channel Selected", .offset = 0, .mask = 0x10};
inline constexpr Field UCGEncodeOnly{.name = "UCG Encode Only", .offset = 0, .mask = 0x20};
inline constexpr Field LowPower = BitPerElement("Low Power", 32, "Ch");
inline constexpr Field Narrow = BitPerElement("Narrow", 34, "Ch");
inline constexpr Field Scan = BitPerElement("Scan", 36, "Ch");
inline constexpr Field Password{.name = "Password", .offset = 38, .size = 3, .mask = 0xFFFFFF, .encoding = Encoding::Digits};
inline constexpr Field IdNumber{.name = "ID Number", .offset = 41, .size = 4, .mask = 0xFFFFFFFF, .encoding = Encoding::Digits};
inline constexpr Field TimeOutTimer{.name = "Time Out Timer", .offset = 45, .mask = 0xF0, .scale = 15};
inline constexpr Field ScanHoldTime{.name = "Scan Hold Time", .offset = 45, .mask = 0x0F, .scale = 0.5};
inline constexpr Field Priority1Off{.name = "Priority 1 Off", .offset = 46, .mask = 0x80};
inline constexpr Field Priority1Main{.name = "Priority 1 Main", .offset = 46, .mask = 0x40};
inline constexpr Field Priority1Channel{.name = "Priority 1 Channel", .offset = 46, .mask = 0x0F, .bias = 1};
inline constexpr Field Priority2Off{.name = "Priority 2 Off", .offset = 47, .mask = 0x80};
inline constexpr Field Priority2Main{.name = "Priority 2 Main", .offset = 47, .mask = 0x40};
inline constexpr Field Priority2Channel{.name = "Priority 2 Channel", .offset = 47, .mask = 0x0F, .bias = 1};
inline constexpr Field BatterySaverOff{.name = "Battery Saver Off", .offset = 48, .mask = 0x80};
inline constexpr Field GroupScanList{.name = "Group Scan List", .offset = 48, .mask = 0x40};
inline constexpr Field TransmitOnPriority1{.name = "Transmit on Priority 1", .offset = 48, .mask = 0x20};
inline constexpr Field PriorityKeyLockout{.name = "Priority Key Lockout", .offset = 48, .mask = 0x10};
inline constexpr Field EntClrKeyLockout{.name = "ENT/CLR Key Lockout", .offset = 48, .mask = 0x08};
inline constexpr Field UCGEnabled{.name = "UCG Enabled", .offset = 49, .mask = 0x80};
inline constexpr Field BusyChannelIndicator{.name = "Busy Channel Indicator", .offset = 49, .mask = 0x60};
inline constexpr Field ResidentAniDtmf{.name = "Resident ANI/DTMF", .offset = 49, .mask = 0x18};
inline constexpr Field BackLight{.name = "Back Light", .offset = 50, .mask = 0x30};
inline constexpr Field DisplayMode{.name = "Display Mode", .offset = 50, .mask = 0x08};
inline constexpr Field BackLightDuration{.name = "Back Light Duration", .offset = 50, .mask = 0x07};
inline constexpr Field Label{.name = "Label", .offset = 51, .size = 8, .mask = ~uint64_t{0}, .encoding = Encoding::Label};

inline constexpr std::array Fields{UCGChannel, UCGChannelSelected, UCGEncodeOnly, LowPower, Narrow, Scan,
                                   Password, IdNumber, TimeOutTimer, ScanHoldTime,
                                   Priority1Off, Priority1Main, Priority1Channel,
                                   Priority2Off, Priority2Main, Priority2Channel,
                                   BatterySaverOff, GroupScanList, TransmitOnPriority1, PriorityKeyLockout,
                                   EntClrKeyLockout, UCGEnabled, BusyChannelIndicator, ResidentAniDtmf,
                                   BackLight, DisplayMode, BackLightDuration, Label};
} // namespace GroupBlock

// A channel's 8-byte slot: frequencies and channel guards, high byte first.
namespace ChannelSlot {
inline constexpr Field RxFreq{.name = "Rec Freq", .offset = 0, .size = 2, .mask = 0xFFFF, .encoding = Encoding::Frequency};
inline constexpr Field RxCG{.name = "Rec CG", .offset = 2, .size = 2, .mask = 0xFFFF, .encoding = Encoding::ChannelGuard};
inline constexpr Field TxFreq{.name = "Tx Freq", .offset = 4, .size = 2, .mask = 0xFFFF, .encoding = Encoding::Frequency};
inline constexpr Field TxCG{.name = "Tx CG", .offset = 6, .size = 2, .mask = 0xFFFF, .encoding = Encoding::ChannelGuard};

inline constexpr std::array Fields{RxFreq, RxCG, TxFreq, TxCG};
} // namespace ChannelSlot

// A channel's 8-byte label slot.
namespace LabelSlot {
inline constexpr Field Label{.name = "Label", .offset = 0, .size = 8, .mask = ~uint64_t{0}, .encoding = Encoding::Label};
} // namespace LabelSlot

// The field's value in the record that starts at base.
uint64_t ReadField(const Image& image, int base, const Field& field);
// Replaces the field's bits with value; every other bit stays.
void WriteField(Image& image, int base, const Field& field, uint64_t value);
// The bits of the record's byte at offset that belong to the field.
constexpr uint8_t FieldBitsAt(const Field& field, int offset) {
    const int i = offset - field.offset;
    return i < 0 || i >= field.size ? 0 : static_cast<uint8_t>(field.mask >> (8 * (field.size - 1 - i)));
}
// The byte of a field that holds its bits, and those bits, for a field that
// lies within one byte (a flag of a pair, say).
struct ByteBits {
    int offset;
    uint8_t mask;
};
constexpr ByteBits ByteOf(const Field& field) {
    for (int k = 0; k < field.size; ++k)
        if (FieldBitsAt(field, field.offset + k)) return {field.offset + k, FieldBitsAt(field, field.offset + k)};
    return {field.offset, 0};
}
// A binary-coded decimal field set from its digits as typed: "1001" is
// stored 00 00 10 01, short texts taking leading zeros.
void WriteFieldDigits(Image& image, int base, const Field& field, const std::string& digits);
// The value as a technician reads it: "93.75", "000123", "  Ch 1", "162.40000", "D023-".
std::string FieldText(const Image& image, int base, const Field& field);
// A group's ANI/ID Number as its window shows it: eight digits are stored,
// the first is never shown.
std::string UnitIdText(const Image& image, int group);

// The bits of the record's byte at offset that any element of the fields holds.
template <class Fields>
constexpr uint8_t FieldsBitsAt(const Fields& fields, int offset) {
    uint8_t bits = 0;
    for (const Field& run : fields)
        for (int i = 0; i < run.count; ++i) bits |= FieldBitsAt(run[i], offset);
    return bits;
}
// The page-0 bits of the unit-wide settings at an address (0 for the rest).
constexpr uint8_t UnitWideBits(int address) { return FieldsBitsAt(Page0::UnitWide, address); }

} // namespace VKTCore
