// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file could not be read or written: the error number the program
// reports for the condition and the reason, with the path.

#include <string>

namespace vktstore {

inline constexpr int FileNotFound = 53;

struct FileError {
    int number = 0;           // 53 file not found, 59 file too long, 61 disk full, 62 short file, 75 access, 76 path not found ...
    std::string description;  // the reason, then the path
};

// The failure of a system call that set errno e.
FileError ErrorOf(int e, const std::string& path, bool reading);
// A file the program will not touch, and why ("has another name").
FileError Refusal(const std::string& path, const std::string& why);
// A file of a type the program neither reads nor writes, named as what it is
// ("is a FIFO, not a regular file").
FileError NotARegularFile(const std::string& path, unsigned mode);

} // namespace vktstore
