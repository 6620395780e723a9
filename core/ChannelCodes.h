// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three encodings every part of the program shares: frequency step counts,
// channel guard codes and label character codes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/MemoryImage.h"

namespace VKTCore {

// --- label characters --------------------------------------------------------
// The two-digit code text of a label character; "30" (space) for any other.
std::string CharToLabelCode(const std::string& ch);
// The character of a code text ("A", "0A"); "" for a code without character.
std::string LabelCodeToChar(const std::string& code);

using LabelCodes = std::array<uint8_t, 8>;
// Right-aligns the text in 8 characters, upper-cases all but "h", encodes each.
LabelCodes EncodeLabel(const std::string& text);
// Writes the 8 codes of a label into the image from address on.
void PutImageLabel(Image& image, int address, const LabelCodes& codes);
// The characters of the 8 codes; codes without character are skipped.
std::string DecodeLabel(const uint8_t* codes);

// --- frequencies ---------------------------------------------------------------
// Step count as megahertz text: "000.00" for 0, else "###.00000".
std::string strHexToFreq(double dFreqHex);
// Megahertz text to an unrounded step count (0 for a text without a number).
double dFreqToDbl(const std::string& StrFreq);
// The rounded step count of a frequency text; nothing when it falls outside
// the 16-bit step range (100.00125 ... 181.91875 MHz, or 0 for none).
std::optional<uint16_t> FreqTextToSteps(const std::string& text);

// A step count is hertz above 100 MHz in 1.25 kHz steps.
inline constexpr long long StepZeroHertz = 100000000, StepHertz = 1250;
// The band and channel steps a frequency of the radio lies on.
inline constexpr long long LowestChannelHertz = 136000000, HighestChannelHertz = 174000000;
inline constexpr long long ChannelStepsHertz[] = {2500, 6250};
// The step count of a frequency in hertz taken as it stands: 0 (none) is 0,
// anything else on a channel step within the band; nothing when it is not.
std::optional<uint16_t> ChannelHertzToSteps(long long hertz);

// A typed frequency in MHz as the grid takes it: digits shifted below 1000
// (154525, 15.4525 and 154.525 are all 154.525), on a 2.5 or 6.25 kHz
// channel step and within 136 ... 174 MHz; 0 (none) stays 0. Nothing when
// it is refused.
std::optional<double> TypedFrequency(double typed);

// --- channel guard -----------------------------------------------------------
// The grid text of a code: "D023", "D023-", "088.5", "000.0".
std::string CGCodeToText(uint16_t code);
// The code of a grid text; nothing when the text is not wholly one: a code is
// "D" (or "d"), three octal digits and an optional "-"; a tone has at most
// three digits before its point and one after it, below 800 Hz.
std::optional<uint16_t> CGTextToCode(const std::string& text);

} // namespace VKTCore
