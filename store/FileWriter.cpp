// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/FileWriter.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <random>
#include <utility>
#include <vector>

#include "store/FileSystem.h"
#include "store/Paths.h"

namespace vktstore {

namespace fs = std::filesystem;

namespace {

FileSystem* current = nullptr;

// Closes its descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) Files().close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, for the caller to see the error a full disk may give here.
    bool close() { return Files().close(std::exchange(fd_, -1)); }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

constexpr const char* TempMark = ".saving";

// "-k3X9aQ", from the system's source of random numbers.
std::string RandomTag() {
    static constexpr char Chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string tag = "-";
    for (int i = 0; i < 6; ++i) tag += Chars[random() % (sizeof Chars - 1)];
    return tag;
}

bool AllOf(const std::string& s, size_t from, int (*test)(int)) {
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(from), s.end(),
                       [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}

// "NAME.saving-XXXXXX" adds this much to the target's name.
constexpr size_t TempAddsChars = 14;

// The part of the target's name its temporary files start with: the whole
// name, or as much of it as leaves room for the mark and the tag within the
// longest name the folder takes, cut between two characters.
std::string TempStem(const std::string& name, int folder) {
    const size_t limit = Files().longestName(folder);
    if (name.size() + TempAddsChars <= limit) return name;
    size_t cut = limit > TempAddsChars ? limit - TempAddsChars : 1;
    while (cut > 1 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

// The temporary files of a target: STEM.saving-XXXXXX, the only names a
// save makes; any other name is the user's (a "radio.vkt.saving2024").
bool IsTemporaryOf(const std::string& entry, const std::string& stem) {
    const std::string prefix = stem + TempMark;
    if (entry.size() != prefix.size() + 7 || entry.compare(0, prefix.size(), prefix) != 0) return false;
    return entry[prefix.size()] == '-' && AllOf(entry, prefix.size() + 1, isalnum);
}

// A save holds a lock on its temporary file from just after creating it to
// the rename; a file younger than this may be one whose lock is yet to come.
constexpr long long InUseSeconds = 60;

// Whether a temporary file is one that no save is writing any more.
bool Abandoned(int dir, const std::string& leftover, const FileInfo& info) {
    if (static_cast<long long>(std::time(nullptr)) - info.modified < InUseSeconds) return false;
    const Descriptor file(Files().openEntry(dir, leftover));
    return file.get() >= 0 && Files().lock(file.get());
}

// What a save killed half-way left beside the target; a save in progress
// (another copy of the program, say) keeps its file. Only the names go:
// removing never follows a link, and what is no regular file was planted,
// for no save makes one.
void RemoveLeftovers(int dir, const std::string& stem) {
    for (const std::string& entry : Files().entries(dir)) {
        FileInfo info;
        if (!IsTemporaryOf(entry, stem) || !Files().entryInfo(dir, entry, info) || info.folder()) continue;
        if (!info.regular() || Abandoned(dir, entry, info)) Files().removeEntry(dir, entry);
    }
}

unsigned NewFileMode() { return 0644 & ~Files().creationMask(); }

// The folder and name of the file a path stands for.
struct Target {
    std::string folder;
    std::string name;
};

bool Resolve(const std::string& path, Links links, Target& target, FileError& error) {
    fs::path p = PathOf(path);
    FileInfo info;
    if (links == Links::WriteThrough && Files().pathInfo(path, info) && info.link()) {
        std::error_code ec;
        const fs::path real = fs::canonical(p, ec);
        if (ec) {
            if (ec.value() == ENOENT) error = Refusal(path, "is a link to " + Utf8Of(fs::read_symlink(p, ec)) + ", which does not exist");
            else error = ErrorOf(ec.value(), path, false);
            return false;
        }
        p = real;
    }
    target.folder = p.has_parent_path() ? Utf8Of(p.parent_path()) : ".";
    target.name = Utf8Of(p.filename());
    if (target.name.empty() || target.name == "." || target.name == "..") {
        error = ErrorOf(EISDIR, path, false);
        return false;
    }
    return true;
}

} // namespace

FileSystem& Files() {
    static SystemFileSystem system;
    return current ? *current : system;
}

UseFileSystem::UseFileSystem(FileSystem& files) : previous_(std::exchange(current, &files)) {}
UseFileSystem::~UseFileSystem() { current = previous_; }

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, FileError& error, Links links) {
    Target target;
    if (!Resolve(path, links, target, error)) return false;
    FileSystem& files = Files();
    // Everything below names the file relative to its folder, so that a
    // folder swapped on the way cannot redirect the save.
    const Descriptor folder(files.openFolder(target.folder));
    if (folder.get() < 0) {
        error = ErrorOf(errno, path, false);
        return false;
    }
    const std::string& name = target.name;
    FileInfo old;
    bool exists = files.entryInfo(folder.get(), name, old);
    if (!exists && errno != ENOENT) {
        error = ErrorOf(errno, path, false);
        return false;
    }
    // A link here is replaced by the file, never written through.
    if (exists && old.link()) exists = false;
    if (exists && old.folder()) {
        error = ErrorOf(EISDIR, path, false);
        return false;
    }
    if (exists && !old.regular()) {
        error = NotARegularFile(path, old.mode);
        return false;
    }
    // A read-only file stays as it is, whoever asks (root included).
    if (exists && (old.mode & 0222) == 0) {
        error = ErrorOf(EACCES, path, false);
        return false;
    }
    const std::string stem = TempStem(target.name, folder.get());
    RemoveLeftovers(folder.get(), stem);

    std::string temp;
    Descriptor file;
    for (int attempt = 0; file.get() < 0; ++attempt) {
        temp = stem + TempMark + RandomTag();
        file = Descriptor(files.createExclusive(folder.get(), temp));
        if (file.get() < 0 && (errno != EEXIST || attempt == 100)) {
            error = ErrorOf(errno, path, false);
            return false;
        }
    }
    // Tells a save beside this one that the file is being written.
    files.lock(file.get());
    const auto fail = [&](int e) {
        files.removeEntry(folder.get(), temp);
        error = ErrorOf(e, path, false);
        return false;
    };
    if (!files.writeAll(file.get(), reinterpret_cast<const char*>(bytes.data()), bytes.size())) return fail(errno);
    // Root saving someone's file leaves it theirs; for anyone else this
    // changes nothing or fails harmlessly.
    if (exists) files.setOwner(file.get(), old.owner, old.group);
    if (!files.setMode(file.get(), exists ? old.mode & 0777 : NewFileMode())) return fail(errno);
    if (!files.sync(file.get())) return fail(errno);
    if (!file.close()) return fail(errno);
    if (!files.rename(folder.get(), temp, name)) return fail(errno);
    // The new name itself must survive a power cut.
    files.sync(folder.get());
    return true;
}

bool WriteFileReplacing(const std::string& path, std::string_view text, FileError& error, Links links) {
    return WriteFileReplacing(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error, links);
}

class LogFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd) { setp(data_, data_ + sizeof data_); }

protected:
    int overflow(int c) override {
        if (sync() != 0) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        const bool written = Files().writeAll(fd_, pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(data_, data_ + sizeof data_);
        return written ? 0 : -1;
    }

private:
    int fd_;
    char data_[4096];
};

std::unique_ptr<LogFile> LogFile::open(const std::string& path, FileError& error) {
    FileInfo info;
    if (Files().pathInfo(path, info) && !info.regular()) {
        error = NotARegularFile(path, info.mode);
        return nullptr;
    }
    Descriptor fd(Files().openAppend(path, 0644, info));
    if (fd.get() < 0) {
        error = ErrorOf(errno, path, false);
        return nullptr;
    }
    // What was opened is checked, not what the name showed a moment ago.
    if (!info.regular()) {
        error = NotARegularFile(path, info.mode);
        return nullptr;
    }
    if (info.links > 1) {
        error = Refusal(path, "has another name (a hard link), so it may be another file");
        return nullptr;
    }
    return std::unique_ptr<LogFile>(new LogFile(fd.release()));
}

LogFile::LogFile(int fd)
    : fd_(fd), buffer_(std::make_unique<Buffer>(fd)), stream_(std::make_unique<std::ostream>(buffer_.get())) {}

LogFile::~LogFile() {
    stream_->flush();
    Files().close(fd_);
}

} // namespace vktstore
