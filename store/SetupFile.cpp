#include "store/SetupFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vktstore {

namespace fs = std::filesystem;

namespace {

// The error numbers the program has always reported for these conditions.
int NumberOfErrno(int e, bool reading) {
    switch (e) {
    case ENOENT: return reading ? 53 : 76;
    case ENOTDIR: return 76;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return 75;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return 61;
    case EMFILE:
    case ENFILE: return 67;
    default: return 57;
    }
}

FileError ErrorOf(int e, const std::string& path, bool reading) {
    return {NumberOfErrno(e, reading), std::string(std::strerror(e)) + ": " + path};
}

bool Flush(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifndef _WIN32
    if (::fsync(fileno(f)) != 0) return false;
#endif
    return true;
}

} // namespace

bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes, FileError& error) {
    std::error_code ec;
    fs::path target = fs::path(path);
    if (fs::is_symlink(target, ec)) target = fs::canonical(target, ec);
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        error = ErrorOf(EISDIR, path, false);
        return false;
    }
    const bool exists = fs::exists(status);
    // A read-only file stays as it is, whoever asks (root included).
    if (exists && (status.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
                      fs::perms::none) {
        error = ErrorOf(EACCES, path, false);
        return false;
    }
    fs::path temp;
    for (int i = 0;; ++i) {
        temp = target;
        temp += ".saving" + std::to_string(i);
        if (!fs::exists(temp, ec)) break;
    }
    std::FILE* f = std::fopen(temp.string().c_str(), "wb");
    if (!f) {
        error = ErrorOf(errno, path, false);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && Flush(f);
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        error = ErrorOf(written ? errno : writeErrno, path, false);
        fs::remove(temp, ec);
        return false;
    }
    if (exists) fs::permissions(temp, status.permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        error = ErrorOf(ec.value(), path, false);
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool ReadFileBytes(const std::string& path, size_t minBytes, size_t maxBytes, std::vector<uint8_t>& bytes, FileError& error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = ErrorOf(EISDIR, path, true);
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = ErrorOf(errno, path, true);
        return false;
    }
    bytes.assign(maxBytes, 0);
    const size_t n = std::fread(bytes.data(), 1, maxBytes, f);
    const bool failed = std::ferror(f) != 0;
    const int readErrno = errno;
    std::fclose(f);
    if (failed) {
        error = ErrorOf(readErrno, path, true);
        return false;
    }
    if (n < minBytes) {
        error = {62, "Input past end of file: " + path + " holds " + std::to_string(n) + " bytes, a setup needs " +
                         std::to_string(minBytes)};
        return false;
    }
    bytes.resize(n);
    return true;
}

} // namespace vktstore
