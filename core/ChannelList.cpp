// SPDX-License-Identifier: GPL-3.0-or-later
// The channel-list CSV of the open-source programming tools: one row per
// memory location, the tone settings as a mode and the values it uses.

#include <algorithm>
#include <sstream>

#include "core/MemoryImage.h"
#include "core/PlanRows.h"
#include "core/Text.h"

namespace VKTCore::PlanRows {

namespace {

enum Column : size_t {
    Location, Name, Frequency, Duplex, Offset, Tone, RToneFreq, CToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode,
    Mode, TStep, Skip, Power, Comment, URCALL, RPT1CALL, RPT2CALL, DVCODE, ColumnCount
};

const std::vector<ColumnSpec>& Columns() {
    static const std::vector<ColumnSpec> columns = [] {
        std::vector<ColumnSpec> c;
        for (const char* name : {"Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq", "DtcsCode",
                                 "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power", "Comment", "URCALL",
                                 "RPT1CALL", "RPT2CALL", "DVCODE"})
            c.push_back({name, {}});
        return c;
    }();
    return columns;
}

// The aliases point into keys that live as long as the program.
const std::vector<ColumnSpec>& Matched() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const ColumnSpec& c : Columns()) k.push_back(ColumnKey(c.name));
        return k;
    }();
    static const std::vector<ColumnSpec> columns = [] {
        std::vector<ColumnSpec> c = Columns();
        for (size_t k = 0; k < c.size(); ++k) c[k].aliases = {keys[k].c_str()};
        return c;
    }();
    return columns;
}

std::optional<double> Watts(const std::string& text) {
    std::string v = vkt::ToUpper(text);
    if (!v.empty() && v.back() == 'W') v.pop_back();
    if (v.empty() || !vkt::IsNumeric(v)) return std::nullopt;
    return vkt::Val(v);
}

constexpr double LowestHighWatts = 2;

// "7" and "007" are one location, and "00" is location 0: a list counts from 0 or from 1.
std::optional<int> LocationNumber(const Row& row) {
    const std::string text = row.value(Location);
    if (text.empty() || text.size() > 4 || !vkt::AllDigits(text)) return std::nullopt;
    return std::stoi(text);
}

// What the whole file decides: where locations count from, the highest power.
struct ListFacts {
    int base = 1;
    double mostWatts = 0;
};

class RowReader {
public:
    RowReader(const Row& row, const Header& header, const PlanOptions& options, const ListFacts& facts, ChannelPlan& plan,
              std::string& error)
        : row_(row), header_(header), options_(options), facts_(facts), plan_(plan), error_(error) {}

    bool read() {
        PlanChannel ch;
        ch.line = row_.line();
        const auto location = LocationNumber(row_);
        if (!location) return refuse(Location, "is not a location number");
        const int index = options_.firstGroup * ChannelCount + *location - facts_.base;
        if (index >= GroupCount * ChannelCount)
            return refuse(Location, "goes past group 15 (16 locations a group from group " + std::to_string(options_.firstGroup + 1) + " on)");
        ch.group = index / ChannelCount;
        ch.channel = index % ChannelCount;
        if (!readName(ch) || !readFrequencies(ch) || !readTones(ch) || !readFlags(ch)) return false;
        if (!CheckUnique(plan_, ch, error_)) return false;
        plan_.channels.push_back(ch);
        return true;
    }

private:
    bool refuse(Column col, const std::string& why) { return row_.refuse(col, why, error_); }

    bool readName(PlanChannel& ch) { return ReadName(row_, Name, options_, plan_, ch.label, error_); }

    bool readFrequencies(PlanChannel& ch) {
        const auto rx = FrequencySteps(row_.value(Frequency));
        if (!rx) return refuse(Frequency, FrequencyRule);
        ch.rx = *rx;
        const std::string duplex = vkt::ToUpper(row_.value(Duplex));
        if (duplex.empty()) {
            ch.tx = ch.rx;
        } else if (duplex == "OFF") {
            ch.tx = 0;
        } else if (duplex == "SPLIT") {
            const auto tx = FrequencySteps(row_.value(Offset));
            if (!tx) return refuse(Offset, FrequencyRule);
            ch.tx = *tx;
        } else if (duplex == "+" || duplex == "-") {
            const auto offset = Hertz(row_.value(Offset));
            if (!offset) return refuse(Offset, "is not an offset in MHz, like 0.600000");
            const long long hertz = StepsToHertz(ch.rx) + (duplex == "+" ? *offset : -*offset);
            const auto tx = hertz > 0 ? ChannelHertzToSteps(hertz) : std::nullopt;
            if (!tx) return refuse(Offset, "puts transmit on no frequency: a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz");
            ch.tx = *tx;
        } else {
            return refuse(Duplex, "is not a duplex: blank, +, -, split or off");
        }
        const std::string mode = vkt::ToUpper(row_.value(Mode));
        if (mode != "" && mode != "FM" && mode != "NFM") return refuse(Mode, "is not FM or NFM: this radio is analog FM");
        if (!mode.empty()) ch.narrow = mode == "NFM";
        return true;
    }

    bool tone(Column col, uint16_t& code) {
        const auto read = ToneCode(row_.value(col));
        if (!read || *read == 0) return refuse(col, "is not a tone, like 88.5");
        code = *read;
        return true;
    }

    // which: 0 for transmit, 1 for receive.
    bool digital(Column col, size_t which, uint16_t& code) {
        std::string digits = row_.value(col);
        const bool octal = std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '7'; });
        if (digits.empty() || digits.size() > 3 || !octal) return refuse(col, "is not a digital code: three octal digits, like 023");
        std::string polarity = vkt::ToUpper(row_.value(DtcsPolarity));
        if (polarity.empty()) polarity = "NN";
        const bool good = polarity.size() == 2 && std::all_of(polarity.begin(), polarity.end(), [](char ch) { return ch == 'N' || ch == 'R'; });
        if (!good) return refuse(DtcsPolarity, "is not a polarity: NN, NR, RN or RR");
        code = *CGTextToCode("D" + vkt::PadLeft(digits, 3, '0') + (polarity[which] == 'R' ? "-" : ""));
        return true;
    }

    bool readTones(PlanChannel& ch) {
        const std::string mode = vkt::ToUpper(row_.value(Tone));
        const Column rxCode = header_.has(RxDtcsCode) ? RxDtcsCode : DtcsCode;
        if (mode.empty()) return true;
        if (mode == "TONE") return tone(RToneFreq, ch.txcg);
        if (mode == "TSQL") return tone(CToneFreq, ch.txcg) && tone(CToneFreq, ch.rxcg);
        if (mode == "DTCS") return digital(DtcsCode, 0, ch.txcg) && digital(DtcsCode, 1, ch.rxcg);
        if (mode == "TSQL-R" || mode == "DTCS-R") return refuse(Tone, "is a reverse squelch, which this radio does not have");
        if (mode != "CROSS") return refuse(Tone, "is not a tone mode: blank, Tone, TSQL, DTCS or Cross");
        const std::string cross = vkt::ToUpper(row_.value(CrossMode));
        const size_t arrow = cross.find("->");
        const std::string tx = cross.substr(0, arrow), rx = arrow == std::string::npos ? "?" : cross.substr(arrow + 2);
        const auto side = [](const std::string& s) { return s.empty() || s == "TONE" || s == "DTCS"; };
        if (!side(tx) || !side(rx) || (tx.empty() && rx.empty())) return refuse(CrossMode, "is not a cross mode, like Tone->DTCS");
        if (tx == "TONE" && !tone(RToneFreq, ch.txcg)) return false;
        if (tx == "DTCS" && !digital(DtcsCode, 0, ch.txcg)) return false;
        if (rx == "TONE" && !tone(CToneFreq, ch.rxcg)) return false;
        if (rx == "DTCS" && !digital(rxCode, 1, ch.rxcg)) return false;
        return true;
    }

    bool readFlags(PlanChannel& ch) {
        if (header_.has(Skip)) {
            const std::string skip = vkt::ToUpper(row_.value(Skip));
            if (skip != "" && skip != "S" && skip != "P") return refuse(Skip, "is not a skip: blank, S or P");
            ch.scan = skip != "S";
        }
        const std::string power = vkt::ToUpper(row_.value(Power));
        if (power.empty()) return true;
        if (power == "LOW" || power == "LO" || power == "L") ch.lowPower = true;
        else if (power == "HIGH" || power == "HI" || power == "H") ch.lowPower = false;
        // Lists give watts of the radio they came from: below that radio's
        // highest in the file is low, and so is 2 W or less, no hand-held's high.
        else if (const auto watts = Watts(power)) ch.lowPower = *watts < facts_.mostWatts || *watts <= LowestHighWatts;
        else return refuse(Power, "is not a power: Low, High or watts, like 1.0W");
        return true;
    }

    const Row& row_;
    const Header& header_;
    const PlanOptions& options_;
    const ListFacts& facts_;
    ChannelPlan& plan_;
    std::string& error_;
};

bool Unused(const Row& row) { return row.blank(Location) && row.blank(Frequency); }

// The polarity letter of a digital code, "N" for anything else.
char Polarity(uint16_t code) { return IsDigitalCode(code) && IsInvertedCode(code) ? 'R' : 'N'; }

const char* Kind(uint16_t code) { return code == 0 ? "" : IsDigitalCode(code) ? "DTCS" : "Tone"; }

} // namespace

std::optional<Header> ChannelListHeader(const std::vector<vkt::CsvRecord>& records, std::string& error) {
    return FindHeader(records, Matched(), {Location, Frequency}, error);
}

bool ReadChannelList(const std::vector<vkt::CsvRecord>& records, const PlanOptions& options, ChannelPlan& plan, std::string& error) {
    const auto header = ChannelListHeader(records, error);
    if (!header) return false;
    ListFacts facts;
    for (size_t r = header->index + 1; r < records.size(); ++r) {
        const Row row(records[r], *header);
        if (Unused(row)) continue;
        if (LocationNumber(row) == 0) facts.base = 0;
        if (const auto watts = Watts(row.value(Power))) facts.mostWatts = std::max(facts.mostWatts, *watts);
    }
    for (size_t r = header->index + 1; r < records.size(); ++r) {
        const Row row(records[r], *header);
        if (Unused(row)) continue;
        if (!RowReader(row, *header, options, facts, plan, error).read()) return false;
    }
    return true;
}

std::string WriteChannelList(const std::vector<PlanChannel>& channels) {
    std::ostringstream out;
    const auto& columns = Columns();
    for (size_t k = 0; k < columns.size(); ++k) out << (k ? "," : "") << columns[k].name;
    out << "\r\n";
    for (const PlanChannel& ch : channels) {
        const long long rx = StepsToHertz(ch.rx), tx = StepsToHertz(ch.tx);
        std::string duplex, offset = "0.000000";
        if (ch.tx == 0) duplex = "off";
        else if (ch.rx == 0) duplex = "split", offset = MHzText(tx, 6);
        else if (tx != rx) duplex = tx > rx ? "+" : "-", offset = MHzText(std::llabs(tx - rx), 6);
        std::string mode, rTone = "88.5", cTone = "88.5", dtcs = "023", rxDtcs = "023", cross = "Tone->Tone";
        const std::string polarity{Polarity(ch.txcg), Polarity(ch.rxcg)};
        const bool txDigital = IsDigitalCode(ch.txcg), rxDigital = IsDigitalCode(ch.rxcg);
        if (ch.txcg == 0 && ch.rxcg == 0) {
        } else if (ch.rxcg == 0 && !txDigital) {
            mode = "Tone", rTone = ToneText(ch.txcg);
        } else if (ch.rxcg == ch.txcg && !txDigital) {
            mode = "TSQL", rTone = cTone = ToneText(ch.txcg);
        } else if (txDigital && rxDigital && CodeDigits(ch.txcg) == CodeDigits(ch.rxcg)) {
            mode = "DTCS", dtcs = rxDtcs = CodeDigits(ch.txcg);
        } else {
            mode = "Cross", cross = std::string(Kind(ch.txcg)) + "->" + Kind(ch.rxcg);
            if (ch.txcg != 0) (txDigital ? dtcs : rTone) = txDigital ? CodeDigits(ch.txcg) : ToneText(ch.txcg);
            if (ch.rxcg != 0) (rxDigital ? rxDtcs : cTone) = rxDigital ? CodeDigits(ch.rxcg) : ToneText(ch.rxcg);
        }
        out << ch.group * ChannelCount + ch.channel + 1 << "," << vkt::CsvField(NameText(ch.label)) << "," << MHzText(rx, 6) << ","
            << duplex << "," << offset << "," << mode << "," << rTone << "," << cTone << "," << dtcs << "," << polarity << ","
            << rxDtcs << "," << cross << "," << (ch.narrow.value_or(false) ? "NFM" : "FM") << "," << (rx % 6250 == 0 ? "6.25" : "2.50") << ","
            << (ch.scan.value_or(true) ? "" : "S") << "," << (ch.lowPower.value_or(false) ? "Low" : "High") << ",,,,,\r\n";
    }
    return out.str();
}

} // namespace VKTCore::PlanRows
