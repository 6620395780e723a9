// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which unit is on the cable. Every radio of a model answers the hook with
// the same identity bytes; what tells two of them apart is the calibration
// their alignment left in page 0, which differs from unit to unit.

#include <array>
#include <cstdint>
#include <string>

#include "core/MemoryImage.h"
#include "core/MemoryMap.h"

namespace VKTCom {

namespace detail {
constexpr size_t CalibrationBytes() {
    size_t n = 0;
    for (const auto& field : VKTCore::Page0::Alignment) n += static_cast<size_t>(field.size);
    return n;
}
} // namespace detail

// The page-0 addresses of the unit's calibration values, in memory order.
inline constexpr auto CalibrationAddresses = [] {
    std::array<int, detail::CalibrationBytes()> out{};
    size_t i = 0;
    for (const auto& field : VKTCore::Page0::Alignment)
        for (int k = 0; k < field.size; ++k) out[i++] = field.offset + k;
    return out;
}();

struct Fingerprint {
    std::array<uint8_t, 4> identity{};
    std::array<uint8_t, CalibrationAddresses.size()> calibration{};
    bool operator==(const Fingerprint&) const = default;
};

// The fingerprint of the radio that answered with identity and whose page 0
// is in image.
Fingerprint FingerprintOf(const std::array<uint8_t, 4>& identity, const VKTCore::Image& image);
// The identity and a short tag of the calibration, for telling units of one
// model apart on screen and in records: "2AAA0105 #3F9A".
std::string FingerprintTag(const Fingerprint& radio);

} // namespace VKTCom
