// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the files the program is given: setup files, CSV and the setup a
// report is printed from. Only a regular file is read; a folder, a FIFO or a
// device is refused at once instead of blocking or reading forever.

#include <cstdint>
#include <string>
#include <vector>

#include "store/FileError.h"

namespace vktstore {

// Reads a file of minBytes to maxBytes. A file of any other size is refused
// with the size it really holds and `sizes`, what the caller takes ("a
// setup file holds 6016 to 6019"): a longer file is some other file.
bool ReadFileBytes(const std::string& path, size_t minBytes, size_t maxBytes, std::vector<uint8_t>& bytes, FileError& error,
                   const std::string& sizes);
// A setup file: the radio's 6016 bytes, up to the image's 6019.
bool ReadSetupBytes(const std::string& path, std::vector<uint8_t>& bytes, FileError& error);
// Whether both paths name one existing file, by whatever names or links.
bool SameFile(const std::string& a, const std::string& b);
// Reads the whole file; fails when it holds more than maxBytes.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& text, FileError& error);

} // namespace vktstore
