// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/FileError.h"
#include "store/FileSystem.h"


#include <cerrno>
#include <cstring>

namespace vktstore {

namespace {

// The error numbers the program has always reported for these conditions.
int NumberOfErrno(int e, bool reading) {
    switch (e) {
    case ENOENT: return reading ? FileNotFound : 76;
    case ENOTDIR: return 76;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:
    case ETXTBSY:
    case EBUSY: return 75;
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

const char* KindOfFile(unsigned mode) {
    const FileInfo info{.mode = mode};
    if (info.folder()) return "a folder";
    if (info.fifo()) return "a FIFO";
    if (info.device()) return "a device";
    if (info.socket()) return "a socket";
    if (info.link()) return "a link";
    return nullptr;
}

} // namespace

FileError ErrorOf(int e, const std::string& path, bool reading) {
    if (e == EBUSY) {
        const std::string holder = Files().holderOf(path);
        return {NumberOfErrno(e, reading), "In use by another program" + (holder.empty() ? "" : " (" + holder + ")") + ": " + path};
    }
    return {NumberOfErrno(e, reading), std::string(std::strerror(e)) + ": " + path};
}

FileError Refusal(const std::string& path, const std::string& why) { return {75, path + " " + why}; }

FileError NotARegularFile(const std::string& path, unsigned mode) {
    const char* kind = KindOfFile(mode);
    return Refusal(path, kind ? std::string("is ") + kind + ", not a regular file" : "is not a regular file");
}

} // namespace vktstore
