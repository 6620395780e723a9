// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small text and number helpers shared by the codecs, the editor and the report.
// Texts are UTF-8; "characters" are code points, as the user sees them.
// Every number the program reads or writes goes through here: its decimal
// mark is a point, as the radio's texts and the files have it, whatever the
// user's locale says.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vkt {

std::vector<std::string> Chars(const std::string& text);
size_t CharCount(const std::string& text);
// Characters [start, start + count) of text, counted from 0; clipped to the text.
std::string CharsMid(const std::string& text, size_t start, size_t count = std::string::npos);

// The value of the number at the front of text (spaces skipped, optional sign,
// digits, a decimal point, an exponent); 0 when text starts with no number
// or one beyond a double's range.
double Val(const std::string& text);
// True when the whole text (spaces aside) is a signed decimal number within
// a double's range.
bool IsNumeric(const std::string& text);
// True when every character is a digit 0 ... 9 (and so for "").
bool AllDigits(const std::string& text);

// Upper-case hexadecimal without leading zeros ("0" for 0).
std::string Hex(unsigned value);
// Two upper-case hexadecimal digits.
std::string Hex2(unsigned value);
// A radio's identity bytes as backups and messages name the radio ("2AAA0105").
std::string IdentityText(const std::array<uint8_t, 4>& identity);

// The shortest decimal text of a number, up to 15 significant digits, no
// trailing zeros and no leading zero before the point (".25", "-2", "146.34").
std::string NumberText(double value);
// Fixed decimals, as "%.*f" gives them in the C locale.
std::string FixedText(double value, int decimals);

// Rounds to the nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);
// The whole part of a number as an int, held to the int range (a typed
// number of any size must not overflow).
int ToInt(double value);

std::string ToUpper(const std::string& text);
std::string PadLeft(const std::string& text, size_t width, char pad);
// The text without the blanks it starts and ends with.
std::string Trimmed(const std::string& text, const char* blanks = " \t");
// The parts one after another, the separator between each two: "a; b; c".
std::string Joined(const std::vector<std::string>& parts, const std::string& separator);

// A moment in UTC as the calendar tells it, for the time stamps of names and
// logs; the same on every system, which gmtime_r and timegm are not.
struct UtcTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
UtcTime UtcOf(std::chrono::system_clock::time_point when);
// Nothing for a time no calendar has (a 31 April, a 25th hour).
std::optional<std::chrono::system_clock::time_point> TimeOfUtc(const UtcTime& utc);

} // namespace vkt
