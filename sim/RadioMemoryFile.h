// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file an emulated radio keeps its EEPROM in between runs: a radio's
// memory (6016 bytes) or a setup file (6019), whose last three bytes are
// kept as they are.

#include <string>
#include <vector>

#include "sim/RadioModel.h"

namespace vktsim {

class RadioMemoryFile {
public:
    // path: "" for no file at all.
    explicit RadioMemoryFile(std::string path) : path_(std::move(path)) {}
    // Reads the file into eeprom; no file leaves eeprom as it is (a new
    // radio). False with why when the file is neither size.
    bool load(Eeprom& eeprom, std::string& why);
    // Writes eeprom when it changed since it was read or last written.
    bool save(const Eeprom& eeprom);

private:
    std::string path_;
    Eeprom saved_{};
    bool known_ = false;         // saved_ holds what the file holds
    std::vector<char> trailer_;  // a setup file's bytes after the EEPROM
};

} // namespace vktsim
