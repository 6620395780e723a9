// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows half of the file system the program's files use. Every path
// reaches the system as UTF-16 (a UTF-8 name in a narrow call would be read
// in the local code page), every file is opened as bytes (no text mode, no
// end of file at a 0x1A), and a descriptor is the file's handle: Windows
// keeps handles within 32 bits so that processes of either width can share
// them, so one fits the interface's int.
#include <windows.h>
// After windows.h, which it needs.
#include <restartmanager.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "store/FileSystem.h"

namespace vktstore {

namespace {

// A failed call's reason, as the rest of the program reads it.
void SetErrno(DWORD error = ::GetLastError()) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: errno = ENOENT; break;
    case ERROR_DIRECTORY: errno = ENOTDIR; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: errno = EACCES; break;
    // Another program has it open and shares it not: in use, not forbidden.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: errno = EBUSY; break;
    case ERROR_WRITE_PROTECT: errno = EROFS; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
    case ERROR_TOO_MANY_OPEN_FILES: errno = EMFILE; break;
    case ERROR_FILENAME_EXCED_RANGE: errno = ENAMETOOLONG; break;
    case ERROR_CANT_RESOLVE_FILENAME: errno = ELOOP; break;
    case ERROR_INVALID_NAME: errno = EINVAL; break;
    default: errno = EIO; break;
    }
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// A path as the system takes it at any length: Windows refuses one of 260
// characters or more (a folder's of 248) unless it is given whole after
// \\?\, which takes it as it stands: absolute, with backslashes and no .
// or .. in it, as GetFullPathNameW makes it.
std::wstring Long(const std::wstring& path) {
    if (path.size() < 248 || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

std::wstring SystemPath(const std::string& utf8) { return Long(Wide(utf8)); }

std::string Utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string text(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.resize(static_cast<size_t>(n - 1));
    return text;
}

int Fd(HANDLE h) { return h == INVALID_HANDLE_VALUE ? -1 : static_cast<int>(reinterpret_cast<intptr_t>(h)); }
HANDLE Handle(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd)); }

// The folders held open, by handle, with their paths: Windows names an entry
// by its whole path, the folder's handle keeps the folder from being renamed
// or removed meanwhile.
std::mutex foldersMutex;
std::map<int, std::wstring>& Folders() {
    static std::map<int, std::wstring> folders;
    return folders;
}

std::wstring EntryPath(int folder, const std::string& name) {
    const std::lock_guard lock(foldersMutex);
    const auto it = Folders().find(folder);
    std::wstring path = it == Folders().end() ? std::wstring() : it->second;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return Long(path + Wide(name));
}

bool IsFolder(int fd) {
    const std::lock_guard lock(foldersMutex);
    return Folders().count(fd) != 0;
}

long long UnixSeconds(const FILETIME& t) {
    const unsigned long long ticks = (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<long long>(ticks / 10000000ULL) - 11644473600LL;  // from 1601 to 1970
}

// What an open handle is, in the POSIX numbers the interface uses: a link
// is a symbolic link or a junction; a read-only file has no write bits.
bool InfoOfHandle(HANDLE h, FileInfo& info) {
    switch (::GetFileType(h)) {
    case FILE_TYPE_CHAR: info = {.mode = 0020666}; return true;
    case FILE_TYPE_PIPE: info = {.mode = 0010666}; return true;
    case FILE_TYPE_DISK: break;
    default: SetErrno(); return false;
    }
    BY_HANDLE_FILE_INFORMATION about{};
    if (!::GetFileInformationByHandle(h, &about)) {
        SetErrno();
        return false;
    }
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const bool tagged = (about.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                        ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag);
    const bool link = tagged && (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT);
    const bool readOnly = (about.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    unsigned mode = link                                                    ? 0120777
                    : (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0040777
                                                                            : 0100666;
    if (readOnly && !link) mode &= ~0222u;
    info = {.mode = mode,
            .links = about.nNumberOfLinks,
            .modified = UnixSeconds(about.ftLastWriteTime),
            .size = static_cast<long long>((static_cast<unsigned long long>(about.nFileSizeHigh) << 32) | about.nFileSizeLow)};
    return true;
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens what the path names itself, a link included, for its attributes.
bool InfoOfPath(const std::wstring& path, FileInfo& info) {
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrno();
        return false;
    }
    const bool ok = InfoOfHandle(h, info);
    ::CloseHandle(h);
    return ok;
}

// The handle and what it is, or -1 with it closed.
int Opened(HANDLE h, FileInfo& info) {
    if (h == INVALID_HANDLE_VALUE) {
        SetErrno();
        return -1;
    }
    if (!InfoOfHandle(h, info)) {
        const int e = errno;
        ::CloseHandle(h);
        errno = e;
        return -1;
    }
    return Fd(h);
}

} // namespace

bool SystemFileSystem::pathInfo(const std::string& path, FileInfo& info) { return InfoOfPath(SystemPath(path), info); }

int SystemFileSystem::openFolder(const std::string& path) {
    const std::wstring wide = SystemPath(path);
    // Sharing delete too lets others rename and remove files in it, as on POSIX.
    const HANDLE h = ::CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrno();
        return -1;
    }
    FileInfo info;
    if (!InfoOfHandle(h, info) || !info.folder()) {
        if (info.type() != 0) errno = ENOTDIR;
        const int e = errno;
        ::CloseHandle(h);
        errno = e;
        return -1;
    }
    const std::lock_guard lock(foldersMutex);
    Folders()[Fd(h)] = wide;
    return Fd(h);
}

bool SystemFileSystem::entryInfo(int folder, const std::string& name, FileInfo& info) {
    return InfoOfPath(EntryPath(folder, name), info);
}

std::vector<std::string> SystemFileSystem::entries(int folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(EntryPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(Utf8(found.cFileName));
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// Deleting a link deletes the link, never what it points to; a link to a
// folder (or a junction) is removed as a folder is, and a folder itself is
// never removed, as unlinking one fails on POSIX.
bool SystemFileSystem::removeEntry(int folder, const std::string& name) {
    const std::wstring path = EntryPath(folder, name);
    if (::DeleteFileW(path.c_str())) return true;
    const DWORD error = ::GetLastError();
    FileInfo info;
    if (InfoOfPath(path, info) && info.link() && ::RemoveDirectoryW(path.c_str())) return true;
    SetErrno(error);
    return false;
}

// CREATE_NEW refuses any name that exists, a link to nowhere included, and
// never goes through a link.
int SystemFileSystem::createExclusive(int folder, const std::string& name) {
    const HANDLE h = ::CreateFileW(EntryPath(folder, name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) SetErrno();
    return Fd(h);
}

int SystemFileSystem::openEntry(int folder, const std::string& name) {
    const HANDLE h = ::CreateFileW(EntryPath(folder, name).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) SetErrno();
    return Fd(h);
}

// 255 UTF-16 units; a name of 255 UTF-8 bytes never has more.
size_t SystemFileSystem::longestName(int) { return 255; }

bool SystemFileSystem::lock(int fd) {
    OVERLAPPED whole{};
    if (::LockFileEx(Handle(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) return true;
    SetErrno();
    return false;
}

bool SystemFileSystem::writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(Handle(fd), data, chunk, &written, nullptr) || written == 0) {
            SetErrno();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// A file's owner is whoever made it; the temporary file takes its
// permissions from its folder, as any new file there.
bool SystemFileSystem::setOwner(int, unsigned, unsigned) { return true; }

// Only the read-only attribute stands for the permission bits, and the
// writer never replaces a read-only file.
bool SystemFileSystem::setMode(int fd, unsigned mode) {
    if ((mode & 0222) != 0) return true;
    FILE_BASIC_INFO basic{};
    if (::GetFileInformationByHandleEx(Handle(fd), FileBasicInfo, &basic, sizeof basic)) {
        basic.FileAttributes |= FILE_ATTRIBUTE_READONLY;
        if (::SetFileInformationByHandle(Handle(fd), FileBasicInfo, &basic, sizeof basic)) return true;
    }
    SetErrno();
    return false;
}

// A folder's entries reach the disk with the rename's write-through.
bool SystemFileSystem::sync(int fd) {
    if (IsFolder(fd) || ::FlushFileBuffers(Handle(fd))) return true;
    SetErrno();
    return false;
}

bool SystemFileSystem::close(int fd) {
    {
        const std::lock_guard lock(foldersMutex);
        Folders().erase(fd);
    }
    if (::CloseHandle(Handle(fd))) return true;
    SetErrno();
    return false;
}

// MoveFileEx replaces the target in one step; write-through returns only
// once the new name is on the disk. A virus scanner or the indexer may hold
// the target for a moment, which shows as a sharing violation (or as access
// denied while a deletion is pending): it is tried again a few times.
bool SystemFileSystem::rename(int folder, const std::string& from, const std::string& to) {
    const std::wstring source = EntryPath(folder, from), target = EntryPath(folder, to);
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD error = ::GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!held || attempt == 20) {
            SetErrno(error);
            return false;
        }
        ::Sleep(50);
    }
}

int SystemFileSystem::openAppend(const std::string& path, unsigned, FileInfo& info) {
    return Opened(::CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                  info);
}

unsigned SystemFileSystem::creationMask() { return 022; }

// Sharing write and delete, as a POSIX open does not stop others either.
int SystemFileSystem::openRead(const std::string& path, FileInfo& info) {
    return Opened(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                  info);
}

long long SystemFileSystem::read(int fd, char* data, size_t size) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (::ReadFile(Handle(fd), data, chunk, &got, nullptr)) return got;
    if (::GetLastError() == ERROR_BROKEN_PIPE) return 0;
    SetErrno();
    return -1;
}

// A handle with the right to append and not to write puts every write at
// the end of the file, as O_APPEND does; the lock (which needs the right to
// read as well) keeps the rows of other copies out until it is closed.
int SystemFileSystem::openRows(const std::string& path, unsigned, FileInfo& info) {
    const HANDLE h = ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE, ShareAll, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    // Waits in short steps: a row takes a moment to write, and Wine serves a
    // waiting lock only after a long while.
    while (h != INVALID_HANDLE_VALUE && ::GetFileType(h) == FILE_TYPE_DISK) {
        OVERLAPPED whole{};
        if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) break;
        if (::GetLastError() != ERROR_LOCK_VIOLATION && ::GetLastError() != ERROR_IO_PENDING) {
            SetErrno();
            const int e = errno;
            ::CloseHandle(h);
            errno = e;
            return -1;
        }
        ::Sleep(1);
    }
    return Opened(h, info);
}

bool SystemFileSystem::appendWhole(int fd, const char* data, size_t size) {
    DWORD written = 0;
    if (::WriteFile(Handle(fd), data, static_cast<DWORD>(size), &written, nullptr) && written == size) return true;
    SetErrno();
    return false;
}

// The Restart Manager knows which programs have a file open; it is asked in
// a session of its own that ends with the question.
std::string SystemFileSystem::holderOf(const std::string& path) {
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1]{};
    if (::RmStartSession(&session, 0, key) != ERROR_SUCCESS) return "";
    std::string holder;
    const std::wstring wide = Wide(path);
    LPCWSTR files[] = {wide.c_str()};
    UINT count = 4, needed = 0;
    RM_PROCESS_INFO programs[4]{};
    DWORD reasons = 0;
    if (::RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
        ::RmGetList(session, &needed, &count, programs, &reasons) == ERROR_SUCCESS)
        for (UINT i = 0; i < count && i < 4; ++i) {
            if (programs[i].Process.dwProcessId == ::GetCurrentProcessId()) continue;
            holder += (holder.empty() ? "" : ", ") + Utf8(programs[i].strAppName);
        }
    ::RmEndSession(session);
    return holder;
}

} // namespace vktstore
