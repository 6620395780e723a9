// SPDX-License-Identifier: GPL-3.0-or-later
// The "Basic Radio Channel Use" table of an incident radio communications
// plan, as a spreadsheet saves it: the form's headings above it, its empty
// rows and its closing lines around it, only the rows with a channel read.

#include <algorithm>
#include <sstream>

#include "core/MemoryImage.h"
#include "core/PlanRows.h"
#include "core/Text.h"

namespace VKTCore::PlanRows {

namespace {

enum Column : size_t { Group, Channel, Function, Name, Assignment, RxFreq, RxTone, TxFreq, TxTone, Mode, Remarks };

const std::vector<ColumnSpec>& Columns() {
    static const std::vector<ColumnSpec> columns{
        {"Zone/Grp", {"zonegrp", "zonegroup", "zone", "grp", "group"}},
        {"Ch #", {"ch", "chno", "channel", "channelno"}},
        {"Function", {"function"}},
        {"Channel Name/Trunked Radio System Talkgroup", {"channelnametrunkedradiosystemtalkgroup", "channelnametalkgroup", "channelname", "name"}},
        {"Assignment", {"assignment", "eligibleusersassignments", "eligibleusers"}},
        {"RX Freq N or W", {"rxfreqnorw", "rxfreqnw", "rxfreq", "rxfrequency"}},
        {"RX Tone/NAC", {"rxtonenac", "rxtone", "rxnac", "rxctcss"}},
        {"TX Freq N or W", {"txfreqnorw", "txfreqnw", "txfreq", "txfrequency"}},
        {"TX Tone/NAC", {"txtonenac", "txtone", "txnac", "txctcss"}},
        {"Mode A, D, or M", {"modeadorm", "modeadm", "mode"}},
        {"Remarks", {"remarks"}},
    };
    return columns;
}

constexpr const char* ToneRule = "is not a tone or code: a tone like 100.0, CSQ or blank for none, or a code like D023N or 023I";

std::optional<int> WholeNumber(const std::string& text, int lowest, int highest) {
    if (text.empty() || text.size() > 4 || !vkt::AllDigits(text)) return std::nullopt;
    const int n = std::stoi(text);
    if (n < lowest || n > highest) return std::nullopt;
    return n;
}

// "155.3400N", "155.34375 W", "" for none.
bool ReadFrequency(const Row& row, Column col, uint16_t& steps, std::optional<bool>& narrow, std::string& error) {
    std::string v = vkt::ToUpper(row.value(col));
    steps = 0;
    if (v.empty()) return true;
    if (v.back() == 'N' || v.back() == 'W') {
        narrow = v.back() == 'N';
        v.pop_back();
        while (!v.empty() && v.back() == ' ') v.pop_back();
    }
    const auto read = FrequencySteps(v);
    if (!read) return row.refuse(col, FrequencyRule, error);
    steps = *read;
    return true;
}

bool IsNac(const std::string& v) {
    const bool hex = v.size() == 3 && std::all_of(v.begin(), v.end(), [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)); });
    return v.starts_with("$") || v.starts_with("NAC") || (hex && std::any_of(v.begin(), v.end(), [](char ch) { return ch >= 'A' && ch <= 'F'; }));
}

// "100.0", "CSQ" or blank for none, "D023", "D023N", "023I", "D023-".
bool ReadTone(const Row& row, Column col, uint16_t& code, std::string& error) {
    const std::string v = vkt::ToUpper(row.value(col));
    code = 0;
    if (v.empty() || v == "CSQ") return true;
    std::string digits = v;
    const bool lead = digits.starts_with("D");
    if (lead) digits.erase(0, 1);
    char polarity = 0;
    if (!digits.empty() && (digits.back() == 'N' || digits.back() == 'I' || digits.back() == '-')) {
        polarity = digits.back();
        digits.pop_back();
    }
    // "023" is a digital code without its polarity to some and a 23 Hz tone
    // to the grid: a plan has to say which.
    if (!lead && !polarity && digits.size() == 3 && digits[0] == '0' && vkt::AllDigits(digits))
        return row.refuse(col, "could be a tone or a code: write a code as D023N or 023I, a tone as 100.0", error);
    std::optional<uint16_t> read;
    const bool octal = digits.size() == 3 && std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '7'; });
    if ((lead || polarity) && octal) read = CGTextToCode("D" + digits + (polarity == 'I' || polarity == '-' ? "-" : ""));
    else if (!lead && !polarity) read = ToneCode(v);
    if (read) {
        code = *read;
        return true;
    }
    return row.refuse(col, IsNac(v) ? "is a NAC (a P25 code): this radio is analog" : ToneRule, error);
}

// Where the table's channels go, as the rows before this one left it.
struct Places {
    std::optional<int> zone;                // the last group a Zone/Grp cell gave
    std::array<int, GroupCount> counted{};  // channels so far in each group, for a table without Ch #
};

// A Zone/Grp column's group, carried down under a merged (blank) cell; the
// channel its Ch # or, without that column (the 217A worksheet), the next
// one in the group. Without a Zone/Grp column the channels count on from
// the chosen group into the ones after it, as a channel list's locations do.
bool ReadPlace(const Row& row, const Header& header, const PlanOptions& options, Places& places, PlanChannel& ch, std::string& error) {
    const bool zoned = header.has(Group);
    int group = options.firstGroup;
    if (zoned) {
        const std::string zone = row.value(Group);
        if (!zone.empty() || !places.zone) {
            const auto g = WholeNumber(zone, 1, GroupCount);
            if (!g && !zone.empty() && !vkt::AllDigits(zone))
                return row.refuse(Group, "is a zone's name, not a group number 1 ... 15: number the zones as the radio's groups", error);
            if (!g) return row.refuse(Group, "is not a group number 1 ... 15", error);
            places.zone = *g - 1;
        }
        group = *places.zone;
    }
    int& counted = places.counted[static_cast<size_t>(group)];
    int number = counted + 1;
    if (header.has(Channel)) {
        const auto c = WholeNumber(row.value(Channel), 1, zoned ? ChannelCount : GroupCount * ChannelCount);
        if (!c) return row.refuse(Channel, zoned ? "is not a channel number 1 ... 16" : "is not a channel number 1 ... 240", error);
        number = *c;
    }
    counted = number;
    const int index = group * ChannelCount + number - 1;
    if ((zoned && number > ChannelCount) || index >= GroupCount * ChannelCount) {
        error = "line " + std::to_string(row.line()) + ": channel " + std::to_string(number) + " goes past " +
                (zoned ? "the 16 of group " + std::to_string(group + 1)
                       : "group 15 (16 channels a group from group " + std::to_string(options.firstGroup + 1) + " on)");
        return false;
    }
    ch.group = index / ChannelCount;
    ch.channel = index % ChannelCount;
    return true;
}

bool ReadRow(const Row& row, const Header& header, const PlanOptions& options, Places& places, ChannelPlan& plan, std::string& error) {
    PlanChannel ch;
    ch.line = row.line();
    if (!ReadPlace(row, header, options, places, ch, error)) return false;
    const std::string mode = vkt::ToUpper(row.value(Mode));
    if (mode == "D" || mode == "M") return row.refuse(Mode, "is digital or mixed mode: this radio is analog (A)", error);
    if (!mode.empty() && mode != "A") return row.refuse(Mode, "is not a mode: A (analog), D or M", error);
    std::optional<bool> rxNarrow, txNarrow;
    if (!ReadFrequency(row, RxFreq, ch.rx, rxNarrow, error) || !ReadFrequency(row, TxFreq, ch.tx, txNarrow, error)) return false;
    if (rxNarrow && txNarrow && rxNarrow != txNarrow) return row.refuse(TxFreq, "is not of the RX Freq's width (N or W)", error);
    ch.narrow = rxNarrow ? rxNarrow : txNarrow;
    if (!ReadTone(row, RxTone, ch.rxcg, error) || !ReadTone(row, TxTone, ch.txcg, error)) return false;
    if (!ReadName(row, Name, options, plan, ch.label, error)) return false;
    if (!CheckUnique(plan, ch, error)) return false;
    plan.channels.push_back(ch);
    return true;
}

// "154.2800N", "155.34375 w", "0": what a frequency cell holds, right or wrong.
bool FrequencyShaped(const std::string& text) {
    std::string v = vkt::ToUpper(text);
    if (!v.empty() && (v.back() == 'N' || v.back() == 'W')) v.pop_back();
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return !v.empty() && std::isdigit(static_cast<unsigned char>(v[0])) &&
           std::all_of(v.begin(), v.end(), [](char ch) { return ch == '.' || std::isdigit(static_cast<unsigned char>(ch)); });
}

// A row is a channel when it carries a frequency: a frequency cell shaped as
// one, or any text there on a numbered row. The form's empty (pre-numbered)
// rows, its title and closing lines ("5. Special Instructions:", a signature,
// in whatever column they stand) carry none.
bool IsChannelRow(const Row& row) {
    const bool numbered = WholeNumber(row.value(Channel), 0, 9999).has_value();
    for (const Column col : {RxFreq, TxFreq})
        if (FrequencyShaped(row.value(col)) || (numbered && !row.blank(col))) return true;
    return false;
}

std::string FrequencyText(uint16_t steps, bool narrow) {
    return steps == 0 ? "" : MHzText(StepsToHertz(steps), 4) + (narrow ? "N" : "W");
}

std::string CodeText(uint16_t code) {
    if (code == 0) return "CSQ";
    if (IsDigitalCode(code)) return "D" + CodeDigits(code) + (IsInvertedCode(code) ? "I" : "N");
    return ToneText(code);
}

} // namespace

std::optional<Header> IncidentPlanHeader(const std::vector<vkt::CsvRecord>& records, std::string& error) {
    // The 217A worksheet has no Ch # column: its rows are numbered as they stand.
    auto header = FindHeader(records, Columns(), {Channel, RxFreq}, error);
    if (!header && error.empty()) header = FindHeader(records, Columns(), {RxFreq, TxFreq}, error);
    return header;
}

bool ReadIncidentPlan(const std::vector<vkt::CsvRecord>& records, const PlanOptions& options, ChannelPlan& plan, std::string& error) {
    const auto header = IncidentPlanHeader(records, error);
    if (!header) return false;
    plan.groupsGiven = header->has(Group);
    Places places;
    for (size_t r = header->index + 1; r < records.size(); ++r) {
        const Row row(records[r], *header);
        if (!IsChannelRow(row)) continue;
        if (!ReadRow(row, *header, options, places, plan, error)) return false;
    }
    return true;
}

std::string WriteIncidentPlan(const std::vector<PlanChannel>& channels) {
    std::ostringstream out;
    out << "INCIDENT RADIO COMMUNICATIONS PLAN (ICS 205)\r\nBasic Radio Channel Use\r\n";
    const auto& columns = Columns();
    for (size_t k = 0; k < columns.size(); ++k) out << (k ? "," : "") << vkt::CsvField(columns[k].name);
    out << "\r\n";
    for (const PlanChannel& ch : channels) {
        out << ch.group + 1 << "," << ch.channel + 1 << ",," << vkt::CsvField(NameText(ch.label)) << ",,"
            << FrequencyText(ch.rx, ch.narrow.value_or(false)) << "," << CodeText(ch.rxcg) << "," << FrequencyText(ch.tx, ch.narrow.value_or(false)) << ","
            << CodeText(ch.txcg) << ",A,\r\n";
    }
    return out.str();
}

} // namespace VKTCore::PlanRows
