// SPDX-License-Identifier: GPL-3.0-or-later
// vkt-radio-sim as a program: what it does to the files it is given, and a
// line whose speed is not the radio's.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include "app/EmulatedRadio.h"
#include "core/MemoryImage.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "sim/RadioModel.h"
#include "tests/support/PtyPlatform.h"
#include "tests/support/PtyRadioProcess.h"

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The emulator run to its refusal: exit code and what it said.
std::pair<int, QString> Refused(const QStringList& options) {
    QProcess sim;
    sim.start(PtyRadioProcess::Program(), options);
    if (!sim.waitForFinished(5000)) {
        sim.kill();
        sim.waitForFinished();
        return {-1, "still running"};
    }
    return {sim.exitCode(), sim.readAllStandardError()};
}

QByteArray SetupFile() {
    QByteArray setup(VKTCore::ImageSize, '\x11');
    setup[6016] = 'a';
    setup[6017] = 'b';
    setup[6018] = 'c';
    return setup;
}

} // namespace

// The file is written once a program lets the radio go, not after every
// block: each save renames a temporary file of its own name, counted here
// as the folder sees them.
TEST(RadioSimProgram, ASetupFileKeepsItsLastThreeBytesAndIsWrittenOncePerTransfer) {
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.vkt");
    Write(path, SetupFile());
    const int renames = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(renames, dir.path().toLocal8Bit().constData(), IN_MOVED_FROM), 0);
    const QDateTime before = QFileInfo(path).lastModified();
    {
        PtyRadioProcess sim({"--eeprom", path});
        ASSERT_FALSE(sim.device().empty());
        ASSERT_TRUE(sim.stop());
    }
    EXPECT_EQ(Bytes(path), SetupFile());  // nothing was written: the same file, untouched
    EXPECT_EQ(QFileInfo(path).lastModified(), before);

    PtyRadioProcess sim({"--eeprom", path});
    PtyPlatform platform(sim.device());
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink link(platform);
    link.InitLinkParameters();
    VKTCore::Image image{};
    image.fill(0x22);
    ASSERT_TRUE(VKTCom::Transfers(link, proc, image).WriteGroupMemory(1));
    ASSERT_TRUE(sim.stop());
    alignas(inotify_event) char events[64 * (sizeof(inotify_event) + 16)];
    const ssize_t got = ::read(renames, events, sizeof events);
    ::close(renames);
    int saves = 0;
    for (ssize_t at = 0; at < got; at += static_cast<ssize_t>(sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len))
        ++saves;
    EXPECT_EQ(saves, 1);
    const QByteArray after = Bytes(path);
    ASSERT_EQ(after.size(), VKTCore::ImageSize);
    EXPECT_EQ(after.mid(6016), QByteArray("abc"));
    EXPECT_EQ(after[256 + 40], '\x22');  // group 1 was written
}

// Neither the memory file nor the link may be a file of the user's that the
// emulator would overwrite or replace.
TEST(RadioSimProgram, RefusesToTakeOverAFileThatIsNotItsOwn) {
    struct Case {
        const char* option;
        QByteArray contents;
        const char* message;
    };
    const Case cases[] = {
        {"--eeprom", QByteArray(7000, 'x'), "notes.txt holds 7000 bytes: neither a radio's memory (6016) nor a setup file (6019)"},
        {"--link", "a user's file", "is not a link to an emulated radio's device"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        Write(path, c.contents);
        const auto [code, said] = Refused({c.option, path});
        EXPECT_EQ(code, 2) << c.option;
        EXPECT_TRUE(said.contains(c.message)) << said.toStdString();
        EXPECT_EQ(Bytes(path), c.contents) << c.option;
    }
}

TEST(RadioSimProgram, TakesOverAndRemovesALinkAnEarlierEmulatorLeftBehind) {
    QTemporaryDir dir;
    const QString link = dir.filePath("cable");
    ASSERT_EQ(::symlink("/dev/pts/999", link.toLocal8Bit().constData()), 0);
    {
        PtyRadioProcess sim({"--link", link});
        ASSERT_FALSE(sim.device().empty());
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
        vkt::Window main("main");
        VKTCom::frmProc proc(platform, main);
        VKTCom::RadioLink link(platform);
        link.InitLinkParameters();
        VKTCom::Transfers transfers(link, proc);
        if (forgets) platform.keepTheLineAt4800();
        EXPECT_EQ(transfers.ReadGroupMemory(1), !forgets) << forgets;
        EXPECT_EQ(platform.boxes.empty(), !forgets);
    }
}

// Where there is no pseudo-terminal (Windows) the Emulated Radio item runs the
// radio inside the editor, on the wall clock: a read of a group brings the
// factory setup's bytes.
TEST(EmulatedRadioInside, AGroupIsReadOnTheWallClock) {
    struct NoBoxes : vktqt::QtPlatform {
        vkt::Answer MsgBox(const std::string& text, vkt::Buttons, vkt::Icon, const std::string&, bool) override {
            ADD_FAILURE() << text;
            return vkt::Answer::Cancel;
        }
    } platform;
    QTemporaryDir dir;
    const auto emulator = MakeEmulatedRadio(platform, dir.path());
    platform.serialPort().setPortNumber(vkt::EmulatedPort);
    emulator->start();
    EXPECT_EQ(platform.describePort(vkt::EmulatedPort), vktqt::EmulatorInside);
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink link(platform);
    link.InitLinkParameters();
    VKTCore::MemoryImage.fill(0);
    ASSERT_TRUE(VKTCom::Transfers(link, proc).ReadGroupMemory(1));
    const auto factory = vktsim::RadioModel::FactorySetup();
    EXPECT_TRUE(std::equal(factory.begin() + 256, factory.begin() + 256 + 384, VKTCore::MemoryImage.begin() + 256));
}
