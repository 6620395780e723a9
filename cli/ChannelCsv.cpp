// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ChannelCsv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "core/ChannelCodes.h"
#include "core/Csv.h"
#include "core/MemoryMap.h"
#include "core/Text.h"

namespace vktcli {

using VKTCore::Field;
using VKTCore::Image;

namespace {

namespace CS = VKTCore::ChannelSlot;
namespace GB = VKTCore::GroupBlock;

// The columns, in the order of the header export writes.
enum Column { Group, Channel, RxFreq, TxFreq, RxCG, TxCG, Label, Scan, Narrow, LowPower, ColumnCount };

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

int Flag(const Image& im, int g, const Field& flags, int c) {
    return static_cast<int>(VKTCore::ReadField(im, VKTCore::GroupBase(g), flags[c]));
}

using Record = vkt::CsvRecord;

const std::vector<std::string>& ColumnNames() {
    static const std::vector<std::string> names = [] {
        std::vector<Record> header;
        std::string unused;
        vkt::ParseCsv(CsvHeader, header, unused);
        return header.at(0).fields;
    }();
    return names;
}

// Where each column stands in the file: matched by name, in any order; an
// unknown, doubled or missing column is named.
bool MatchHeader(const Record& header, std::array<size_t, ColumnCount>& at, std::string& error) {
    const auto& names = ColumnNames();
    const std::string line = "line " + std::to_string(header.line) + ": ";
    at.fill(header.fields.size());
    const bool anyKnown = std::any_of(header.fields.begin(), header.fields.end(), [&](const std::string& f) {
        return std::find(names.begin(), names.end(), f) != names.end();
    });
    if (!anyKnown) {
        error = line + "the first line must name the columns (" + std::string(CsvHeader) + ")";
        return false;
    }
    for (size_t k = 0; k < header.fields.size(); ++k) {
        const auto known = std::find(names.begin(), names.end(), header.fields[k]);
        if (known == names.end()) {
            error = line + "unknown column \"" + header.fields[k] + "\"";
            return false;
        }
        size_t& column = at[static_cast<size_t>(known - names.begin())];
        if (column != header.fields.size()) {
            error = line + "column \"" + *known + "\" appears twice";
            return false;
        }
        column = k;
    }
    for (size_t col = 0; col < ColumnCount; ++col) {
        if (at[col] == header.fields.size()) {
            error = line + "column \"" + names[col] + "\" is missing";
            return false;
        }
    }
    return true;
}

// A whole number of a few digits within [lowest, highest]: "1.5" is none.
std::optional<int> WholeNumber(const std::string& text, int lowest, int highest) {
    if (text.empty() || text.size() > 4 || !vkt::AllDigits(text)) return std::nullopt;
    const int n = std::stoi(text);
    if (n < lowest || n > highest) return std::nullopt;
    return n;
}

// A frequency as the grid takes one typed: the whole text a number, then
// the grid's band, step and normalisation.
std::optional<uint16_t> FrequencySteps(const std::string& text) {
    if (!vkt::IsNumeric(text)) return std::nullopt;
    const auto mhz = VKTCore::TypedFrequency(vkt::Val(text));
    if (!mhz) return std::nullopt;
    return VKTCore::FreqTextToSteps(vkt::NumberText(*mhz));
}

// One row's changes to the base image; a field the row leaves as the base
// image reads it has none.
struct Change {
    int g = 0, c = 0;
    std::optional<uint16_t> rx, tx, rxcg, txcg;
    std::optional<VKTCore::LabelCodes> label;
    std::array<int, 3> flags{};  // scan, narrow, low power
};

bool ReadRow(const Record& row, const std::array<size_t, ColumnCount>& at, const Image& base, Change& change,
             std::string& error) {
    const auto value = [&](Column col) -> const std::string& { return row.fields[at[col]]; };
    const auto bad = [&](Column col, const std::string& why) {
        error = "line " + std::to_string(row.line) + ", column " + ColumnNames()[col] + ": \"" + vkt::ShownValue(value(col)) + "\" " + why;
        return false;
    };
    const auto g = WholeNumber(value(Group), 1, VKTCore::GroupCount);
    if (!g) return bad(Group, "is not a group number 1 ... 15");
    const auto c = WholeNumber(value(Channel), 1, VKTCore::ChannelCount);
    if (!c) return bad(Channel, "is not a channel number 1 ... 16");
    change.g = *g - 1;
    change.c = *c - 1;

    // A field that reads as the base image reads leaves its bytes alone, in
    // whatever form they are (an erased channel, a 1.25 kHz step, a tone
    // that is no decimal number); one that differs is taken as the grid takes it.
    const int slot = VKTCore::ChannelSlotAddress(change.g, change.c);
    const auto differs = [&](Column col, int record, const Field& f) { return value(col) != VKTCore::FieldText(base, record, f); };
    const std::pair<Column, std::optional<uint16_t>*> frequencies[] = {{RxFreq, &change.rx}, {TxFreq, &change.tx}};
    for (const auto& [col, steps] : frequencies) {
        if (!differs(col, slot, col == RxFreq ? CS::RxFreq : CS::TxFreq)) continue;
        *steps = FrequencySteps(value(col));
        if (!*steps) return bad(col, "is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz");
    }
    const std::pair<Column, std::optional<uint16_t>*> guards[] = {{RxCG, &change.rxcg}, {TxCG, &change.txcg}};
    for (const auto& [col, code] : guards) {
        if (!differs(col, slot, col == RxCG ? CS::RxCG : CS::TxCG)) continue;
        *code = VKTCore::CGTextToCode(value(col));
        if (!*code) return bad(col, "is not a channel guard: a tone like 088.5 or a code like D023 or D023-");
    }
    if (differs(Label, VKTCore::LabelSlotAddress(change.g, change.c), VKTCore::LabelSlot::Label)) {
        if (vkt::CharCount(value(Label)) > 8) return bad(Label, "has more than 8 characters");
        change.label = VKTCore::EncodeLabel(value(Label));
    }
    const Column flags[] = {Scan, Narrow, LowPower};
    for (size_t k = 0; k < 3; ++k) {
        const std::string& v = value(flags[k]);
        if (v != "0" && v != "1") return bad(flags[k], "is not 0 or 1");
        change.flags[k] = v == "1";
    }
    return true;
}

void Apply(const Change& change, Image& image) {
    const int slot = VKTCore::ChannelSlotAddress(change.g, change.c);
    if (change.rx) VKTCore::WriteField(image, slot, CS::RxFreq, *change.rx);
    if (change.rxcg) VKTCore::WriteField(image, slot, CS::RxCG, *change.rxcg);
    if (change.tx) VKTCore::WriteField(image, slot, CS::TxFreq, *change.tx);
    if (change.txcg) VKTCore::WriteField(image, slot, CS::TxCG, *change.txcg);
    if (change.label)
        std::copy(change.label->begin(), change.label->end(),
                  image.begin() + VKTCore::LabelSlotAddress(change.g, change.c) + VKTCore::LabelSlot::Label.offset);
    const int block = VKTCore::GroupBase(change.g);
    VKTCore::WriteField(image, block, GB::Scan[change.c], static_cast<uint64_t>(change.flags[0]));
    VKTCore::WriteField(image, block, GB::Narrow[change.c], static_cast<uint64_t>(change.flags[1]));
    VKTCore::WriteField(image, block, GB::LowPower[change.c], static_cast<uint64_t>(change.flags[2]));
}

} // namespace

std::string ExportCsv(const Image& im) {
    std::ostringstream out;
    out << CsvHeader << "\n";
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        for (int c = 0; c < VKTCore::ChannelCount; ++c) {
            const int slot = VKTCore::ChannelSlotAddress(g, c);
            auto text = [&](const Field& f) { return VKTCore::FieldText(im, slot, f); };
            out << g + 1 << "," << c + 1 << "," << text(CS::RxFreq) << "," << text(CS::TxFreq) << "," << text(CS::RxCG) << ","
                << text(CS::TxCG) << "," << Quote(VKTCore::FieldText(im, VKTCore::LabelSlotAddress(g, c), VKTCore::LabelSlot::Label))
                << "," << Flag(im, g, GB::Scan, c) << "," << Flag(im, g, GB::Narrow, c) << "," << Flag(im, g, GB::LowPower, c) << "\n";
        }
    }
    return out.str();
}

bool ImportCsv(const std::string& csv, Image& image, std::string& error) {
    const std::string text = vkt::WithoutByteOrderMark(csv);
    error = vkt::WhyNoUtf8Text(text);
    if (!error.empty()) return false;
    std::vector<Record> records;
    if (!vkt::ParseCsv(text, records, error)) return false;
    if (records.empty()) {
        error = "the file is empty: its first line must name the columns (" + std::string(CsvHeader) + ")";
        return false;
    }
    std::array<size_t, ColumnCount> at{};
    if (!MatchHeader(records[0], at, error)) return false;
    std::vector<Change> changes;
    std::map<std::pair<int, int>, int> lineOf;
    for (size_t k = 1; k < records.size(); ++k) {
        const Record& row = records[k];
        if (row.fields.size() != ColumnCount) {
            error = "line " + std::to_string(row.line) + ": expected " + std::to_string(ColumnCount) + " fields, found " +
                    std::to_string(row.fields.size());
            return false;
        }
        Change change;
        if (!ReadRow(row, at, image, change, error)) return false;
        const auto [first, isNew] = lineOf.emplace(std::pair{change.g, change.c}, row.line);
        if (!isNew) {
            error = "line " + std::to_string(row.line) + ": group " + std::to_string(change.g + 1) + " channel " +
                    std::to_string(change.c + 1) + " appears a second time (first on line " + std::to_string(first->second) + ")";
            return false;
        }
        changes.push_back(change);
    }
    for (const Change& change : changes) Apply(change, image);
    return true;
}

} // namespace vktcli
