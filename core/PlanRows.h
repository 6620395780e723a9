// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the two plan formats share: columns found by name, a row's values
// with refusals that name line, column and value, and the grid's rules.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ChannelPlan.h"
#include "core/Csv.h"

namespace VKTCore::PlanRows {

// A column a format knows: the name export writes, the names it is known by.
struct ColumnSpec {
    const char* name;
    std::vector<const char*> aliases;
};

// A column name with case, spaces and punctuation left out: "RX Freq N or W" is "rxfreqnorw".
std::string ColumnKey(const std::string& name);

// A heading over two lines in its cell, named on one.
std::string OneLine(std::string name);

// Where each known column stands in the header record (npos when absent).
struct Header {
    const vkt::CsvRecord* record = nullptr;
    const std::vector<ColumnSpec>* columns = nullptr;
    size_t index = 0;  // of the header among the records
    std::vector<size_t> at;
    bool has(size_t col) const { return at[col] != std::string::npos; }
};

// The first record naming all of `required`; nothing when none does, or (with
// error set) when a column is named twice.
std::optional<Header> FindHeader(const std::vector<vkt::CsvRecord>& records, const std::vector<ColumnSpec>& columns,
                                 const std::vector<size_t>& required, std::string& error);

class Row {
public:
    Row(const vkt::CsvRecord& record, const Header& header) : record_(record), header_(header) {}
    int line() const { return record_.line; }
    // The value as the file holds it; "" for an absent column or a short row.
    const std::string& raw(size_t col) const;
    // The same without spaces at either end.
    std::string value(size_t col) const;
    bool blank(size_t col) const { return value(col).empty(); }
    // Sets error to `line N, column NAME: "VALUE" why` and returns false; for
    // a column the file does not have, `line N: the row needs the column NAME, ...`.
    bool refuse(size_t col, const std::string& why, std::string& error) const;

private:
    const vkt::CsvRecord& record_;
    const Header& header_;
};

inline constexpr const char* FrequencyRule = "is not a frequency: 0, or a 2.5 or 6.25 kHz channel step within 136 ... 174 MHz";

// A frequency in MHz as written: never shifted to fit, on the grid's band and steps.
std::optional<uint16_t> FrequencySteps(const std::string& text);
// An exact decimal number of hertz from megahertz text ("0.600000" is 600000).
std::optional<long long> Hertz(const std::string& mhz);
long long StepsToHertz(uint16_t steps);
// Megahertz with at least `decimals` decimals and as many more as the value needs.
std::string MHzText(long long hertz, int decimals);
// A tone the grid takes ("88.5", "100.0"); nothing for a code or no tone.
std::optional<uint16_t> ToneCode(const std::string& text);
// The tone of a code in the plans' form, "88.5".
std::string ToneText(uint16_t code);
bool IsDigitalCode(uint16_t code);
bool IsInvertedCode(uint16_t code);
// The three octal digits of a digital code: "023".
std::string CodeDigits(uint16_t code);
// The label of a name, listed in the plan's renamed when the radio shows it
// otherwise; false (error set) when it has more than 8 characters and names are not cut.
bool ReadName(const Row& row, size_t col, const PlanOptions& options, ChannelPlan& plan, LabelCodes& label, std::string& error);
// The name of a label as a plan shows it: without its padding when that reads back the same.
std::string NameText(const LabelCodes& label);
// Refuses a second row for a channel already set.
bool CheckUnique(const ChannelPlan& plan, const PlanChannel& ch, std::string& error);

bool ReadIncidentPlan(const std::vector<vkt::CsvRecord>& records, const PlanOptions& options, ChannelPlan& plan, std::string& error);
bool ReadChannelList(const std::vector<vkt::CsvRecord>& records, const PlanOptions& options, ChannelPlan& plan, std::string& error);
std::optional<Header> IncidentPlanHeader(const std::vector<vkt::CsvRecord>& records, std::string& error);
std::optional<Header> ChannelListHeader(const std::vector<vkt::CsvRecord>& records, std::string& error);
std::string WriteIncidentPlan(const std::vector<PlanChannel>& channels);
std::string WriteChannelList(const std::vector<PlanChannel>& channels);

} // namespace VKTCore::PlanRows
