// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file an emulated radio keeps its EEPROM in between runs: a radio's
// memory (6016 bytes) or a setup file (6019), whose last three bytes are
// kept as they are.

#include <string>
#include <vector>

#include "sim/RadioModel.h"
#include "store/FileWriter.h"

namespace vktsim {

class RadioMemoryFile {
public:
    // path: "" for no file at all. links: what a link at path means, as
    // for any file written (a path the user chose is written through).
    RadioMemoryFile(std::string path, vktstore::Links links) : path_(std::move(path)), links_(links) {}
    // Reads the file into eeprom; no file leaves eeprom as it is (a new
    // radio). False with why when the file is neither size.
    bool load(Eeprom& eeprom, std::string& why);
    // Writes eeprom when it changed since it was read or last written.
    bool save(const Eeprom& eeprom);

private:
    std::string path_;
    vktstore::Links links_;
    Eeprom saved_{};
    bool known_ = false;         // saved_ holds what the file holds
    std::vector<char> trailer_;  // a setup file's bytes after the EEPROM
};

} // namespace vktsim
