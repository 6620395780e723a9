// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX half of the file system the safe writer uses.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/FileSystem.h"

namespace vktstore {

namespace {

FileInfo InfoOf(const struct stat& st) {
    return {.mode = st.st_mode,
            .owner = st.st_uid,
            .group = st.st_gid,
            .links = static_cast<unsigned>(st.st_nlink),
            .modified = static_cast<long long>(st.st_mtime),
            .size = static_cast<long long>(st.st_size)};
}

} // namespace

bool SystemFileSystem::pathInfo(const std::string& path, FileInfo& info) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    info = InfoOf(st);
    return true;
}

int SystemFileSystem::openFolder(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

bool SystemFileSystem::entryInfo(int folder, const std::string& name, FileInfo& info) {
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    info = InfoOf(st);
    return true;
}

std::vector<std::string> SystemFileSystem::entries(int folder) {
    std::vector<std::string> names;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return names;
    DIR* d = ::fdopendir(listing);
    if (!d) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(d)) names.emplace_back(entry->d_name);
    ::closedir(d);
    return names;
}

// Unlinking never follows a link.
bool SystemFileSystem::removeEntry(int folder, const std::string& name) { return ::unlinkat(folder, name.c_str(), 0) == 0; }

int SystemFileSystem::createExclusive(int folder, const std::string& name) {
    return ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int SystemFileSystem::openEntry(int folder, const std::string& name) {
    return ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

size_t SystemFileSystem::longestName(int folder) {
    const long longest = ::fpathconf(folder, _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : 255;
}

bool SystemFileSystem::lock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool SystemFileSystem::writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool SystemFileSystem::setOwner(int fd, unsigned owner, unsigned group) { return ::fchown(fd, owner, group) == 0; }
bool SystemFileSystem::setMode(int fd, unsigned mode) { return ::fchmod(fd, mode) == 0; }
bool SystemFileSystem::sync(int fd) { return ::fsync(fd) == 0; }
bool SystemFileSystem::close(int fd) { return ::close(fd) == 0; }

bool SystemFileSystem::rename(int folder, const std::string& from, const std::string& to) {
    return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0;
}

namespace {
// What was opened, or -1 with it closed. Once it is known to be a file, its
// reads and writes may wait as usual.
int Opened(int fd, FileInfo& info) {
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return -1;
    }
    info = InfoOf(st);
    if (info.regular()) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
} // namespace

int SystemFileSystem::openAppend(const std::string& path, unsigned mode, FileInfo& info) {
    return Opened(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, mode), info);
}

unsigned SystemFileSystem::creationMask() {
    // The umask can only be read by setting it; the program has one thread.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

int SystemFileSystem::openRead(const std::string& path, FileInfo& info) {
    return Opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC), info);
}

long long SystemFileSystem::read(int fd, char* data, size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

int SystemFileSystem::openRows(const std::string& path, unsigned mode, FileInfo& info) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, mode);
    while (fd >= 0 && ::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int e = errno;
        ::close(fd);
        errno = e;
        return -1;
    }
    return Opened(fd, info);
}

// O_APPEND puts each write whole at the end.
bool SystemFileSystem::appendWhole(int fd, const char* data, size_t size) {
    return ::write(fd, data, size) == static_cast<ssize_t>(size);
}

// Locks here are advisory: no other program's open keeps a file from this one.
std::string SystemFileSystem::holderOf(const std::string&) { return ""; }

} // namespace vktstore
