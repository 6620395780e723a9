// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/UnitIds.h"

#include <algorithm>
#include <sstream>

#include "core/MemoryMap.h"
#include "core/Text.h"
#include "store/FileReader.h"

namespace vktfleet {

namespace {

constexpr size_t Numbers = 10'000'000;  // 0000000 ... 9999999
constexpr size_t ListMaxBytes = 1 << 20;

bool IsUnitId(const std::string& text) { return !text.empty() && text.size() <= UnitIdDigits && vkt::AllDigits(text); }

// A line of a file written on Windows ends in CR too.
constexpr const char* Blanks = " \t\r";

} // namespace

std::optional<UnitIds> UnitIds::Of(const std::string& given, std::string& problem) {
    const std::string option = vkt::Trimmed(given, Blanks);
    UnitIds ids;
    if (!option.empty() && vkt::AllDigits(option)) {
        if (!IsUnitId(option)) {
            problem = "--unit-ids " + option + ": a unit ID has up to 7 digits";
            return std::nullopt;
        }
        ids.start_ = static_cast<size_t>(std::stoul(option));
        return ids;
    }
    std::string text;
    vktstore::FileError e;
    if (!vktstore::ReadWholeFile(option, ListMaxBytes, text, e)) {
        problem = "--unit-ids: cannot read " + option + ": " + e.description;
        return std::nullopt;
    }
    ids.file_ = option;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const std::string id = vkt::Trimmed(line, Blanks);
        if (id.empty()) continue;
        if (!IsUnitId(id)) {
            problem = option + " line " + std::to_string(number) + ": \"" + id + "\" is not a unit ID (up to 7 digits)";
            return std::nullopt;
        }
        ids.list_.push_back(vkt::PadLeft(id, UnitIdDigits, '0'));
    }
    return ids;
}

size_t UnitIds::left() const { return (file_.empty() ? Numbers - start_ : list_.size()) - used_; }

std::string UnitIds::next() {
    const size_t i = used_++;
    return file_.empty() ? vkt::PadLeft(std::to_string(start_ + i), UnitIdDigits, '0') : list_.at(i);
}

std::string UnitIds::tooFew(size_t radios) const {
    return vktfleet::Radios(static_cast<int>(radios)) + " but only " + std::to_string(left()) + (left() == 1 ? " unit ID" : " unit IDs") + " left" +
           (file_.empty() ? "" : " in " + file_);
}

bool UnitIds::give(std::vector<FleetCable>& cables, std::string& why) {
    if (left() < cables.size()) {
        why = tooFew(cables.size());
        return false;
    }
    for (FleetCable& cable : cables) {
        cable.unitId = next();
        cable.args.insert(cable.args.end(), {"--unit-ids", cable.unitId});
    }
    return true;
}

void GiveUnitId(VKTCore::Image& image, const std::string& id) {
    for (int g = 0; g < VKTCore::GroupCount; ++g) VKTCore::WriteFieldDigits(image, VKTCore::GroupBase(g), VKTCore::GroupBlock::IdNumber, id);
}

void KeepUnitIds(VKTCore::Image& image, const VKTCore::Image& radio) {
    const auto& field = VKTCore::GroupBlock::IdNumber;
    for (int g = 0; g < VKTCore::GroupCount; ++g)
        VKTCore::WriteField(image, VKTCore::GroupBase(g), field, VKTCore::ReadField(radio, VKTCore::GroupBase(g), field));
}

std::string UnitIdsOf(const VKTCore::Image& image) {
    std::vector<std::string> seen;
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        const std::string id = VKTCore::UnitIdText(image, g);
        if (std::find(seen.begin(), seen.end(), id) == seen.end()) seen.push_back(id);
    }
    return vkt::Joined(seen, "/");
}

} // namespace vktfleet
