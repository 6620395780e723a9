// SPDX-License-Identifier: GPL-3.0-or-later
// Every kind of file a read or a save may meet, on every system. The suite may run as root, so outcomes are
// judged by file types, modes and contents, never by access errors. The umask is a desktop's 002, under which
// 0644 and 0664 differ.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/System.h"
#include "store/FileReader.h"
#include "store/FileSystem.h"
#include "store/FileWriter.h"
#include "store/Paths.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/SystemCalls.h"

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

namespace fs = std::filesystem;
using vktstore::PathOf;
using vktstore::Utf8Of;

class FileWriterTest : public StoreTest {
protected:
    FileWriterTest() : umask_(vkttest::SetUmask(002)) {}
    ~FileWriterTest() override { vkttest::SetUmask(umask_); }

    // The entry itself, a link not followed.
    vktstore::FileInfo info(const std::string& name) const {
        vktstore::FileInfo found;
        vktstore::Files().pathInfo(path(name), found);
        return found;
    }
    void setMode(const std::string& name, unsigned mode) const { fs::permissions(PathOf(path(name)), static_cast<fs::perms>(mode)); }
    bool save(const std::string& name, const std::string& text, Links links = Links::WriteThrough) {
        error = {};
        return vktstore::WriteFileReplacing(path(name), text, error, links);
    }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (Utf8Of(entry.path().filename()).find(".saving") != std::string::npos) names.push_back(Utf8Of(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }
    // A temporary file a save killed two minutes ago left.
    void leftBehind(const std::string& name) const {
        writeBytes(name, "left by a killed save");
        std::filesystem::last_write_time(PathOf(path(name)), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
    }

    FileError error;
    const unsigned umask_;
};

#define SKIP_WITHOUT_LINKS() \
    if (!vkttest::CanLink(folder.string())) GTEST_SKIP() << "symbolic links cannot be made here"

} // namespace

TEST_F(FileWriterTest, ANewFileGetsTheUsualModeAndAnOldOneKeepsItsOwn) {
    if (vkttest::NullDevice() == std::string("NUL")) GTEST_SKIP() << "Windows has no permission bits nor owners to keep";
    ASSERT_TRUE(save("new.vkt", "new")) << error.description;
    EXPECT_TRUE(info("new.vkt").regular());
    EXPECT_EQ(info("new.vkt").mode & 07777, 0644u);
    EXPECT_EQ(readBytes("new.vkt"), "new");

    writeBytes("old.vkt", "old contents, longer than the new");
    setMode("old.vkt", 0640);
    const bool root = vkttest::RunningAsRoot();
    if (root) { ASSERT_TRUE(vkttest::SetOwner(path("old.vkt"), 1234, 4321)); }
    ASSERT_TRUE(save("old.vkt", "replaced")) << error.description;
    EXPECT_EQ(readBytes("old.vkt"), "replaced");
    EXPECT_EQ(info("old.vkt").mode & 07777, 0640u);
    if (root) {  // root saving someone's file leaves it theirs
        EXPECT_EQ(info("old.vkt").owner, 1234u);
        EXPECT_EQ(info("old.vkt").group, 4321u);
    }
    EXPECT_TRUE(leftovers().empty());
}

// Every byte as it was, on every system: no end of file at a 0x1A (the fleet setup has one at offset 258), no
// CR before a LF. The name is outside ASCII in a folder that is too, as a user's own may be.
TEST_F(FileWriterTest, SetupsGoAndComeBackByteForByteUnderAnyName) {
    std::vector<uint8_t> fleet;
    ASSERT_TRUE(vktstore::ReadSetupBytes(VKT_TEST_DATA_DIR "/fleet.vkt", fleet, error)) << error.description;
    ASSERT_EQ(fleet.size(), 6019u);
    ASSERT_EQ(fleet[258], 0x1A);
    std::vector<uint8_t> lines(6019, '\n');
    for (size_t i = 0; i < lines.size(); i += 3) lines[i] = static_cast<uint8_t>(i % 7 == 0 ? '\r' : 0x1A);
    fs::create_directory(PathOf(path("Données élève")));
    const std::string name = "Données élève/Übung 1.vkt";
    for (const auto& bytes : {fleet, lines}) {
        ASSERT_TRUE(vktstore::WriteFileReplacing(path(name), bytes, error)) << error.description;
        EXPECT_EQ(fs::file_size(PathOf(path(name))), 6019u);
        std::vector<uint8_t> back;
        ASSERT_TRUE(vktstore::ReadSetupBytes(path(name), back, error)) << error.description;
        EXPECT_EQ(back, bytes);
    }
    EXPECT_TRUE(vktstore::SameFile(path(name), path("Données élève/../Données élève/Übung 1.vkt")));
    EXPECT_TRUE(leftovers().empty());
}

// A virus scanner or the indexer holding the file a moment does not fail the save.
TEST_F(FileWriterTest, AFileHeldAMomentByAnotherProgramIsStillReplaced) {
    writeBytes("held.vkt", "old");
    const int held = vkttest::HoldFile(path("held.vkt"));
    ASSERT_GE(held, 0);
    // A read cannot wait: the file is in use, not forbidden (its holder, this test, unnamed).
    if (vkt::ThisSystem == vkt::SystemKind::Windows) {
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(vktstore::ReadSetupBytes(path("held.vkt"), bytes, error));
        EXPECT_EQ(std::to_string(error.number) + " " + error.description, "75 In use by another program: " + path("held.vkt"));
    }
    std::thread scanner([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        vkttest::ReleaseFile(held);
    });
    const bool saved = save("held.vkt", "new");
    scanner.join();
    ASSERT_TRUE(saved) << error.description;
    EXPECT_EQ(readBytes("held.vkt"), "new");
}

// Only a regular file is read or replaced; whatever else is there stays as
// it was, and a read is refused at once instead of blocking.
TEST_F(FileWriterTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    std::filesystem::create_directory(path("folder.vkt"));
    writeBytes("readonly.vkt", "kept");
    setMode("readonly.vkt", 0444);
    std::filesystem::create_directory(path("real-folder"));
    struct Case { const char* name; unsigned type; std::string says; };  // the system's reasons in the user's language
    std::vector<Case> cases = {
        {"folder.vkt", 0040000, std::strerror(EISDIR)},
        {"readonly.vkt", 0100000, std::strerror(EACCES)},
    };
    std::vector<std::pair<std::string, std::string>> unread = {
        {path("folder.vkt"), std::strerror(EISDIR) + (": " + path("folder.vkt"))},
        {vkttest::NullDevice(), vkttest::NullDevice() + std::string(" is a device, not a regular file")}};
    // What this system can make: a FIFO and a link on POSIX, a device node
    // by root only (the suite's usual case in CI).
    if (vkttest::MakeFifo(path("fifo.vkt"))) {
        cases.push_back({"fifo.vkt", 0010000, "fifo.vkt is a FIFO, not a regular file"});
        unread.push_back({path("fifo.vkt"), path("fifo.vkt") + " is a FIFO, not a regular file"});
    }
    if (vkttest::CanLink(folder.string())) {
        std::filesystem::create_symlink(path("real-folder"), path("folder-link.vkt"));
        cases.push_back({"folder-link.vkt", 0120000, std::strerror(EISDIR)});
    }
    if (vkttest::MakeDevice(path("device.vkt"))) cases.push_back({"device.vkt", 0020000, "device.vkt is a device, not a regular file"});
    for (const Case& c : cases) {
        EXPECT_FALSE(save(c.name, "new")) << c.name;
        EXPECT_EQ(error.number, 75) << c.name;
        EXPECT_NE(error.description.find(c.says), std::string::npos) << error.description;
        EXPECT_EQ(info(c.name).type(), c.type) << c.name;
    }
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

// A link the user chose is read and written through; a dangling one is refused. A file the program names in its
// own folder replaces a link planted there, never following it.
TEST_F(FileWriterTest, ALinkTheUserChoseIsFollowedAPlantedOneReplaced) {
    SKIP_WITHOUT_LINKS();
    writeBytes("real.vkt", std::string(6019, 'o'));
    setMode("real.vkt", 0600);
    std::filesystem::create_symlink("real.vkt", path("link.vkt"));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(vktstore::ReadSetupBytes(path("link.vkt"), bytes, error)) << error.description;
    EXPECT_EQ(bytes, std::vector<uint8_t>(6019, 'o'));
    ASSERT_TRUE(save("link.vkt", "through")) << error.description;
    EXPECT_TRUE(info("link.vkt").link());
    EXPECT_EQ(readBytes("real.vkt"), "through");
    EXPECT_EQ(info("real.vkt").mode & 07777, 0600u);

    std::filesystem::create_symlink(path("gone.vkt"), path("dangling.vkt"));
    EXPECT_FALSE(save("dangling.vkt", "x"));
    EXPECT_EQ(error.description, path("dangling.vkt") + " is a link to " + path("gone.vkt") + ", which does not exist");
    EXPECT_TRUE(info("dangling.vkt").link());
    EXPECT_FALSE(std::filesystem::exists(path("gone.vkt")));

    writeBytes("victim", "untouched");
    std::filesystem::create_symlink(path("victim"), path("trace.vkt"));
    ASSERT_TRUE(save("trace.vkt", "ours", Links::Replace)) << error.description;
    EXPECT_TRUE(info("trace.vkt").regular());
    EXPECT_EQ(readBytes("trace.vkt"), "ours");
    EXPECT_EQ(readBytes("victim"), "untouched");
}

// Whoever may write the folder cannot steer a save through a temporary name planted in advance; what a killed
// save left is cleared away, and what a save in progress beside this one writes is not, nor a user's file whose
// name only starts like a temporary one. Where no link can be made, the planted links alone are left out.
TEST_F(FileWriterTest, PlantedAndLeftoverTemporaryFilesGoAFileBeingSavedStays) {
    writeBytes("victim", "untouched");
    writeBytes("radio.vkt", "old");
    if (vkttest::CanLink(folder.string())) {
        std::filesystem::create_symlink(path("made-by-the-save"), path("radio.vkt.saving-Plant0"));
        std::filesystem::create_symlink(path("victim"), path("radio.vkt.saving-Plant1"));
    }
    leftBehind("radio.vkt.saving2024");
    leftBehind("radio.vkt.saving-Ab12Cd");
    leftBehind("other.vkt.saving-Ab12Cd");
    leftBehind("radio.vkt.savings");
    writeBytes("radio.vkt.saving-Just1t", "just created, not yet locked");
    leftBehind("radio.vkt.saving-Locked");
    auto& files = vktstore::Files();
    const int dir = files.openFolder(folder.string()), writing = files.openEntry(dir, "radio.vkt.saving-Locked");
    ASSERT_TRUE(files.lock(writing));
    ASSERT_TRUE(save("radio.vkt", "new")) << error.description;
    EXPECT_TRUE(info("radio.vkt").regular());
    EXPECT_EQ(readBytes("radio.vkt"), "new");
    EXPECT_FALSE(std::filesystem::exists(path("made-by-the-save")));
    EXPECT_EQ(readBytes("victim"), "untouched");
    EXPECT_EQ(leftovers(), (std::vector<std::string>{"other.vkt.saving-Ab12Cd", "radio.vkt.saving-Just1t", "radio.vkt.saving-Locked",
                                                     "radio.vkt.saving2024", "radio.vkt.savings"}));
    // The other save ends as it began.
    files.close(writing);
    EXPECT_TRUE(files.rename(dir, "radio.vkt.saving-Locked", "radio.vkt"));
    files.close(dir);
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
    const bool windows = vkttest::NullDevice() == std::string("NUL");
    for (const char* line : {"first\n", "second\n"}) {
        const auto log = vktstore::LogFile::open(path("trace.log"), error);
        ASSERT_TRUE(log) << error.description;
        log->stream() << line;
    }
    EXPECT_EQ(info("trace.log").mode & 07777, windows ? 0666u : 0644u);
    EXPECT_EQ(readBytes("trace.log"), "first\nsecond\n");

    writeBytes("victim", "untouched");
    std::filesystem::create_hard_link(path("victim"), path("hard.log"));
    EXPECT_FALSE(vktstore::LogFile::open(path("hard.log"), error));
    EXPECT_NE(error.description.find("has another name"), std::string::npos) << error.description;
    SKIP_WITHOUT_LINKS();
    std::filesystem::create_symlink(path("victim"), path("link.log"));
    ASSERT_TRUE(vkttest::MakeFifo(path("fifo.log")));
    const std::pair<const char*, const char*> refused[] = {{"link.log", "is a link, not a regular file"}, {"fifo.log", "is a FIFO"}};
    for (const auto& [name, says] : refused) {
        EXPECT_FALSE(vktstore::LogFile::open(path(name), error)) << name;
        EXPECT_NE(error.description.find(says), std::string::npos) << error.description;
    }
    EXPECT_EQ(readBytes("victim"), "untouched");
    // A link swapped in between the check of the name and the open, to a file with no other name.
    writeBytes("aim", "");
    Recorder race;
    race.afterCheck = [&] { std::filesystem::create_symlink(path("aim"), path("raced.log")); };
    const vktstore::UseFileSystem racing(race);
    EXPECT_FALSE(vktstore::LogFile::open(path("raced.log"), error));
}

// A power cut after the rename finds the new contents on the disk, never an empty file under the old name.
TEST_F(FileWriterTest, TheContentsAreSyncedBeforeTheRenameAndTheFolderAfter) {
    Recorder recorder;
    const vktstore::UseFileSystem recording(recorder);
    ASSERT_TRUE(save("radio.vkt", "new")) << error.description;
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"write", "sync the file", "rename", "sync the folder"}));
}
