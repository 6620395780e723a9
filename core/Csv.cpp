#include "core/Csv.h"

#include "core/Text.h"

namespace vkt {

namespace {

constexpr size_t LongestShownValue = 40;

} // namespace

bool IsUtf8Text(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const size_t length = lead == 0 ? 0 : lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += length;
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
                if (i < n && text[i] != ',' && !isLineEnd(i)) return fail(line, "text after a closing quote");
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
