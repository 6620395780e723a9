// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each radio of a run its own ANI/ID: numbered on from a start, or taken in
// order from a list, one ID per radio in cable order, round after round. A
// radio's ID goes into every group of the image sent to it alone; the setup
// file stays as it is. Or each radio keeps the IDs it holds.

#include <optional>
#include <string>
#include <vector>

#include "core/MemoryImage.h"
#include "fleet/FleetRound.h"

namespace vktfleet {

inline constexpr size_t UnitIdDigits = 7;

class UnitIds {
public:
    // "1001" numbers the radios from 0001001 on; anything else names a text
    // file of IDs, one a line. Nothing, and why, when it will not do.
    static std::optional<UnitIds> Of(const std::string& option, std::string& problem);

    size_t left() const;
    // The next radio's ID, seven digits: "0001001".
    std::string next();
    // Each cable's copy is given its radio's ID (`--unit-ids 0001001`);
    // false, and why, when fewer are left than there are cables.
    bool give(std::vector<FleetCable>& cables, std::string& why);
    // "3 radios but only 2 unit IDs left in ids.txt"
    std::string tooFew(size_t radios) const;

private:
    std::vector<std::string> list_;  // empty when numbered
    size_t start_ = 0, used_ = 0;
    std::string file_;
};

// The ID into every group of image.
void GiveUnitId(VKTCore::Image& image, const std::string& id);
// Every group of image takes the ID that group holds in radio.
void KeepUnitIds(VKTCore::Image& image, const VKTCore::Image& radio);
// The IDs the groups hold, each once in group order: "0001001", "0001001/0000000".
std::string UnitIdsOf(const VKTCore::Image& image);

} // namespace vktfleet
