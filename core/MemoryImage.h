// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory image: the program's copy of the radio's EEPROM (6016 bytes) and
// three spare bytes that travel only in setup files. One instance, shared by
// every part of the program.

#include <array>
#include <cstdint>
#include <string>

namespace VKTCore {

inline constexpr int ImageSize = 6019;
inline constexpr int RadioMemorySize = 6016;
inline constexpr int BlockSize = 32;
inline constexpr int BlockCount = RadioMemorySize / BlockSize; // 188
inline constexpr int GroupCount = 15;
inline constexpr int ChannelCount = 16;
inline constexpr int GroupAreaSize = 384;
inline constexpr int GroupBlockSize = 128;

using Image = std::array<uint8_t, ImageSize>;
extern Image MemoryImage;

int GetImageByte(int page, int offset);
// Replaces the bits of mask with those of value; the other bits stay.
int PutImageBits(int page, int offset, int mask, int value);
// The page holding the start of group g's area (g = 0 ... 14).
int GroupPage(int intGroup);

// Linear addresses of a group's parts.
int GroupBase(int intGroup);
int ChannelSlotAddress(int intGroup, int intChan);
int LabelSlotAddress(int intGroup, int intChan);

// The value of a one- to three-digit hexadecimal text; non-digits count 0.
double HexToNumber(const std::string& text);
// A step count as megahertz text ("000.00" for none).
std::string StepsToMHzText(unsigned steps);
// The report's name of a toggle-switch code ("" for 1, 2 and unknown codes).
std::string SwitchCodeText(int code);

} // namespace VKTCore
