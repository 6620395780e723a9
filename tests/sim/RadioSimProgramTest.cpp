// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated radio as a program: what vkt-radio-sim does to the files it is
// given, and a line whose speed is not the radio's; and the radio inside the
// editor where there is no pseudo-terminal.

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include "app/EmulatedRadio.h"
#include "core/MemoryImage.h"
#include "sim/RadioModel.h"
#include "tests/support/PtyPlatform.h"
#include "tests/support/PtyRadioProcess.h"

namespace {

// The emulator run to its refusal: exit code and what it said.
std::pair<int, QString> Refused(const QStringList& options) {
    QProcess sim;
    sim.start(PtyRadioProcess::Program(), options);
    if (!sim.waitForFinished(5000)) return {-1, "still running"};  // the process is killed as it goes
    return {sim.exitCode(), sim.readAllStandardError()};
}

} // namespace

// The file is written once a program lets the radio go, not after every
// block: each save renames a temporary file of its own name, counted here
// as the folder sees them.
TEST(RadioSimProgram, ASetupFileKeepsItsLastThreeBytesAndIsWrittenOncePerTransfer) {
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.vkt");
    const QByteArray setup = QByteArray(VKTCore::RadioMemorySize, '\x11') + "abc";
    ASSERT_TRUE(WriteBytes(path, setup));
    const int renames = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(renames, dir.path().toLocal8Bit().constData(), IN_MOVED_FROM), 0);
    {
        PtyRadioProcess sim({"--eeprom", path});
        ASSERT_TRUE(sim.stop());
    }
    EXPECT_EQ(FileBytes(path), setup);  // nothing was written (no save is counted below)

    PtyRadioProcess sim({"--eeprom", path});
    ASSERT_FALSE(sim.device().empty());
    PtyPlatform platform(sim.device());
    LinkOn l(platform);
    VKTCore::Image image{};
    image.fill(0x22);
    ASSERT_TRUE(VKTCom::Transfers(l.link, l.proc, image).WriteGroupMemory(1));
    ASSERT_TRUE(sim.stop());
    alignas(inotify_event) char events[64 * (sizeof(inotify_event) + 16)];
    const ssize_t got = ::read(renames, events, sizeof events);
    ::close(renames);
    int saves = 0;
    for (ssize_t at = 0; at < got; at += static_cast<ssize_t>(sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len))
        ++saves;
    EXPECT_EQ(saves, 1);
    const QByteArray after = FileBytes(path);
    ASSERT_EQ(after.size(), VKTCore::ImageSize);
    EXPECT_EQ(after.mid(6016), QByteArray("abc"));
    EXPECT_EQ(after[256 + 40], '\x22');  // group 1 was written
}

// Neither the memory file nor the link may be a file of the user's that the
// emulator would overwrite or replace.
TEST(RadioSimProgram, RefusesToTakeOverAFileThatIsNotItsOwn) {
    const std::tuple<const char*, QByteArray, const char*> cases[] = {
        {"--eeprom", QByteArray(7000, 'x'), "notes.txt holds 7000 bytes: neither a radio's memory (6016) nor a setup file (6019)"},
        {"--link", "a user's file", "is not a link to an emulated radio's device"},
    };
    for (const auto& [option, contents, message] : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        ASSERT_TRUE(WriteBytes(path, contents));
        const auto [code, said] = Refused({option, path});
        EXPECT_EQ(code, 2) << option;
        EXPECT_TRUE(said.contains(message)) << said.toStdString();
        EXPECT_EQ(FileBytes(path), contents) << option;
    }
}

TEST(RadioSimProgram, TakesOverAndRemovesALinkAnEarlierEmulatorLeftBehind) {
    QTemporaryDir dir;
    const QString link = dir.filePath("cable");
    ASSERT_EQ(::symlink("/dev/pts/999", link.toLocal8Bit().constData()), 0);
    {
        PtyRadioProcess sim({"--link", link});
        EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), sim.device());
        // A second emulator leaves the running one its link.
        const auto [code, said] = Refused({"--link", link});
        EXPECT_EQ(code, 2);
        EXPECT_TRUE(said.contains("which another running emulator holds")) << said.toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), sim.device());
        ASSERT_TRUE(sim.stop());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

// A radio that switched to 9600 baud does not hear a program that stayed at 4800.
TEST(RadioSimProgram, AProgramThatForgetsTheSpeedChangeGetsNoAnswer) {
    PtyRadioProcess sim({});
    ASSERT_FALSE(sim.device().empty());
    for (bool forgets : {false, true}) {
        PtyPlatform platform(sim.device(), forgets);
        LinkOn l(platform);
        if (forgets) platform.keepTheLineAt4800();
        EXPECT_EQ(l.transfers.ReadGroupMemory(1), !forgets) << forgets;
        EXPECT_EQ(platform.boxes.empty(), !forgets);
    }
}

// Where there is no pseudo-terminal (Windows) the Emulated Radio item runs the
// radio inside the editor, on the wall clock: a read of a group brings the
// factory setup's bytes, and a write is kept in the radio's memory file.
TEST(EmulatedRadioInside, AGroupIsReadAndWrittenOnTheWallClock) {
    PtyPlatform platform("");
    QTemporaryDir dir;
    const auto emulator = MakeEmulatedRadio(platform, dir.path());
    platform.serialPort().setPortNumber(vkt::EmulatedPort);
    emulator->start();
    EXPECT_EQ(platform.describePort(vkt::EmulatedPort), vktqt::EmulatorInside);
    LinkOn l(platform);
    VKTCore::MemoryImage.fill(0);
    ASSERT_TRUE(l.transfers.ReadGroupMemory(1));
    const auto factory = vktsim::RadioModel::FactorySetup();
    EXPECT_TRUE(std::equal(factory.begin() + 256, factory.begin() + 256 + 384, VKTCore::MemoryImage.begin() + 256));
    VKTCore::MemoryImage[256 + 40] = 0x22;
    ASSERT_TRUE(l.transfers.WriteGroupMemory(1));
    const QByteArray saved = FileBytes(dir.filePath("emulated-radio.eeprom"));
    ASSERT_EQ(saved.size(), VKTCore::RadioMemorySize);
    EXPECT_EQ(saved[256 + 40], '\x22');
}
