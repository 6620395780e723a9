// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ChannelPlan.h"

#include <algorithm>
#include <cassert>
#include <cctype>

#include "core/MemoryMap.h"
#include "core/PlanRows.h"
#include "core/Text.h"

namespace VKTCore {

namespace CS = ChannelSlot;
namespace GB = GroupBlock;

namespace PlanRows {

std::string ColumnKey(const std::string& name) {
    std::string key;
    for (const char ch : name)
        if (std::isalnum(static_cast<unsigned char>(ch))) key += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return key;
}

std::string OneLine(std::string name) {
    std::replace(name.begin(), name.end(), '\n', ' ');
    return name;
}

std::optional<Header> FindHeader(const std::vector<vkt::CsvRecord>& records, const std::vector<ColumnSpec>& columns,
                                 const std::vector<size_t>& required, std::string& error) {
    for (size_t r = 0; r < records.size(); ++r) {
        Header h{&records[r], &columns, r, std::vector<size_t>(columns.size(), std::string::npos)};
        std::optional<std::string> twice;
        for (size_t k = 0; k < records[r].fields.size(); ++k) {
            const std::string key = ColumnKey(records[r].fields[k]);
            for (size_t col = 0; col < columns.size(); ++col) {
                const auto& names = columns[col].aliases;
                if (std::none_of(names.begin(), names.end(), [&](const char* n) { return key == n; })) continue;
                if (h.has(col) && !twice) twice = records[r].fields[k];
                h.at[col] = k;
            }
        }
        if (std::all_of(required.begin(), required.end(), [&](size_t col) { return h.has(col); })) {
            if (twice) {
                error = "line " + std::to_string(records[r].line) + ": column \"" + OneLine(*twice) + "\" appears twice";
                return std::nullopt;
            }
            return h;
        }
    }
    return std::nullopt;
}

const std::string& Row::raw(size_t col) const {
    static const std::string none;
    const size_t k = header_.at[col];
    return k < record_.fields.size() ? record_.fields[k] : none;
}

std::string Row::value(size_t col) const { return vkt::Trimmed(raw(col)); }

bool Row::refuse(size_t col, const std::string& why, std::string& error) const {
    const std::string at = "line " + std::to_string(line());
    if (!header_.has(col)) {
        error = at + ": the row needs the column " + std::string((*header_.columns)[col].name) + ", which the file does not have";
        return false;
    }
    error = at + ", column " + OneLine(header_.record->fields[header_.at[col]]) + ": \"" + vkt::ShownValue(raw(col)) + "\" " + why;
    return false;
}

std::optional<uint16_t> FrequencySteps(const std::string& text) {
    const auto hertz = Hertz(text);
    return hertz ? ChannelHertzToSteps(*hertz) : std::nullopt;
}

std::optional<long long> Hertz(const std::string& mhz) {
    const size_t point = mhz.find('.');
    const std::string whole = mhz.substr(0, point);
    std::string part = point == std::string::npos ? "" : mhz.substr(point + 1);
    while (part.size() > 6 && part.back() == '0') part.pop_back();
    if (whole.empty() || whole.size() > 4 || part.size() > 6 || !vkt::AllDigits(whole) || !vkt::AllDigits(part)) return std::nullopt;
    return std::stoll(whole) * 1000000 + (part.empty() ? 0 : std::stoll(part + std::string(6 - part.size(), '0')));
}

long long StepsToHertz(uint16_t steps) { return steps == 0 ? 0 : StepZeroHertz + StepHertz * steps; }

std::string MHzText(long long hertz, int decimals) {
    std::string part = vkt::PadLeft(std::to_string(hertz % 1000000), 6, '0');
    while (static_cast<int>(part.size()) > decimals && part.back() == '0') part.pop_back();
    return std::to_string(hertz / 1000000) + (part.empty() ? "" : "." + part);
}

std::optional<uint16_t> ToneCode(const std::string& text) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return std::nullopt;
    return CGTextToCode(text);
}

std::string ToneText(uint16_t code) {
    std::string text = CGCodeToText(code);
    while (text.size() > 3 && text[0] == '0') text.erase(0, 1);
    return text;
}

bool IsDigitalCode(uint16_t code) { return (code & 0x8000) != 0; }
bool IsInvertedCode(uint16_t code) { return (code & 0x4000) != 0; }
std::string CodeDigits(uint16_t code) { return CGCodeToText(code).substr(1, 3); }

bool ReadName(const Row& row, size_t col, const PlanOptions& options, ChannelPlan& plan, LabelCodes& label, std::string& error) {
    const std::string written = row.value(col);
    std::string name = vkt::CharCount(row.raw(col)) > 8 ? written : row.raw(col);
    const bool cut = vkt::CharCount(name) > 8;
    if (cut) {
        if (!options.cutNames) return row.refuse(col, "has more than 8 characters (or choose to cut names to 8)", error);
        name = vkt::CharsMid(name, 0, 8);
    }
    label = EncodeLabel(name);
    // Cut, upper-cased, or a character the radio lacks shown as a space: the technician is told.
    const std::string stored = NameText(label);
    if (stored != written)
        plan.renamed.push_back("line " + std::to_string(row.line()) + ": \"" + written + (cut ? "\" cut to \"" : "\" becomes \"") + stored + "\"");
    return true;
}

std::string NameText(const LabelCodes& label) {
    const std::string text = DecodeLabel(label.data());
    const size_t first = text.find_first_not_of(' ');
    const std::string trimmed = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
    return EncodeLabel(trimmed) == label ? trimmed : text;
}

bool CheckUnique(const ChannelPlan& plan, const PlanChannel& ch, std::string& error) {
    for (const PlanChannel& other : plan.channels) {
        if (other.group != ch.group || other.channel != ch.channel) continue;
        error = "line " + std::to_string(ch.line) + ": group " + std::to_string(ch.group + 1) + " channel " +
                std::to_string(ch.channel + 1) + " appears a second time (first on line " + std::to_string(other.line) + ")";
        return false;
    }
    return true;
}

} // namespace PlanRows

std::optional<PlanFormat> PlanFormatNamed(const std::string& name) {
    if (name == "ics205") return PlanFormat::IncidentPlan;
    if (name == "channels") return PlanFormat::ChannelList;
    return std::nullopt;
}

const char* PlanFormatTitle(PlanFormat format) {
    return format == PlanFormat::IncidentPlan ? "incident radio communications plan" : "channel list";
}

namespace {

bool Records(const std::string& text, std::vector<vkt::CsvRecord>& records, std::string& error) {
    std::string csv;
    return vkt::Utf8OrWindows1252(vkt::WithoutByteOrderMark(text), csv, error) && vkt::ParseCsv(csv, records, error);
}

// The channel list's header is its first line; a plan's table starts under the form's headings.
std::optional<PlanFormat> Detect(const std::vector<vkt::CsvRecord>& records, std::string& error) {
    const auto list = PlanRows::ChannelListHeader(records, error);
    if (!error.empty()) return std::nullopt;
    const auto incident = PlanRows::IncidentPlanHeader(records, error);
    if (!error.empty()) return std::nullopt;
    if (list && (!incident || list->index <= incident->index)) return PlanFormat::ChannelList;
    if (incident) return PlanFormat::IncidentPlan;
    return std::nullopt;
}

} // namespace

std::optional<PlanFormat> DetectPlanFormat(const std::string& text) {
    std::vector<vkt::CsvRecord> records;
    std::string error;
    if (!Records(text, records, error)) return std::nullopt;
    return Detect(records, error);
}

bool ReadPlan(const std::string& text, const PlanOptions& options, ChannelPlan& plan, std::string& error) {
    plan = {};
    error.clear();
    std::vector<vkt::CsvRecord> records;
    if (!Records(text, records, error)) return false;
    const auto format = Detect(records, error);
    if (!format) {
        if (error.empty())
            error = "no line names the columns of a plan: an incident plan's \"Ch #\" and \"RX Freq\", or a channel list's "
                    "\"Location\" and \"Frequency\"";
        return false;
    }
    plan.format = *format;
    const bool read = *format == PlanFormat::IncidentPlan ? PlanRows::ReadIncidentPlan(records, options, plan, error)
                                                          : PlanRows::ReadChannelList(records, options, plan, error);
    if (read && plan.channels.empty()) {
        error = "the plan names no channel";
        return false;
    }
    return read;
}

std::vector<PlanChannel> ProgrammedChannels(const Image& image) {
    std::vector<PlanChannel> channels;
    const auto programmed = [](uint64_t steps) { return steps != 0 && steps != 0xFFFF; };
    for (int g = 0; g < GroupCount; ++g) {
        const int block = GroupBase(g);
        for (int c = 0; c < ChannelCount; ++c) {
            const int slot = ChannelSlotAddress(g, c);
            PlanChannel ch;
            ch.group = g;
            ch.channel = c;
            ch.rx = static_cast<uint16_t>(ReadField(image, slot, CS::RxFreq));
            ch.tx = static_cast<uint16_t>(ReadField(image, slot, CS::TxFreq));
            if (!programmed(ch.rx) && !programmed(ch.tx)) continue;
            ch.rxcg = static_cast<uint16_t>(ReadField(image, slot, CS::RxCG));
            ch.txcg = static_cast<uint16_t>(ReadField(image, slot, CS::TxCG));
            std::copy_n(image.begin() + LabelSlotAddress(g, c) + LabelSlot::Label.offset, 8, ch.label.begin());
            ch.narrow = ReadField(image, block, GB::Narrow[c]) != 0;
            ch.scan = ReadField(image, block, GB::Scan[c]) != 0;
            ch.lowPower = ReadField(image, block, GB::LowPower[c]) != 0;
            channels.push_back(ch);
        }
    }
    return channels;
}

namespace {

std::string PlanText(const std::vector<PlanChannel>& channels, PlanFormat format) {
    return format == PlanFormat::IncidentPlan ? PlanRows::WriteIncidentPlan(channels) : PlanRows::WriteChannelList(channels);
}

// Why the row of a channel, imported into the setup it came from, would not
// leave its bytes as they are; "" when it would.
std::string WhyNotReadBack(const Image& image, const PlanChannel& ch, PlanFormat format) {
    ChannelPlan back;
    std::string error;
    if (!ReadPlan(PlanText({ch}, format), {}, back, error))
        return error.starts_with("line ") ? error.substr(error.find_first_of(",:") + 2) : error;
    Image read = image;
    ApplyPlan(back, read);
    return read == image ? "" : "its row would read back otherwise";
}

} // namespace

WrittenPlan WritePlan(const Image& image, PlanFormat format) {
    WrittenPlan written;
    std::vector<PlanChannel> held;
    for (const PlanChannel& ch : ProgrammedChannels(image)) {
        const std::string why = WhyNotReadBack(image, ch, format);
        if (why.empty()) held.push_back(ch);
        else written.leftOut.push_back("group " + std::to_string(ch.group + 1) + " channel " + std::to_string(ch.channel + 1) + ": " + why);
    }
    written.text = PlanText(held, format);
    written.channels = held.size();
    return written;
}

void ApplyPlan(const ChannelPlan& plan, Image& image) {
    for (const PlanChannel& ch : plan.channels) {
        // The readers refuse any other place; one outside would write into another group's table.
        assert(ch.group >= 0 && ch.group < GroupCount && ch.channel >= 0 && ch.channel < ChannelCount);
        const int slot = ChannelSlotAddress(ch.group, ch.channel);
        WriteField(image, slot, CS::RxFreq, ch.rx);
        WriteField(image, slot, CS::RxCG, ch.rxcg);
        WriteField(image, slot, CS::TxFreq, ch.tx);
        WriteField(image, slot, CS::TxCG, ch.txcg);
        std::copy(ch.label.begin(), ch.label.end(), image.begin() + LabelSlotAddress(ch.group, ch.channel) + LabelSlot::Label.offset);
        const int block = GroupBase(ch.group);
        if (ch.narrow) WriteField(image, block, GB::Narrow[ch.channel], *ch.narrow);
        if (ch.scan) WriteField(image, block, GB::Scan[ch.channel], *ch.scan);
        if (ch.lowPower) WriteField(image, block, GB::LowPower[ch.channel], *ch.lowPower);
    }
}

std::vector<std::string> PlanChanges(const ChannelPlan& plan) {
    std::vector<std::string> lines;
    for (int g = 0; g < GroupCount; ++g) {
        std::array<bool, ChannelCount> set{};
        for (const PlanChannel& ch : plan.channels)
            if (ch.group == g) set[static_cast<size_t>(ch.channel)] = true;
        std::string list;
        for (int c = 0; c < ChannelCount;) {
            if (!set[static_cast<size_t>(c)]) {
                ++c;
                continue;
            }
            int last = c;
            while (last + 1 < ChannelCount && set[static_cast<size_t>(last + 1)]) ++last;
            list += (list.empty() ? "" : ", ") + std::to_string(c + 1) + (last > c ? "-" + std::to_string(last + 1) : "");
            c = last + 1;
        }
        if (!list.empty()) lines.push_back("group " + std::to_string(g + 1) + ": channel" + (list.find_first_of(",-") == std::string::npos ? " " : "s ") + list);
    }
    return lines;
}

} // namespace VKTCore
