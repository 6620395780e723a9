// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of file a read or a save may meet. The suite may run as root,
// so outcomes are judged by file types, modes and contents, never by access
// errors. The umask is a desktop's 002, under which 0644 and 0664 differ.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "store/FileReader.h"
#include "store/FileSystem.h"
#include "store/FileWriter.h"
#include "tests/store/StoreFixture.h"

using vktstore::FileError;
using vktstore::Links;

namespace {

// Passes each call on to the system, noting those whose order no result
// shows, and lets a test act between the check of a name and its open.
struct Recorder : vktstore::SystemFileSystem {
    std::vector<std::string> calls;
    std::function<void()> afterCheck;
    int written = -1;

    bool writeAll(int fd, const char* data, size_t size) override {
        calls.push_back("write");
        written = fd;
        return SystemFileSystem::writeAll(fd, data, size);
    }
    bool sync(int fd) override {
        calls.push_back(fd == written ? "sync the file" : "sync the folder");
        return SystemFileSystem::sync(fd);
    }
    bool rename(int folder, const std::string& from, const std::string& to) override {
        calls.push_back("rename");
        return SystemFileSystem::rename(folder, from, to);
    }
    bool pathInfo(const std::string& path, vktstore::FileInfo& info) override {
        const bool found = SystemFileSystem::pathInfo(path, info);
        if (afterCheck) afterCheck();
        return found;
    }
};

class FileWriterTest : public StoreTest {
protected:
    FileWriterTest() : umask_(::umask(002)) {}
    ~FileWriterTest() override { ::umask(umask_); }

    // The entry itself, a link not followed.
    struct stat info(const std::string& name) const {
        struct stat st {};
        ::lstat(path(name).c_str(), &st);
        return st;
    }
    bool save(const std::string& name, const std::string& text, Links links = Links::WriteThrough) {
        error = {};
        return vktstore::WriteFileReplacing(path(name), text, error, links);
    }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().find(".saving") != std::string::npos) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A temporary file a save killed two minutes ago left.
    void leftBehind(const std::string& name) const {
        writeBytes(name, "left by a killed save");
        std::filesystem::last_write_time(path(name), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
    }

    FileError error;
    const mode_t umask_;
};

} // namespace

TEST_F(FileWriterTest, ANewFileGetsTheUsualModeAndAnOldOneKeepsItsOwn) {
    ASSERT_TRUE(save("new.vkt", "new")) << error.description;
    EXPECT_TRUE(S_ISREG(info("new.vkt").st_mode));
    EXPECT_EQ(info("new.vkt").st_mode & 07777, 0644u);
    EXPECT_EQ(readBytes("new.vkt"), "new");

    writeBytes("old.vkt", "old contents, longer than the new");
    ::chmod(path("old.vkt").c_str(), 0640);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path("old.vkt").c_str(), 1234, 4321), 0);
    }
    ASSERT_TRUE(save("old.vkt", "replaced")) << error.description;
    EXPECT_EQ(readBytes("old.vkt"), "replaced");
    EXPECT_EQ(info("old.vkt").st_mode & 07777, 0640u);
    if (::geteuid() == 0) {  // root saving someone's file leaves it theirs
        EXPECT_EQ(info("old.vkt").st_uid, 1234u);
        EXPECT_EQ(info("old.vkt").st_gid, 4321u);
    }
    EXPECT_TRUE(leftovers().empty());
}

// Only a regular file is read or replaced; whatever else is there stays as
// it was, and a read is refused at once instead of blocking.
TEST_F(FileWriterTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    std::filesystem::create_directory(path("folder.vkt"));
    ASSERT_EQ(::mkfifo(path("fifo.vkt").c_str(), 0600), 0);
    writeBytes("readonly.vkt", "kept");
    ::chmod(path("readonly.vkt").c_str(), 0444);
    std::filesystem::create_directory(path("real-folder"));
    std::filesystem::create_symlink(path("real-folder"), path("folder-link.vkt"));
    struct Case { const char* name; unsigned type; const char* says; };
    std::vector<Case> cases = {
        {"folder.vkt", S_IFDIR, "Is a directory"},
        {"fifo.vkt", S_IFIFO, "fifo.vkt is a FIFO, not a regular file"},
        {"readonly.vkt", S_IFREG, "Permission denied"},
        {"folder-link.vkt", S_IFLNK, "Is a directory"},
    };
    // A device node can be made by root only (the suite's usual case in CI).
    if (::mknod(path("device.vkt").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        cases.push_back({"device.vkt", S_IFCHR, "device.vkt is a device, not a regular file"});
    for (const Case& c : cases) {
        EXPECT_FALSE(save(c.name, "new")) << c.name;
        EXPECT_EQ(error.number, 75) << c.name;
        EXPECT_NE(error.description.find(c.says), std::string::npos) << error.description;
        EXPECT_EQ(info(c.name).st_mode & S_IFMT, c.type) << c.name;
    }
    const std::pair<std::string, std::string> unread[] = {{path("folder.vkt"), "Is a directory: " + path("folder.vkt")},
                                                          {path("fifo.vkt"), path("fifo.vkt") + " is a FIFO, not a regular file"},
                                                          {"/dev/null", "/dev/null is a device, not a regular file"}};
    for (const auto& [file, says] : unread) {
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(vktstore::ReadSetupBytes(file, bytes, error)) << file;
        EXPECT_EQ(error.number, 75) << file;
        std::string text;
        EXPECT_FALSE(vktstore::ReadWholeFile(file, 1024, text, error)) << file;
        EXPECT_EQ(error.description, says);
    }
    EXPECT_EQ(readBytes("readonly.vkt"), "kept");
    EXPECT_TRUE(std::filesystem::is_empty(path("real-folder")));
    EXPECT_TRUE(leftovers().empty());
}

// A link the user chose is read and written through; a dangling one is
// refused. A file the program names in its own folder replaces a link
// planted there, never following it.
TEST_F(FileWriterTest, ALinkTheUserChoseIsFollowedAPlantedOneReplaced) {
    writeBytes("real.vkt", std::string(6019, 'o'));
    ::chmod(path("real.vkt").c_str(), 0600);
    std::filesystem::create_symlink("real.vkt", path("link.vkt"));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(vktstore::ReadSetupBytes(path("link.vkt"), bytes, error)) << error.description;
    EXPECT_EQ(bytes, std::vector<uint8_t>(6019, 'o'));
    ASSERT_TRUE(save("link.vkt", "through")) << error.description;
    EXPECT_TRUE(S_ISLNK(info("link.vkt").st_mode));
    EXPECT_EQ(readBytes("real.vkt"), "through");
    EXPECT_EQ(info("real.vkt").st_mode & 07777, 0600u);

    std::filesystem::create_symlink(path("gone.vkt"), path("dangling.vkt"));
    EXPECT_FALSE(save("dangling.vkt", "x"));
    EXPECT_EQ(error.description, path("dangling.vkt") + " is a link to " + path("gone.vkt") + ", which does not exist");
    EXPECT_TRUE(S_ISLNK(info("dangling.vkt").st_mode));
    EXPECT_FALSE(std::filesystem::exists(path("gone.vkt")));

    writeBytes("victim", "untouched");
    std::filesystem::create_symlink(path("victim"), path("trace.vkt"));
    ASSERT_TRUE(save("trace.vkt", "ours", Links::Replace)) << error.description;
    EXPECT_TRUE(S_ISREG(info("trace.vkt").st_mode));
    EXPECT_EQ(readBytes("trace.vkt"), "ours");
    EXPECT_EQ(readBytes("victim"), "untouched");
}

// Whoever may write the folder cannot steer a save through a temporary
// name planted in advance; what a killed save left is cleared away, and
// what a save in progress beside this one writes is not.
TEST_F(FileWriterTest, PlantedAndLeftoverTemporaryFilesGoAFileBeingSavedStays) {
    writeBytes("victim", "untouched");
    writeBytes("radio.vkt", "old");
    std::filesystem::create_symlink(path("made-by-the-save"), path("radio.vkt.saving0"));
    std::filesystem::create_symlink(path("victim"), path("radio.vkt.saving1"));
    leftBehind("radio.vkt.saving-Ab12Cd");
    leftBehind("other.vkt.saving-Ab12Cd");
    leftBehind("radio.vkt.savings");
    writeBytes("radio.vkt.saving-Just1t", "just created, not yet locked");
    leftBehind("radio.vkt.saving-Locked");
    const int writing = ::open(path("radio.vkt.saving-Locked").c_str(), O_WRONLY | O_APPEND);
    ASSERT_EQ(::flock(writing, LOCK_EX), 0);
    ASSERT_TRUE(save("radio.vkt", "new")) << error.description;
    EXPECT_TRUE(S_ISREG(info("radio.vkt").st_mode));
    EXPECT_EQ(readBytes("radio.vkt"), "new");
    EXPECT_FALSE(std::filesystem::exists(path("made-by-the-save")));
    EXPECT_EQ(readBytes("victim"), "untouched");
    EXPECT_EQ(leftovers(), (std::vector<std::string>{"other.vkt.saving-Ab12Cd", "radio.vkt.saving-Just1t", "radio.vkt.saving-Locked",
                                                     "radio.vkt.savings"}));
    // The other save ends as it began.
    EXPECT_EQ(::write(writing, "!", 1), 1);
    ::close(writing);
    EXPECT_EQ(::rename(path("radio.vkt.saving-Locked").c_str(), path("radio.vkt").c_str()), 0);
}

// A name as long as the system takes still leaves room for the temporary
// file's additions, which then go on its first characters (whole ones).
TEST_F(FileWriterTest, NamesUpTo255BytesAreSaved) {
    std::string accented;
    for (int i = 0; i < 125; ++i) accented += "\xC3\xA9";  // 250 bytes of "é"
    for (const std::string& name : {std::string(238, 'n') + ".vkt", std::string(251, 'n') + ".vkt", accented + ".vkt"}) {
        ASSERT_TRUE(save(name, "long")) << name.size() << " " << error.description;
        EXPECT_EQ(readBytes(name), "long");
    }
    // 241 bytes are free before ".saving-XXXXXX": 120 whole "é".
    leftBehind(accented.substr(0, 240) + ".saving-Ab12Cd");
    ASSERT_TRUE(save(accented + ".vkt", "again")) << error.description;
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(FileWriterTest, ALogIsAddedToAndNeverFollowsALink) {
    {
        const auto log = vktstore::LogFile::open(path("trace.log"), error);
        ASSERT_TRUE(log) << error.description;
        log->stream() << "first\n" << std::flush;
    }
    EXPECT_EQ(info("trace.log").st_mode & 07777, 0644u);
    {
        const auto log = vktstore::LogFile::open(path("trace.log"), error);
        ASSERT_TRUE(log) << error.description;
        log->stream() << "second\n";
    }
    EXPECT_EQ(readBytes("trace.log"), "first\nsecond\n");

    writeBytes("victim", "untouched");
    std::filesystem::create_symlink(path("victim"), path("link.log"));
    std::filesystem::create_hard_link(path("victim"), path("hard.log"));
    ASSERT_EQ(::mkfifo(path("fifo.log").c_str(), 0600), 0);
    const std::pair<const char*, const char*> refused[] = {
        {"link.log", "is a link, not a regular file"}, {"hard.log", "has another name"}, {"fifo.log", "is a FIFO"}};
    for (const auto& [name, says] : refused) {
        EXPECT_FALSE(vktstore::LogFile::open(path(name), error)) << name;
        EXPECT_NE(error.description.find(says), std::string::npos) << error.description;
    }
    EXPECT_EQ(readBytes("victim"), "untouched");
    // A link swapped in between the check of the name and the open, to a
    // file with no other name.
    writeBytes("aim", "");
    Recorder race;
    race.afterCheck = [&] { std::filesystem::create_symlink(path("aim"), path("raced.log")); };
    const vktstore::UseFileSystem racing(race);
    EXPECT_FALSE(vktstore::LogFile::open(path("raced.log"), error));
}

// A power cut after the rename finds the new contents on the disk, never an
// empty file under the old name.
TEST_F(FileWriterTest, TheContentsAreSyncedBeforeTheRenameAndTheFolderAfter) {
    Recorder recorder;
    const vktstore::UseFileSystem recording(recorder);
    ASSERT_TRUE(save("radio.vkt", "new")) << error.description;
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"write", "sync the file", "rename", "sync the folder"}));
}
