#pragma once
// Reading and writing the bytes of a setup file. A save never loses the file
// that was there: the new bytes go to a temporary file beside it, which then
// takes its place. Failures carry the error number the program reports and
// the system's reason.

#include <cstdint>
#include <string>
#include <vector>

namespace vktstore {

struct FileError {
    int number = 0;           // 53 file not found, 61 disk full, 62 short file, 75 access, 76 path not found ...
    std::string description;  // the system's reason, with the path
};

// Replaces the file's contents with bytes; on failure the old file is as it was.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes, FileError& error);
// Reads up to maxBytes; fails when the file holds fewer than minBytes.
bool ReadFileBytes(const std::string& path, size_t minBytes, size_t maxBytes, std::vector<uint8_t>& bytes, FileError& error);

} // namespace vktstore
