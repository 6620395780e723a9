#include "store/FileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <random>
#include <utility>
#include <vector>

namespace vktstore {

namespace fs = std::filesystem;

namespace {

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
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, for the caller to see the error a full disk may give here.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }
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
    const long longest = ::fpathconf(folder, _PC_NAME_MAX);
    const size_t limit = longest > 0 ? static_cast<size_t>(longest) : 255;
    if (name.size() + TempAddsChars <= limit) return name;
    size_t cut = limit > TempAddsChars ? limit - TempAddsChars : 1;
    while (cut > 1 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

// The temporary files of a target: STEM.saving-XXXXXX, or STEM.savingN as
// earlier versions named them.
bool IsTemporaryOf(const std::string& entry, const std::string& stem) {
    const std::string prefix = stem + TempMark;
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return false;
    const size_t tag = prefix.size();
    if (AllOf(entry, tag, isdigit)) return true;
    return entry.size() == tag + 7 && entry[tag] == '-' && AllOf(entry, tag + 1, isalnum);
}

// A save holds a lock on its temporary file from just after creating it to
// the rename; a file younger than this may be one whose lock is yet to come.
constexpr time_t InUseSeconds = 60;

// Whether a temporary file is one that no save is writing any more.
bool Abandoned(int dir, const std::string& leftover, const struct stat& st) {
    if (::time(nullptr) - st.st_mtime < InUseSeconds) return false;
    const Descriptor file(::openat(dir, leftover.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    return file.get() >= 0 && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

// What a save killed half-way left beside the target; a save in progress
// (another copy of the program, say) keeps its file. Only the names go:
// unlinking never follows a link, and what is no regular file was planted,
// for no save makes one.
void RemoveLeftovers(int dir, const std::string& stem) {
    const int listing = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* d = ::fdopendir(listing);
    if (!d) {
        ::close(listing);
        return;
    }
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(d))
        if (IsTemporaryOf(entry->d_name, stem)) leftovers.emplace_back(entry->d_name);
    ::closedir(d);
    for (const std::string& leftover : leftovers) {
        struct stat st {};
        if (::fstatat(dir, leftover.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
        if (!S_ISREG(st.st_mode) || Abandoned(dir, leftover, st)) ::unlinkat(dir, leftover.c_str(), 0);
    }
}

mode_t NewFileMode() {
    // The umask can only be read by setting it; the program has one thread.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The folder and name of the file a path stands for.
struct Target {
    std::string folder;
    std::string name;
};

bool Resolve(const std::string& path, Links links, Target& target, FileError& error) {
    fs::path p(path);
    struct stat st {};
    if (links == Links::WriteThrough && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real) {
            const int e = errno;
            std::error_code ec;
            if (e == ENOENT) error = Refusal(path, "is a link to " + fs::read_symlink(p, ec).string() + ", which does not exist");
            else error = ErrorOf(e, path, false);
            return false;
        }
        p = real;
        std::free(real);
    }
    target.folder = p.has_parent_path() ? p.parent_path().string() : ".";
    target.name = p.filename().string();
    if (target.name.empty() || target.name == "." || target.name == "..") {
        error = ErrorOf(EISDIR, path, false);
        return false;
    }
    return true;
}

} // namespace

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, FileError& error, Links links) {
    Target target;
    if (!Resolve(path, links, target, error)) return false;
    // Everything below names the file relative to its folder, so that a
    // folder swapped on the way cannot redirect the save.
    const Descriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        error = ErrorOf(errno, path, false);
        return false;
    }
    const char* name = target.name.c_str();
    struct stat old {};
    bool exists = ::fstatat(folder.get(), name, &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        error = ErrorOf(errno, path, false);
        return false;
    }
    // A link here is replaced by the file, never written through.
    if (exists && S_ISLNK(old.st_mode)) exists = false;
    if (exists && S_ISDIR(old.st_mode)) {
        error = ErrorOf(EISDIR, path, false);
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        error = NotARegularFile(path, old.st_mode);
        return false;
    }
    // A read-only file stays as it is, whoever asks (root included).
    if (exists && (old.st_mode & 0222) == 0) {
        error = ErrorOf(EACCES, path, false);
        return false;
    }
    const std::string stem = TempStem(target.name, folder.get());
    RemoveLeftovers(folder.get(), stem);

    std::string temp;
    Descriptor file;
    for (int attempt = 0; file.get() < 0; ++attempt) {
        temp = stem + TempMark + RandomTag();
        file = Descriptor(::openat(folder.get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (file.get() < 0 && (errno != EEXIST || attempt == 100)) {
            error = ErrorOf(errno, path, false);
            return false;
        }
    }
    // Tells a save beside this one that the file is being written.
    ::flock(file.get(), LOCK_EX | LOCK_NB);
    const auto fail = [&](int e) {
        ::unlinkat(folder.get(), temp.c_str(), 0);
        error = ErrorOf(e, path, false);
        return false;
    };
    if (!WriteAll(file.get(), reinterpret_cast<const char*>(bytes.data()), bytes.size())) return fail(errno);
    // Root saving someone's file leaves it theirs; for anyone else this
    // changes nothing or fails harmlessly.
    if (exists) {
        [[maybe_unused]] const int owned = ::fchown(file.get(), old.st_uid, old.st_gid);
    }
    if (::fchmod(file.get(), exists ? old.st_mode & 0777 : NewFileMode()) != 0) return fail(errno);
    if (::fsync(file.get()) != 0) return fail(errno);
    if (!file.close()) return fail(errno);
    if (::renameat(folder.get(), temp.c_str(), folder.get(), name) != 0) return fail(errno);
    // The new name itself must survive a power cut.
    ::fsync(folder.get());
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
        const bool written = WriteAll(fd_, pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(data_, data_ + sizeof data_);
        return written ? 0 : -1;
    }

private:
    int fd_;
    char data_[4096];
};

std::unique_ptr<LogFile> LogFile::open(const std::string& path, FileError& error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = NotARegularFile(path, st.st_mode);
        return nullptr;
    }
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0644));
    if (fd.get() < 0) {
        error = ErrorOf(errno, path, false);
        return nullptr;
    }
    // What was opened is checked, not what the name showed a moment ago.
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = NotARegularFile(path, st.st_mode);
        return nullptr;
    }
    if (st.st_nlink > 1) {
        error = Refusal(path, "has another name (a hard link), so it may be another file");
        return nullptr;
    }
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return std::unique_ptr<LogFile>(new LogFile(fd.release()));
}

LogFile::LogFile(int fd)
    : fd_(fd), buffer_(std::make_unique<Buffer>(fd)), stream_(std::make_unique<std::ostream>(buffer_.get())) {}

LogFile::~LogFile() {
    stream_->flush();
    ::close(fd_);
}

} // namespace vktstore
