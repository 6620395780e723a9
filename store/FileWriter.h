// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program writes goes through here, so that no save can be
// turned against the user who runs it. A whole file goes to a temporary file
// beside its target, created exclusively under a fresh name nobody can guess
// and readable by its owner alone until it is complete; it is then flushed,
// synced and renamed over the target, so the old file stays whole until that
// moment. Only a regular file is ever replaced; a folder, a FIFO or a device
// is refused.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>

#include "store/FileError.h"

namespace vktstore {

// What a symbolic link at the target means.
enum class Links {
    // A path the user chose: a link to a regular file is written through to
    // that file (the link stays); a dangling link is refused.
    WriteThrough,
    // A file the program names itself in its own data folder: a link found
    // there was planted, and is replaced rather than followed.
    Replace,
};

// Replaces the file's contents with bytes; on failure the old file is as it
// was. The new file keeps the old one's mode and owner, or gets 0644 less
// the umask. A temporary file left beside the target by a save that was
// killed is removed once no save holds it and it is a minute old. A name too
// long to take the temporary file's additions has them on a shortened copy.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, FileError& error,
                        Links links = Links::WriteThrough);
bool WriteFileReplacing(const std::string& path, std::string_view text, FileError& error, Links links = Links::WriteThrough);

// A log the program adds lines to as they happen (the serial trace), which
// a rename cannot serve: it is opened for appending without following a
// link, created 0644 less the umask, and refused unless it is a regular file
// with no other name.
class LogFile {
public:
    static std::unique_ptr<LogFile> open(const std::string& path, FileError& error);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Each flush reaches the file.
    std::ostream& stream() { return *stream_; }

private:
    class Buffer;
    explicit LogFile(int fd);

    int fd_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

} // namespace vktstore
