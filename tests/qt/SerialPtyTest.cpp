// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial path: QSerialPort on one side of a pseudo-terminal, the
// emulator on the other.

#include <QElapsedTimer>
#include <QProcess>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include "core/MemoryImage.h"
#include "editor/FleetRun.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "sim/RadioModel.h"
#include "tests/support/PtyPlatform.h"
#include "tests/support/PtyRadioProcess.h"

namespace {

QByteArray EveryByteValue(int size) {
    QByteArray b(size, 0);
    for (int i = 0; i < size; ++i) b[i] = static_cast<char>((i * 37 + i / 256) & 0xFF);
    return b;
}

} // namespace

TEST(SerialPty, WholeReadAndGroupWriteCarryEveryByteValue) {
    QTemporaryDir dir;
    const QString eepromPath = dir.filePath("radio.bin");
    const QByteArray radio = EveryByteValue(VKTCore::RadioMemorySize);
    {
        QFile f(eepromPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(radio);
    }
    PtyRadioProcess sim({"--eeprom", eepromPath});
    ASSERT_FALSE(sim.device().empty());

    PtyPlatform platform(sim.device());
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink link(platform);
    VKTCom::Transfers transfers(link, proc);
    link.InitLinkParameters();
    VKTCore::MemoryImage.fill(0);

    ASSERT_TRUE(transfers.ReadAllMemory());
    EXPECT_TRUE(link.FastRadio);
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a)
        ASSERT_EQ(VKTCore::MemoryImage[static_cast<size_t>(a)], static_cast<uint8_t>(radio[a])) << a;

    // Group 3 gets every byte value, in another order.
    const int base = 256 + 2 * 384;
    for (int i = 0; i < 384; ++i) VKTCore::MemoryImage[static_cast<size_t>(base + i)] = static_cast<uint8_t>(255 - (i % 256));
    ASSERT_TRUE(transfers.WriteGroupMemory(3));
    ASSERT_TRUE(sim.stop());

    QFile f(eepromPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray after = f.readAll();
    ASSERT_EQ(after.size(), VKTCore::RadioMemorySize);
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a) {
        const auto old = static_cast<uint8_t>(radio[a]);
        uint8_t expected = old;
        if (a >= base + 32 && a < base + 384) expected = VKTCore::MemoryImage[static_cast<size_t>(a)];
        if (a == base) expected = static_cast<uint8_t>((old & ~0x20) | (VKTCore::MemoryImage[static_cast<size_t>(a)] & 0x20));
        ASSERT_EQ(static_cast<uint8_t>(after[a]), expected) << a;
    }
}

TEST(SerialPty, MissingDeviceFailsToOpenAndSaysWhich) {
    vktqt::QtSerialPort port([](int) { return std::string("/nonexistent/ttyVKT9"); });
    port.setPortNumber(2);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_NE(port.openError().find("Comm Port 2 (/nonexistent/ttyVKT9) cannot be opened"), std::string::npos)
        << port.openError();
    vktqt::QtSerialPort none([](int) { return std::string(); });
    EXPECT_FALSE(none.open());
    EXPECT_NE(none.openError().find("has no serial device"), std::string::npos);
}

TEST(SerialPty, AnEmulatorKilledMidReadEndsTheReadAndARestartedOneWorks) {
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    auto sim = std::make_unique<PtyRadioProcess>(QStringList{"--link", link});
    ASSERT_FALSE(sim->device().empty());
    PtyPlatform platform(link.toStdString(), true);
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink radioLink(platform);
    VKTCom::Transfers transfers(radioLink, proc);
    radioLink.InitLinkParameters();
    platform.onEvents = [&] {
        if (sim && proc.Prog1.Value() > 1000) sim->kill();  // the plug pulled out
    };
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(transfers.ReadAllMemory());
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(platform.boxes, std::vector<std::string>{VKTCom::Transfers::ReadErrorText});
    EXPECT_FALSE(radioLink.RadioHooked);
    EXPECT_FALSE(proc.Loaded());

    platform.onEvents = nullptr;
    sim = std::make_unique<PtyRadioProcess>(QStringList{"--link", link});
    ASSERT_FALSE(sim->device().empty());
    platform.boxes.clear();
    EXPECT_TRUE(transfers.ReadGroupMemory(1));
    EXPECT_TRUE(platform.boxes.empty());
}

// A port another program has open is in use, not forbidden: no advice about
// groups and modes, and the program named where the system says who.
TEST(SerialPty, APortInUseSaysSoAndByWhom) {
    PtyRadioProcess sim({});
    ASSERT_FALSE(sim.device().empty());
    QTemporaryDir dir;
    QProcess reader;
    reader.start(VKT_CLI, {"read", "--device", QString::fromStdString(sim.device()), "-o", dir.filePath("r.vkt")});
    ASSERT_TRUE(reader.waitForStarted());
    reader.waitForFinished(1500);  // the read is under way
    vktqt::QtSerialPort port([&sim](int) { return sim.device(); });
    EXPECT_FALSE(port.open());
    const std::string expected = "Comm Port 1 (" + sim.device() + ") is in use by another program (process " +
                                 std::to_string(reader.processId()) + ", ";
    EXPECT_EQ(port.openError().rfind(expected, 0), 0u) << port.openError();
    EXPECT_EQ(port.openError().find("group"), std::string::npos) << port.openError();
    ASSERT_TRUE(reader.waitForFinished(20000));
    EXPECT_EQ(reader.exitCode(), 0);
    EXPECT_TRUE(port.open());
}

namespace {

// Four emulated radios on four pseudo-terminals, telling when they are hooked.
struct FourRadios {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    explicit FourRadios(int silent = -1) {
        for (int i = 0; i < 4; ++i) {
            QStringList options{"--eeprom", file(i), "--print-state"};
            if (i == silent) options << "--silent";
            sims.push_back(std::make_unique<PtyRadioProcess>(options));
        }
    }
    QString file(int i) const { return dir.filePath(QString("radio%1.bin").arg(i)); }
    QStringList devices() const {
        QStringList args;
        for (const auto& s : sims) args << "--device" << QString::fromStdString(s->device());
        return args;
    }
};

} // namespace

// The command-line tool writes and verifies a fleet setup over real lines:
// each emulator's memory holds exactly what was sent.
TEST(SerialPty, FourRadiosAtOnceAndOneSilentFailsAlone) {
    FourRadios radios(2);
    QProcess vkt;
    vkt.start(VKT_CLI, QStringList{"write", QString(VKT_TEST_DATA_DIR) + "/fleet.vkt", "--verify"} + radios.devices());
    ASSERT_TRUE(vkt.waitForFinished(60000));
    const QString out = vkt.readAllStandardOutput();
    EXPECT_EQ(vkt.exitCode(), 1) << out.toStdString();
    EXPECT_TRUE(out.contains(QString::fromStdString(radios.sims[2]->device()) + "  radio unknown  FAILED: hook: no answer")) << out.toStdString();
    EXPECT_EQ(out.count("  written and verified  "), 3) << out.toStdString();
    EXPECT_TRUE(out.contains("3 of 4 radios written and verified in ")) << out.toStdString();
    EXPECT_TRUE(out.contains("; not done: " + QString::fromStdString(radios.sims[2]->device()))) << out.toStdString();

    QFile setupFile(QString(VKT_TEST_DATA_DIR) + "/fleet.vkt");
    ASSERT_TRUE(setupFile.open(QIODevice::ReadOnly));
    const QByteArray setup = setupFile.readAll();
    const QByteArray factory(reinterpret_cast<const char*>(vktsim::RadioModel::FactorySetup().data()), VKTCore::RadioMemorySize);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(radios.sims[static_cast<size_t>(i)]->hooked()) << i;
        ASSERT_TRUE(radios.sims[static_cast<size_t>(i)]->stop());
        QFile f(radios.file(i));
        if (i == 2) {
            EXPECT_FALSE(f.exists());  // never written, so never saved
            continue;
        }
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray radio = f.readAll();
        for (int a = 0; a < VKTCore::RadioMemorySize; ++a) {
            const int sent = VKTCom::SentBits(a);
            ASSERT_EQ(static_cast<uint8_t>(radio[a]), (static_cast<uint8_t>(factory[a]) & ~sent) | (static_cast<uint8_t>(setup[a]) & sent))
                << "radio " << i << " address " << a;
        }
    }
}

// However a fleet run ends, each radio is released. Ctrl-C reaches the run
// and every copy of it; a hang-up reaches the run alone, which passes it on
// as it does a SIGTERM; a run killed outright passes nothing on, and its
// copies, finding their standard input closed, let their radios go.
TEST(SerialPty, EveryRadioOfAFleetRunIsReleasedHoweverTheRunEnds) {
    const std::pair<int, bool> endings[] = {{SIGINT, true}, {SIGHUP, false}, {SIGKILL, false}};
    for (const auto& [sig, toTheGroup] : endings) {
        SCOPED_TRACE(sig);
        FourRadios radios;
        QProcess vkt;
        vkt.setChildProcessModifier([] { ::setpgid(0, 0); });  // its own group, as a terminal's foreground job
        vkt.start(VKT_CLI, QStringList{"write", QString(VKT_TEST_DATA_DIR) + "/fleet.vkt"} + radios.devices());
        ASSERT_TRUE(vkt.waitForStarted());
        vkt.waitForFinished(3000);
        const auto pid = static_cast<pid_t>(vkt.processId());
        ::kill(toTheGroup ? -pid : pid, sig);
        ASSERT_TRUE(vkt.waitForFinished(15000));
        if (sig != SIGKILL) {
            EXPECT_EQ(vkt.exitCode(), 130);
            const QString out = vkt.readAllStandardOutput();
            EXPECT_EQ(out.count("INTERRUPTED"), 4) << out.toStdString();
        }
        for (auto& sim : radios.sims) {
            for (int wait = 0; wait < 100 && sim->hooked(); ++wait) {}
            EXPECT_FALSE(sim->hooked());
        }
    }
}

// The editor's fleet window, on two emulated radios added for practice, one
// of them silent: the copies of vkt write and verify the one and fail the
// other alone, the record keeps both, and both radios are released.
TEST(SerialPty, TheFleetWindowWritesOneRadioWhileItsSilentNeighbourFails) {
    QTemporaryDir data;
    vktqt::QtPlatform platform;
    vktqt::ProcessWorkers workers(VKT_CLI);
    vkteditor::FleetRun fleet(platform, platform, workers, data.path().toStdString());
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    fleet.startEmulator = [&sims](const std::string& memory, std::string&) {
        QStringList options{"--eeprom", QString::fromStdString(memory), "--print-state"};
        if (!sims.empty()) options << "--silent";
        sims.push_back(std::make_unique<PtyRadioProcess>(options));
        return sims.back()->device();
    };
    QFile setupFile(QString(VKT_TEST_DATA_DIR) + "/fleet.vkt");
    ASSERT_TRUE(setupFile.open(QIODevice::ReadOnly));
    const QByteArray setup = setupFile.readAll();
    fleet.setupShown = [&setup] {
        VKTCore::Image image{};
        std::copy(setup.begin(), setup.end(), image.begin());
        return image;
    };
    fleet.Show();
    fleet.cmdEmulated_Click();
    fleet.cmdEmulated_Click();
    fleet.cmdStart_Click();
    QElapsedTimer t;
    t.start();
    while (fleet.running() && t.elapsed() < 60000) fleet.pass(0.1);
    const size_t first = fleet.ports.size() - 2;
    EXPECT_EQ(fleet.result(first).rfind("written and verified ", 0), 0u) << fleet.result(first);
    EXPECT_EQ(fleet.radio(first), "2AAA0105");
    EXPECT_EQ(fleet.result(first + 1).rfind("FAILED: hook: no answer", 0), 0u) << fleet.result(first + 1);
    const std::string silent = "Emulated radio 2 (" + sims[1]->device() + ")";
    EXPECT_NE(fleet.lblSummary.Caption().find("1 of 2 radios written and verified in "), std::string::npos) << fleet.lblSummary.Caption();
    EXPECT_NE(fleet.lblSummary.Caption().find("; not done: " + silent), std::string::npos) << fleet.lblSummary.Caption();
    QFile record(data.filePath("fleet-record.csv"));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_EQ(record.readAll().count('\n'), 3);  // the header and a row per radio
    for (auto& sim : sims) EXPECT_FALSE(sim->hooked());
    ASSERT_TRUE(sims[0]->stop());
    QFile memory(data.filePath("fleet-radio-1.eeprom"));
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
    const QByteArray radio = memory.readAll();
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a)
        if (VKTCom::SentBits(a) == 0xFF) ASSERT_EQ(radio[a], setup[a]) << "address " << a;
}
