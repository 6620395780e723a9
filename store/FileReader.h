#pragma once
// Reading the files the program is given: setup files, CSV and the setup a
// report is printed from. Only a regular file is read; a folder, a FIFO or a
// device is refused at once instead of blocking or reading forever.

#include <cstdint>
#include <string>
#include <vector>

#include "store/FileError.h"

namespace vktstore {

// Reads up to maxBytes; fails when the file holds fewer than minBytes.
bool ReadFileBytes(const std::string& path, size_t minBytes, size_t maxBytes, std::vector<uint8_t>& bytes, FileError& error);
// Reads the whole file; fails when it holds more than maxBytes.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& text, FileError& error);

} // namespace vktstore
