// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "core/MemoryImage.h"
#include "store/FileSystem.h"
#include "store/Paths.h"

namespace vktstore {

namespace {

// Opens a regular file for reading, or says why not. Opening does not wait
// for a FIFO's writer; what was opened is checked, not what the name showed.
int OpenRegular(const std::string& path, FileError& error, long long* size = nullptr) {
    FileInfo info;
    const int fd = Files().openRead(path, info);
    if (fd < 0) {
        error = ErrorOf(errno, path, true);
        return -1;
    }
    if (!info.regular()) {
        error = info.folder() ? ErrorOf(EISDIR, path, true) : NotARegularFile(path, info.mode);
        Files().close(fd);
        return -1;
    }
    if (size) *size = info.size;
    return fd;
}

// Reads until limit bytes or the end; the count, or -1 with errno set.
long long ReadUpTo(int fd, char* data, size_t limit) {
    size_t got = 0;
    while (got < limit) {
        const long long n = Files().read(fd, data + got, limit - got);
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return static_cast<long long>(got);
}

std::string SizeText(size_t bytes) {
    if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

bool ReadFileBytes(const std::string& path, size_t minBytes, size_t maxBytes, std::vector<uint8_t>& bytes, FileError& error,
                   const std::string& sizes) {
    long long size = 0;
    const int fd = OpenRegular(path, error, &size);
    if (fd < 0) return false;
    // One byte more than allowed tells a file that is too large.
    bytes.assign(maxBytes + 1, 0);
    const long long n = ReadUpTo(fd, reinterpret_cast<char*>(bytes.data()), maxBytes + 1);
    const int readErrno = errno;
    Files().close(fd);
    if (n < 0) {
        error = ErrorOf(readErrno, path, true);
        return false;
    }
    const auto got = static_cast<size_t>(n);
    if (got < minBytes || got > maxBytes) {
        // A file that grew while it was read says what it held then.
        const size_t holds = got > maxBytes ? std::max(got, static_cast<size_t>(size)) : got;
        error = {got < minBytes ? 62 : 59, path + " holds " + std::to_string(holds) + " bytes: " + sizes};
        return false;
    }
    bytes.resize(got);
    return true;
}

bool ReadSetupBytes(const std::string& path, std::vector<uint8_t>& bytes, FileError& error) {
    return ReadFileBytes(path, VKTCore::RadioMemorySize, VKTCore::ImageSize, bytes, error,
                         "a setup file holds " + std::to_string(VKTCore::RadioMemorySize) + " to " + std::to_string(VKTCore::ImageSize));
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(PathOf(a), PathOf(b), ec);
}

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& text, FileError& error) {
    const int fd = OpenRegular(path, error);
    if (fd < 0) return false;
    // One byte more than allowed tells a file that is too large.
    text.assign(maxBytes + 1, '\0');
    const long long n = ReadUpTo(fd, text.data(), maxBytes + 1);
    const int readErrno = errno;
    Files().close(fd);
    if (n < 0) {
        error = ErrorOf(readErrno, path, true);
        return false;
    }
    if (static_cast<size_t>(n) > maxBytes) {
        error = Refusal(path, "is larger than " + SizeText(maxBytes));
        return false;
    }
    text.resize(static_cast<size_t>(n));
    return true;
}

} // namespace vktstore
