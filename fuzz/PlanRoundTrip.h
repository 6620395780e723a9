// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plan reader with arbitrary rows under its header: each channel it takes
// must say what its row says, read here apart from the reader (a frequency
// is its digits as written, a width only as stated), and must come back the
// same through the writer, or the round trip of a setup is broken.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/ChannelPlan.h"
#include "core/Csv.h"

namespace fuzzplan {

// A cell with spaces and tabs at either end left out, as a technician reads it.
inline std::string Cell(const vkt::CsvRecord& row, size_t col) {
    if (col >= row.fields.size()) return "";
    const std::string& v = row.fields[col];
    const size_t first = v.find_first_not_of(" \t");
    return first == std::string::npos ? "" : v.substr(first, v.find_last_not_of(" \t") - first + 1);
}

// Megahertz as written, in hertz: digits, a point, at most six decimals
// that count (more only as zeros); nothing for any other text.
inline std::optional<long long> WrittenHertz(const std::string& text) {
    long long hertz = 0, scale = 1000000;
    bool point = false;
    size_t whole = 0;
    for (const char ch : text) {
        if (ch == '.' && !point) {
            point = true;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        if (!point) {
            if (++whole > 4) return std::nullopt;
            hertz = hertz * 10 + (ch - '0') * 1000000;
        } else if (scale > 1) {
            scale /= 10;
            hertz += (ch - '0') * scale;
        } else if (ch != '0') {
            return std::nullopt;
        }
    }
    return whole == 0 ? std::nullopt : std::optional(hertz);
}

inline long long HertzOf(uint16_t steps) { return steps == 0 ? 0 : 100000000LL + 1250LL * steps; }

// Whether a channel the reader took says what its row says.
using RowCheck = std::function<bool(const vkt::CsvRecord& row, const VKTCore::PlanChannel& ch)>;

inline int ReadPlanRows(const std::string& header, const uint8_t* data, size_t size, const RowCheck& agrees) {
    if (size == 0) return 0;
    // The first byte chooses the options: the first group and whether names are cut.
    const VKTCore::PlanOptions options{.firstGroup = data[0] % VKTCore::GroupCount, .cutNames = (data[0] & 0x80) != 0};
    const std::string text = header + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    VKTCore::ChannelPlan plan;
    std::string error;
    if (!VKTCore::ReadPlan(text, options, plan, error)) return 0;
    // The frequency and width cells are ASCII, the same in either encoding the reader takes.
    std::vector<vkt::CsvRecord> records;
    if (!vkt::ParseCsv(text, records, error)) __builtin_trap();
    std::map<int, const vkt::CsvRecord*> byLine;
    for (const vkt::CsvRecord& r : records) byLine[r.line] = &r;
    for (const VKTCore::PlanChannel& ch : plan.channels)
        if (!byLine.count(ch.line) || !agrees(*byLine[ch.line], ch)) __builtin_trap();
    VKTCore::Image image{};
    VKTCore::ApplyPlan(plan, image);
    const auto written = VKTCore::WritePlan(image, plan.format);
    // Whatever was read, a plan can hold.
    if (!written.leftOut.empty()) __builtin_trap();
    if (written.channels == 0) return 0;
    VKTCore::ChannelPlan back;
    if (!VKTCore::ReadPlan(written.text, {}, back, error)) __builtin_trap();
    VKTCore::Image again = image;
    VKTCore::ApplyPlan(back, again);
    if (again != image) __builtin_trap();
    return 0;
}

} // namespace fuzzplan
