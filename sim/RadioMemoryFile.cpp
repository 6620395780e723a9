// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RadioMemoryFile.h"

#include <algorithm>

#include "store/FileReader.h"
#include "store/FileWriter.h"

namespace vktsim {

bool RadioMemoryFile::load(Eeprom& eeprom, std::string& why) {
    saved_ = eeprom;
    known_ = true;
    if (path_.empty()) return true;
    constexpr size_t SetupFileSize = 6019;
    const std::string sizes = "neither a radio's memory (6016) nor a setup file (6019)";
    std::vector<uint8_t> bytes;
    vktstore::FileError error;
    if (!vktstore::ReadFileBytes(path_, eeprom.size(), SetupFileSize, bytes, error, sizes)) {
        if (error.number == vktstore::FileNotFound) return true;  // a new radio, as it is
        why = error.description;
        return false;
    }
    if (bytes.size() != eeprom.size() && bytes.size() != SetupFileSize) {
        why = path_ + " holds " + std::to_string(bytes.size()) + " bytes: " + sizes;
        return false;
    }
    std::copy_n(bytes.begin(), eeprom.size(), eeprom.begin());
    trailer_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(eeprom.size()), bytes.end());
    saved_ = eeprom;
    return true;
}

bool RadioMemoryFile::save(const Eeprom& eeprom) {
    if (path_.empty() || (known_ && eeprom == saved_)) return true;
    std::vector<uint8_t> bytes(eeprom.begin(), eeprom.end());
    bytes.insert(bytes.end(), trailer_.begin(), trailer_.end());
    vktstore::FileError error;
    if (!vktstore::WriteFileReplacing(path_, bytes, error, links_)) return false;
    saved_ = eeprom;
    known_ = true;
    return true;
}

} // namespace vktsim
