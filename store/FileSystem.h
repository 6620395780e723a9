// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calls the program's files make of the operating system, one each, so
// that each system has its half in a file of its own (FileSystemPosix.cpp,
// FileSystemWindows.cpp) and a test can put a recorder in between where a
// result alone cannot show a fault: a file not synced before its rename, a
// link followed on an open. A call that fails returns false or -1 and leaves
// the reason in errno. Paths and names are UTF-8 on every system; a
// descriptor is the system's own (a handle on Windows). Every file is read
// and written byte for byte, never as text.

#include <cstddef>
#include <string>
#include <vector>

namespace vktstore {

// What a status call tells; the mode holds the type and permission bits as
// POSIX numbers them.
struct FileInfo {
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
    unsigned links = 1;
    long long modified = 0;  // seconds since 1970
    long long size = 0;

    unsigned type() const { return mode & 0170000; }
    bool regular() const { return type() == 0100000; }
    bool folder() const { return type() == 0040000; }
    bool link() const { return type() == 0120000; }
    bool fifo() const { return type() == 0010000; }
    bool device() const { return type() == 0020000 || type() == 0060000; }
    bool socket() const { return type() == 0140000; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What the path itself is, a link not followed.
    virtual bool pathInfo(const std::string& path, FileInfo& info) = 0;
    // A folder held open, so that its entries are named relative to it.
    virtual int openFolder(const std::string& path) = 0;
    virtual bool entryInfo(int folder, const std::string& name, FileInfo& info) = 0;
    virtual std::vector<std::string> entries(int folder) = 0;
    virtual bool removeEntry(int folder, const std::string& name) = 0;
    // A new file under a name nobody holds, never through a link, readable
    // by its owner alone.
    virtual int createExclusive(int folder, const std::string& name) = 0;
    // An entry opened for reading, never through a link nor waiting.
    virtual int openEntry(int folder, const std::string& name) = 0;
    // The longest name an entry of the folder may have, in bytes.
    virtual size_t longestName(int folder) = 0;
    // An advisory lock on the whole file, without waiting; false when
    // another holds it.
    virtual bool lock(int fd) = 0;
    virtual bool writeAll(int fd, const char* data, size_t size) = 0;
    virtual bool setOwner(int fd, unsigned owner, unsigned group) = 0;
    virtual bool setMode(int fd, unsigned mode) = 0;
    // The contents reach the disk.
    virtual bool sync(int fd) = 0;
    virtual bool close(int fd) = 0;
    virtual bool rename(int folder, const std::string& from, const std::string& to) = 0;
    // A log opened for appending (created with the mode, less the umask),
    // never through a link and never waiting on a FIFO; info tells what was
    // opened.
    virtual int openAppend(const std::string& path, unsigned mode, FileInfo& info) = 0;
    // The permission bits a new file leaves out.
    virtual unsigned creationMask() = 0;
    // A file opened for reading, through a link, never waiting on a FIFO;
    // info tells what was opened.
    virtual int openRead(const std::string& path, FileInfo& info) = 0;
    // Up to size bytes; how many (0 at the end), or -1.
    virtual long long read(int fd, char* data, size_t size) = 0;
    // A file of rows opened for appending, through a link, never waiting on
    // a FIFO, created with the mode (less the umask) when missing. It is
    // locked against others opening it so until it is closed, and info tells
    // what it is then, so that only one of them finds it new and empty.
    virtual int openRows(const std::string& path, unsigned mode, FileInfo& info) = 0;
    // The text in one write at the end of the file.
    virtual bool appendWhole(int fd, const char* data, size_t size) = 0;
    // The program that holds the file so that it cannot be opened (EBUSY),
    // as the system names it; "" when the system cannot tell.
    virtual std::string holderOf(const std::string& path) = 0;
};

// The operating system's own, defined in the half CMake picks.
class SystemFileSystem : public FileSystem {
public:
    bool pathInfo(const std::string& path, FileInfo& info) override;
    int openFolder(const std::string& path) override;
    bool entryInfo(int folder, const std::string& name, FileInfo& info) override;
    std::vector<std::string> entries(int folder) override;
    bool removeEntry(int folder, const std::string& name) override;
    int createExclusive(int folder, const std::string& name) override;
    int openEntry(int folder, const std::string& name) override;
    size_t longestName(int folder) override;
    bool lock(int fd) override;
    bool writeAll(int fd, const char* data, size_t size) override;
    bool setOwner(int fd, unsigned owner, unsigned group) override;
    bool setMode(int fd, unsigned mode) override;
    bool sync(int fd) override;
    bool close(int fd) override;
    bool rename(int folder, const std::string& from, const std::string& to) override;
    int openAppend(const std::string& path, unsigned mode, FileInfo& info) override;
    unsigned creationMask() override;
    int openRead(const std::string& path, FileInfo& info) override;
    long long read(int fd, char* data, size_t size) override;
    int openRows(const std::string& path, unsigned mode, FileInfo& info) override;
    bool appendWhole(int fd, const char* data, size_t size) override;
    std::string holderOf(const std::string& path) override;
};

// The one the writer uses: the system's, unless a test put another in
// place for as long as it holds this.
FileSystem& Files();
class UseFileSystem {
public:
    explicit UseFileSystem(FileSystem& files);
    ~UseFileSystem();
    UseFileSystem(const UseFileSystem&) = delete;
    UseFileSystem& operator=(const UseFileSystem&) = delete;

private:
    FileSystem* previous_;
};

} // namespace vktstore
