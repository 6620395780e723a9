// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CSV text as the channel files read it: records of fields with the line each
// starts on, so that a refusal can name where the technician has to look.

#include <string>
#include <vector>

namespace vkt {

struct CsvRecord {
    int line;
    std::vector<std::string> fields;
};

// No NUL byte, and UTF-8 throughout as RFC 3629 has it: no overlong form
// (C0 80), no surrogate (ED A0 80), nothing past U+10FFFF (F4 90 ..., F5 ...).
bool IsUtf8Text(const std::string& text);
// Why a text is not that, naming the line of the first offending byte; ""
// when it is.
std::string WhyNoUtf8Text(const std::string& text);

// Text as a spreadsheet on Windows saves "CSV": UTF-8 when it is UTF-8 text,
// else the Windows-1252 code page, each byte made the UTF-8 of its character.
// False, with error naming the line and the byte, when it is neither (a NUL
// or other control byte, a byte the code page leaves undefined): no text file.
bool Utf8OrWindows1252(const std::string& text, std::string& utf8, std::string& error);

// The text without a leading UTF-8 byte-order mark.
std::string WithoutByteOrderMark(const std::string& text);

// Splits CSV text into records: fields apart by commas, records by LF, CRLF
// or CR. A field in double quotes may hold commas and line ends, and "" for
// a quote; any other quote is an error. A line with nothing on it is no record.
bool ParseCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error);

// A field as a CSV line holds it: quoted when it has a comma, a quote, a line
// end or a space at either end.
std::string CsvField(const std::string& value);

// A value short enough to quote in a message.
std::string ShownValue(const std::string& value);

} // namespace vkt
