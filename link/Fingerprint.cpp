// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Fingerprint.h"

#include "core/Text.h"

namespace VKTCom {

Fingerprint FingerprintOf(const std::array<uint8_t, 4>& identity, const VKTCore::Image& image) {
    Fingerprint radio{identity, {}};
    for (size_t i = 0; i < CalibrationAddresses.size(); ++i) radio.calibration[i] = image[static_cast<size_t>(CalibrationAddresses[i])];
    return radio;
}

std::string FingerprintTag(const Fingerprint& radio) {
    // CRC-16/CCITT: every single changed calibration byte changes the tag.
    uint16_t crc = 0xFFFF;
    for (uint8_t b : radio.calibration) {
        crc ^= static_cast<uint16_t>(b << 8);
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return vkt::IdentityText(radio.identity) + " #" + vkt::Hex2(crc >> 8) + vkt::Hex2(crc & 0xFF);
}

} // namespace VKTCom
