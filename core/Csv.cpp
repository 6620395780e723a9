// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Csv.h"

#include "core/Text.h"

namespace vkt {

namespace {

constexpr size_t LongestShownValue = 40;

} // namespace

namespace {

// Where a text stops being UTF-8 text; its size when it never does.
size_t FirstNonText(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0; };
        const unsigned lead = byte(i);
        // The bounds of the second byte, which rule out the forms refused.
        unsigned length = 0, low = 0x80, high = 0xBF;
        if (lead >= 0x01 && lead <= 0x7F) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        if (length == 0) return i;
        for (unsigned k = 1; k < length; ++k) {
            const unsigned b = byte(i + k);
            if (k == 1 ? b < low || b > high : (b & 0xC0) != 0x80) return i;
        }
        i += length;
    }
    return s.size();
}

// The line a byte stands on, line ends counted as the records are split.
int LineAt(const std::string& s, size_t at) {
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) ++line;
    return line;
}

} // namespace

bool IsUtf8Text(const std::string& s) { return FirstNonText(s) == s.size(); }

std::string WhyNoUtf8Text(const std::string& s) {
    const size_t bad = FirstNonText(s);
    if (bad == s.size()) return "";
    return "line " + std::to_string(LineAt(s, bad)) + ": " +
           (s[bad] == '\0' ? std::string("a NUL byte: this is no text file")
                            : "byte 0x" + Hex2(static_cast<uint8_t>(s[bad])) + " is no UTF-8 text") +
           "; save the file as UTF-8 text";
}

namespace {

// The characters of bytes 0x80 ... 0x9F in Windows-1252; 0 where it has none.
constexpr char32_t Windows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

std::string Utf8Of(char32_t ch) {
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

} // namespace

bool Utf8OrWindows1252(const std::string& text, std::string& utf8, std::string& error) {
    if (IsUtf8Text(text)) {
        utf8 = text;
        return true;
    }
    utf8.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool control = byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
        const char32_t ch = byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : byte;
        if (control || ch == 0 || byte == 0x7F) {
            error = "line " + std::to_string(LineAt(text, i)) + ": " +
                    (byte == 0 ? std::string("a NUL byte") : "byte 0x" + Hex2(byte) + ", neither UTF-8 nor Windows-1252 text") +
                    ": this is no text file (a plan is CSV text)";
            return false;
        }
        utf8 += Utf8Of(ch);
    }
    return true;
}

std::string WithoutByteOrderMark(const std::string& text) {
    const std::string_view bom = "\xEF\xBB\xBF";
    return text.starts_with(bom) ? text.substr(bom.size()) : text;
}

bool ParseCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error) {
    const size_t n = text.size();
    size_t i = 0;
    int line = 1;
    const auto isLineEnd = [&](size_t k) { return text[k] == '\r' || text[k] == '\n'; };
    const auto skipLineEnd = [&] {
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
    };
    const auto fail = [&](int at, const std::string& why) {
        error = "line " + std::to_string(at) + ": " + why;
        return false;
    };
    while (i < n) {
        CsvRecord record{line, {}};
        for (;;) {
            std::string field;
            if (text[i] == '"') {
                const int opened = line;
                for (++i;;) {
                    if (i >= n) return fail(opened, "a quote is never closed");
                    if (text[i] == '"' && i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                    } else if (text[i] == '"') {
                        ++i;
                        break;
                    } else if (isLineEnd(i)) {
                        field += '\n';
                        skipLineEnd();
                    } else {
                        field += text[i++];
                    }
                }
                if (i < n && text[i] != ',' && !isLineEnd(i)) {
                    // Over several lines, the quote that stops here was most
                    // likely meant to open a field: the one that started it
                    // is the one never closed.
                    if (line != opened)
                        return fail(opened, "a quote is never closed (the next one, on line " + std::to_string(line) + ", has text after it)");
                    return fail(line, "text after a closing quote");
                }
            } else {
                for (; i < n && text[i] != ',' && !isLineEnd(i); ++i) {
                    if (text[i] == '"') return fail(line, "a quote inside a field that does not start with one");
                    field += text[i];
                }
            }
            record.fields.push_back(std::move(field));
            if (i >= n || text[i] != ',') break;
            if (++i >= n) record.fields.emplace_back();  // a comma ends the text: one empty field more
            if (i >= n) break;
        }
        if (i < n) skipLineEnd();
        if (record.fields.size() > 1 || !record.fields[0].empty()) records.push_back(std::move(record));
    }
    return true;
}

std::string CsvField(const std::string& value) {
    const bool plain = value.find_first_of(",\"\r\n") == std::string::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return value;
    std::string quoted = "\"";
    for (const char ch : value) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

std::string ShownValue(const std::string& v) {
    return CharCount(v) > LongestShownValue ? CharsMid(v, 0, LongestShownValue) + "..." : v;
}

} // namespace vkt
