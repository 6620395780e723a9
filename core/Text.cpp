// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Text.h"

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace vkt {

std::vector<std::string> Chars(const std::string& text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t len = 1;
        if (lead >= 0xF0) len = 4;
        else if (lead >= 0xE0) len = 3;
        else if (lead >= 0xC0) len = 2;
        // A broken sequence still counts as one character per lead byte.
        size_t n = 1;
        while (n < len && i + n < text.size() &&
               (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

size_t CharCount(const std::string& text) { return Chars(text).size(); }

std::string CharsMid(const std::string& text, size_t start, size_t count) {
    const auto chars = Chars(text);
    std::string out;
    for (size_t i = start; i < chars.size() && i - start < count; ++i) out += chars[i];
    return out;
}

namespace {

// Length of the number at text[pos...], or 0 when there is none.
size_t NumberLength(const std::string& text, size_t pos, bool allowExponent) {
    size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; ++digits; }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { ++i; ++digits; }
    }
    if (digits == 0) return 0;
    if (allowExponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) { ++j; ++expDigits; }
        if (expDigits > 0) i = j;
    }
    return i - pos;
}

size_t SkipSpaces(const std::string& text, size_t pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    return pos;
}

// The number NumberLength found, with a point as the decimal mark whatever
// the user's locale says (strtod would take "146.52" as 146 under a German
// one); nothing beyond a double's range.
std::optional<double> NumberAt(const std::string& text, size_t pos, size_t len) {
    std::string_view number(text.data() + pos, len);
    if (number.front() == '+') number.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{} || end != number.data() + number.size()) return std::nullopt;
    return value;
}

} // namespace

double Val(const std::string& text) {
    const size_t start = SkipSpaces(text, 0);
    const size_t len = NumberLength(text, start, true);
    if (len == 0) return 0.0;
    return NumberAt(text, start, len).value_or(0.0);
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsNumeric(const std::string& text) {
    const size_t start = SkipSpaces(text, 0);
    const size_t len = NumberLength(text, start, true);
    if (len == 0) return false;
    if (SkipSpaces(text, start + len) != text.size()) return false;
    return NumberAt(text, start, len).has_value();
}

std::string Hex(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", value);
    return buf;
}

std::string Hex2(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02X", value);
    return buf;
}

std::string IdentityText(const std::array<uint8_t, 4>& identity) {
    std::string s;
    for (uint8_t b : identity) s += Hex2(b);
    return s;
}

std::string NumberText(double value) {
    if (value == 0.0 || !std::isfinite(value)) return "0";
    char buf[64];
    std::string s(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15).ptr);
    if (s.find('e') != std::string::npos || s.find('E') != std::string::npos) return s;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    return s;
}

std::string FixedText(double value, int decimals) {
    // A double's whole part runs to 309 digits.
    char buf[400];
    return {buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals).ptr};
}

double RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(mode);
    return r;
}

int ToInt(double value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(value);
}

std::string ToUpper(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string PadLeft(const std::string& text, size_t width, char pad) {
    const size_t n = CharCount(text);
    return n >= width ? text : std::string(width - n, pad) + text;
}

std::string Trimmed(const std::string& text, const char* blanks) {
    const size_t first = text.find_first_not_of(blanks);
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? separator : "") + parts[i];
    return text;
}

UtcTime UtcOf(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count())};
}

std::optional<std::chrono::system_clock::time_point> TimeOfUtc(const UtcTime& utc) {
    using namespace std::chrono;
    const year_month_day date{year{utc.year}, month{static_cast<unsigned>(utc.month)}, day{static_cast<unsigned>(utc.day)}};
    if (!date.ok() || utc.hour < 0 || utc.hour > 23 || utc.minute < 0 || utc.minute > 59 || utc.second < 0 || utc.second > 60)
        return std::nullopt;
    return sys_days{date} + hours{utc.hour} + minutes{utc.minute} + seconds{utc.second};
}

} // namespace vkt
