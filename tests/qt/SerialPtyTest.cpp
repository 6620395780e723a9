// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial path: QSerialPort on one side of a pseudo-terminal, the emulator on the other.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <csignal>

#include "core/MemoryImage.h"
#include "editor/FleetRun.h"
#include "link/Transfers.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "sim/RadioModel.h"
#include "tests/support/PtyPlatform.h"
#include "tests/support/PtyRadioProcess.h"

// The emulator keeps a setup file's last three bytes and writes the file once a program lets the radio go, not
// after every block: each save renames a temporary file of its own name, counted here as the folder sees them.
// A link named for the memory is written through, and stays.
TEST(SerialPty, WholeReadAndGroupWriteCarryEveryByteValueAndTheFileIsSavedOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("radio.vkt");
    QByteArray radio(VKTCore::RadioMemorySize, 0);
    for (int i = 0; i < radio.size(); ++i) radio[i] = static_cast<char>((i * 37 + i / 256) & 0xFF);  // every byte value
    ASSERT_TRUE(WriteBytes(path, radio + "abc"));
    const int renames = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(renames, dir.path().toLocal8Bit().constData(), IN_MOVED_FROM), 0);
    {
        PtyRadioProcess sim({"--eeprom", path});
        ASSERT_TRUE(sim.stop());
    }

    const QString link = dir.filePath("radio-link.vkt");
    ASSERT_TRUE(QFile::link(path, link));
    PtyRadioProcess sim({"--eeprom", link});
    PtyPlatform platform(sim.device());
    LinkOn l(platform);
    VKTCore::MemoryImage.fill(0);
    ASSERT_TRUE(l.transfers.ReadAllMemory());
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) ASSERT_EQ(VKTCore::MemoryImage[static_cast<size_t>(a)], static_cast<uint8_t>(radio[a])) << a;
    // Group 3 gets every byte value, in another order.
    const int base = 256 + 2 * 384;
    for (int i = 0; i < 384; ++i) VKTCore::MemoryImage[static_cast<size_t>(base + i)] = static_cast<uint8_t>(255 - (i % 256));
    ASSERT_TRUE(l.transfers.WriteGroupMemory(3));
    ASSERT_TRUE(sim.stop());

    alignas(inotify_event) char events[64 * (sizeof(inotify_event) + 16)];
    const ssize_t got = ::read(renames, events, sizeof events);
    ::close(renames);
    int saves = 0;
    for (ssize_t at = 0; at < got; at += static_cast<ssize_t>(sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len)) ++saves;
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
    const QByteArray after = FileBytes(path);
    ASSERT_EQ(after.size(), VKTCore::ImageSize);
    EXPECT_EQ(after.mid(VKTCore::RadioMemorySize), QByteArray("abc"));
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) {
        const int sent = a >= base && a < base + 384 ? VKTCom::SentBits(a) : 0;
        ASSERT_EQ(static_cast<uint8_t>(after[a]), (static_cast<uint8_t>(radio[a]) & ~sent) | (VKTCore::MemoryImage[static_cast<size_t>(a)] & sent)) << a;
    }
}

// A radio that switched to 9600 baud does not hear a program that stayed at 4800 either.
TEST(SerialPty, AnEmulatorKilledMidReadEndsTheReadAndARestartedOneWorksAtTheRightSpeed) {
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    auto sim = std::make_unique<PtyRadioProcess>(QStringList{"--link", link});
    PtyPlatform platform(link.toStdString(), true);
    LinkOn l(platform);
    platform.onEvents = [&] {
        if (sim && l.proc.Prog1.Value() > 1000) sim->kill();  // the plug pulled out
    };
    EXPECT_FALSE(l.transfers.ReadAllMemory());
    EXPECT_EQ(platform.boxes, std::vector<std::string>{VKTCom::Transfers::ReadErrorText});
    EXPECT_FALSE(l.link.RadioHooked);
    EXPECT_FALSE(l.proc.Loaded());

    platform.onEvents = nullptr;
    sim = std::make_unique<PtyRadioProcess>(QStringList{"--link", link});
    platform.boxes.clear();
    EXPECT_TRUE(l.transfers.ReadGroupMemory(1));
    EXPECT_TRUE(platform.boxes.empty());
    platform.keepTheLineAt4800();
    EXPECT_FALSE(l.transfers.ReadGroupMemory(1));
    EXPECT_FALSE(platform.boxes.empty());
}

// A port another program has open is in use, not forbidden: no advice about
// groups and modes, and the program named where the system says who.
TEST(SerialPty, AMissingPortOrOneInUseSaysSoAndByWhom) {
    vktqt::QtSerialPort missing([](int) { return std::string("/nonexistent/ttyVKT9"); });
    EXPECT_FALSE(missing.open());
    EXPECT_EQ(missing.openError().rfind("Comm Port 1 (/nonexistent/ttyVKT9) cannot be opened", 0), 0u) << missing.openError();
    QProcess given;  // vkt's --device is no Comm Port: it is named as given
    given.start(VKT_CLI, {"read", "--device", "/nonexistent/ttyVKT9", "-o", "/nonexistent/r.vkt"});
    ASSERT_TRUE(given.waitForFinished(-1));
    const std::string said = given.readAllStandardError().toStdString();
    EXPECT_TRUE(said.find("/nonexistent/ttyVKT9 cannot be opened") != std::string::npos && said.find("Comm Port") == std::string::npos) << said;
    PtyRadioProcess sim({"--print-state"});
    QTemporaryDir dir;
    QProcess reader;
    reader.start(VKT_CLI, {"read", "--device", QString::fromStdString(sim.device()), "-o", dir.filePath("r.vkt")});
    ASSERT_TRUE(reader.waitForStarted());
    ASSERT_TRUE(sim.waitUntil(true));  // the read is under way
    vktqt::QtSerialPort port([&sim](int) { return sim.device(); });
    EXPECT_FALSE(port.open());
    EXPECT_EQ(vkt::PreciseSleeps::Held(), 0);
    const std::string expected = "Comm Port 1 (" + sim.device() + ") is in use by another program (process " + std::to_string(reader.processId()) + ", ";
    EXPECT_EQ(port.openError().rfind(expected, 0), 0u) << port.openError();
    ASSERT_TRUE(reader.waitForFinished(-1));
    EXPECT_EQ(reader.exitCode(), 0);
    EXPECT_TRUE(port.open());
    EXPECT_EQ(vkt::PreciseSleeps::Held(), 1);  // the pacing's 3 ms stay 3 ms while the port is open
    port.close();
    EXPECT_EQ(vkt::PreciseSleeps::Held(), 0);
}

// A paced byte is on its way before the pause after it: it reaches the far
// end while no events run, as in a transfer (Windows would send it later).
TEST(SerialPty, EachByteIsHandedOverBeforeItsPause) {
    const int far = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(far >= 0 && ::grantpt(far) == 0 && ::unlockpt(far) == 0);
    const std::string device = ::ptsname(far);
    vktqt::QtSerialPort port([&device](int) { return device; });
    ASSERT_TRUE(port.open()) << port.openError();
    for (const uint8_t sent : {0x00, 0x55, 0xFF}) {
        port.writeByte(sent);
        pollfd arrived{far, POLLIN, 0};
        uint8_t got = 0;
        ASSERT_TRUE(::poll(&arrived, 1, 2000) == 1 && ::read(far, &got, 1) == 1) << "byte " << int(sent) << " is still in the program";
        EXPECT_EQ(got, sent);
    }
    ::close(far);
}

// A copy of vkt for each emulator. Ctrl-C reaches the run and every copy; an interrupt or a hang-up the run
// alone, which passes it on as a stop line on each copy's standard input; a run killed outright passes nothing
// on, and its copies, finding their standard input closed, let their radios go.
TEST(SerialPty, AFleetRunWritesEachRadioAndReleasesItHoweverItEnds) {
    const QByteArray setup = FileBytes(QString(VKT_TEST_DATA_DIR) + "/fleet.vkt");
    const auto factory = vktsim::RadioModel::FactorySetup();
    const std::pair<int, bool> endings[] = {{0, false}, {SIGINT, true}, {SIGINT, false}, {SIGHUP, false}, {SIGKILL, false}};
    for (const auto& [sig, toTheGroup] : endings) {
        SCOPED_TRACE(sig);
        QTemporaryDir dir;
        std::vector<std::unique_ptr<PtyRadioProcess>> sims;  // with --print-state: they tell when they are hooked
        QStringList devices;
        for (int i = 0; i < 4; ++i) {
            QStringList options{"--eeprom", dir.filePath(QString("radio%1.bin").arg(i)), "--print-state"};
            if (sig == 0 && i == 2) options << "--silent";
            sims.push_back(std::make_unique<PtyRadioProcess>(options));
            devices << "--device" << QString::fromStdString(sims.back()->device());
        }
        QProcess vkt;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VKT_DATA_DIR", dir.path());
        vkt.setProcessEnvironment(env);
        vkt.setChildProcessModifier([] { ::setpgid(0, 0); });  // its own group, as a terminal's foreground job
        const QString mode = sig == 0 ? "--changed-only" : "--verify";
        vkt.start(VKT_CLI, QStringList{"write", QString(VKT_TEST_DATA_DIR) + "/fleet.vkt", mode} + devices);
        ASSERT_TRUE(vkt.waitForStarted());
        const auto pid = static_cast<pid_t>(vkt.processId());
        for (const auto& sim : sims) ASSERT_TRUE(sig == 0 || sim->waitUntil(true));  // the signal comes while every radio is written
        if (sig != 0) ::kill(toTheGroup ? -pid : pid, sig);
        ASSERT_TRUE(vkt.waitForFinished(-1));
        const QString out = vkt.readAllStandardOutput();
        if (sig == 0) {
            EXPECT_EQ(vkt.exitCode(), 1) << out.toStdString();
            // Padded to the longest name, however the machine numbers its pseudo-terminals.
            const QString silent = QString::fromStdString(sims[2]->device()).leftJustified(std::ranges::max(devices, {}, &QString::size).size());
            EXPECT_TRUE(out.contains(silent + "  radio unknown  FAILED: reading it first: hook: no answer")) << out.toStdString();
            EXPECT_EQ(out.count(" written and verified  "), 3) << out.toStdString();
            EXPECT_EQ(QDir(dir.filePath("backups")).entryList(QDir::Files).size(), 3);
        } else if (sig != SIGKILL) {
            EXPECT_EQ(vkt.exitCode(), 130);
            EXPECT_EQ(out.count("  interrupted while writing, after "), 4) << out.toStdString();
            EXPECT_TRUE(out.contains("\ncancelled: 0 of 4 radios written and verified, 4 released unwritten; not done: ")) << out.toStdString();
        }
        for (int i = 0; i < 4; ++i) {
            PtyRadioProcess& sim = *sims[static_cast<size_t>(i)];
            EXPECT_TRUE(sim.waitUntil(false)) << i;
            if (sig != 0) continue;
            ASSERT_TRUE(sim.stop());
            const QByteArray radio = FileBytes(dir.filePath(QString("radio%1.bin").arg(i)));
            ASSERT_EQ(radio.size(), i == 2 ? 0 : VKTCore::RadioMemorySize);  // the silent one never written, so never saved
            for (int a = 0; a < radio.size(); ++a) {
                const int sent = VKTCom::SentBits(a);
                ASSERT_EQ(static_cast<uint8_t>(radio[a]), (factory[static_cast<size_t>(a)] & ~sent) | (static_cast<uint8_t>(setup[a]) & sent))
                    << "radio " << i << " address " << a;
            }
        }
    }
}

// Three radios numbered from 1001 in cable order; a second run, a channel changed, keeps each one's (recorded twice).
TEST(SerialPty, AFleetRunNumbersItsRadiosAndASecondKeepsTheirIds) {
    QTemporaryDir dir;
    QByteArray changed = FileBytes(QString(VKT_TEST_DATA_DIR) + "/fleet.vkt");
    const int ch = VKTCore::ChannelSlotAddress(4, 2) + 1;
    changed[ch] = static_cast<char>(changed[ch] ^ 0x01);
    ASSERT_TRUE(WriteBytes(dir.filePath("changed.vkt"), changed));
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    QStringList devices;
    for (int i = 0; i < 3; ++i) {
        sims.push_back(std::make_unique<PtyRadioProcess>(QStringList{"--eeprom", dir.filePath(QString("radio%1.bin").arg(i))}));
        devices << "--device" << QString::fromStdString(sims.back()->device());
    }
    const std::pair<QString, QStringList> runs[] = {{QString(VKT_TEST_DATA_DIR) + "/fleet.vkt", {"--verify", "--unit-ids", "1001"}}, {dir.filePath("changed.vkt"), {"--changed-only", "--keep-unit-ids"}}};
    for (const auto& [setup, options] : runs) {
        QProcess vkt;
        vkt.setEnvironment(QProcess::systemEnvironment() << "VKT_DATA_DIR=" + dir.path());  // the backups
        vkt.start(VKT_CLI, QStringList{"write", setup, "--log", dir.filePath("record.csv")} + options + devices);
        ASSERT_TRUE(vkt.waitForFinished(-1));
        EXPECT_EQ(vkt.exitCode(), 0) << vkt.readAllStandardOutput().toStdString() << vkt.readAllStandardError().toStdString();
    }
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(sims[static_cast<size_t>(i)]->stop());
        const QByteArray radio = FileBytes(dir.filePath(QString("radio%1.bin").arg(i)));
        ASSERT_EQ(radio.size(), VKTCore::RadioMemorySize);
        const QByteArray id = "000100" + QByteArray::number(i + 1);
        for (int g = 0; g < VKTCore::GroupCount; ++g) EXPECT_EQ(radio.mid(VKTCore::GroupBase(g) + 41, 4).toHex(), "0" + id) << i << " " << g;
        EXPECT_EQ(radio[ch], changed[ch]) << i;
        EXPECT_EQ(FileBytes(dir.filePath("record.csv")).count("," + id + ",2AAA0105 #"), 2) << i;
    }
}

namespace {

// A stand-in for vkt that a test writes: a shell script.
QString Script(const QTemporaryDir& dir, const char* name, const QByteArray& body) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("#!/bin/sh\n" + body) < 0) ADD_FAILURE() << "cannot write " << name;
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The fleet window's model on one cable, its copies started from program.
struct FleetWindowModel {
    explicit FleetWindowModel(const QString& program, const QTemporaryDir& dir)
        : workers(program), model(platform, platform, workers, dir.path().toStdString()) {
        model.ports = {{"/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyUSB0", "", true, -1}};
    }
    // Runs a round on nothing but the event loop, as the window does.
    std::string run() {
        model.cmdStart_Click();
        while (model.running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return model.result(0);
    }
    PtyPlatform platform{""};
    vktqt::ProcessWorkers workers;
    vkteditor::FleetRun model;
};

} // namespace

// The window is told whenever a copy speaks or ends; a copy that cannot be
// started is a failed row, not a round that never ends.
TEST(WorkerCopies, TheFleetWindowHearsItsCopiesAndOneThatCannotStartFailsItsRow) {
    QTemporaryDir dir;
    FleetWindowModel fleet(Script(dir, "vkt", "printf 'progress\\twriting\\t50\\t2AAA0105\\n'\n"
                                              "printf 'result\\tdone\\t2AAA0105\\t1.50\\t0.010\\t\\t\\t\\t\\n'\n"), dir);
    EXPECT_EQ(fleet.run(), "written and verified 1.5 s");
    FleetWindowModel missing(dir.filePath("no-such-vkt"), dir);
    const std::string result = missing.run();
    EXPECT_EQ(result.rfind("FAILED: its copy of vkt could not be started: " + dir.filePath("no-such-vkt").toStdString(), 0), 0u) << result;
}

// The end of its input tells a copy to let its radio go; a pool that ends
// waits for that instead of killing the copy mid-block.
TEST(WorkerCopies, APoolThatEndsLetsItsCopiesReleaseTheirRadios) {
    QTemporaryDir dir;
    const QString released = dir.filePath("released");
    {
        vktqt::ProcessWorkers workers(Script(dir, "vkt", "cat >/dev/null\necho released >\"$1\"\n"));
        workers.start({released.toStdString()});
        ASSERT_TRUE(workers.wait(0).empty());
    }
    EXPECT_EQ(FileBytes(released), "released\n");
}
