// SPDX-License-Identifier: GPL-3.0-or-later
// Link benchmarks on the real serial path (QSerialPort on a pseudo-terminal
// to vkt-radio-sim): whole-memory reads of a fast and a slow radio against
// the line-rate minimum, and the CPU a wait on a silent radio costs.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

#include "core/MemoryImage.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "qt/QtPlatform.h"
#include "tests/support/PtyRadioProcess.h"

namespace {

// Answers Retry until `retries` boxes were shown, then Cancel.
class BenchPlatform : public vktqt::QtPlatform {
public:
    BenchPlatform(std::string device, int retries) : port_([device](int) { return device; }), retries_(retries) {}
    vkt::Answer MsgBox(const std::string&, vkt::Buttons, vkt::Icon, const std::string&, bool) override {
        return boxes++ < retries_ ? vkt::Answer::Retry : vkt::Answer::Cancel;
    }
    vkt::SerialPort& serialPort() override { return port_; }
    int boxes = 0;

private:
    vktqt::QtSerialPort port_;
    int retries_;
};

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

constexpr double Byte4800 = 10.0 / 4800, Byte9600 = 10.0 / 9600;
constexpr int Blocks = VKTCore::BlockCount;

// Seconds a transfer took on a fast or slow emulated radio over a pseudo-terminal.
template <typename Run>
double TimeTransfer(bool fast, Run run, bool& ok) {
    ok = false;
    PtyRadioProcess sim(fast ? QStringList{} : QStringList{"--slow"});
    if (sim.device().empty()) {
        std::puts("cannot start vkt-radio-sim");
        return 0;
    }
    BenchPlatform platform(sim.device(), 0);
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink link(platform);
    VKTCom::Transfers transfers(link, proc);
    link.InitLinkParameters();
    QElapsedTimer t;
    t.start();
    ok = run(transfers);
    return t.nsecsElapsed() / 1e9;
}

int ReadWholeMemory(bool fast) {
    bool ok = false;
    const double elapsed = TimeTransfer(fast, [](VKTCom::Transfers& t) { return t.ReadAllMemory(); }, ok);

    // Hook (13 bytes, 1 answer), identity (4 questions, 4 answers) and, for a
    // fast radio, the speed change (2 bytes, 1 answer), all at 4800 baud.
    const double handshake = (14 + 8 + (fast ? 3 : 0)) * Byte4800;
    const double pause = 0.5;
    double line = 0, pacing = 0;
    if (fast) {
        line = Blocks * 35 * Byte9600;  // 198, N, 255 out; 32 bytes back
    } else {
        line = Blocks * 4 * Byte4800;   // 198, N out; the first and the last answer
        pacing = Blocks * 31 * 0.003;   // 31 pacing bytes, 3 ms apart
    }
    // The stray-byte guards cost no time of their own: they watch windows
    // in which no honest radio can answer.
    const double minimum = handshake + line;
    const double allowed = minimum + pause + pacing;
    std::printf("%s radio, whole-memory read: %s in %.3f s; line-rate minimum %.3f s + protocol pauses %.3f s = %.3f s; "
                "ratio %.3f (target <= %s)\n",
                fast ? "fast (9600 baud)" : "slow (4800 baud)", ok ? "done" : "FAILED", elapsed, minimum,
                pause + pacing, allowed, elapsed / allowed, fast ? "1.03" : "1.10");
    return ok ? 0 : 1;
}

// A whole write, the unit-wide settings included, always at 4800 baud.
int WriteWholeMemory(bool fast) {
    for (size_t a = 0; a < VKTCore::MemoryImage.size(); ++a) VKTCore::MemoryImage[a] = static_cast<uint8_t>(a * 7);
    bool ok = false;
    const double elapsed = TimeTransfer(fast, [](VKTCom::Transfers& t) { return t.WriteAllMemory(false); }, ok);

    // Two releases; hook and identity; 30 masked writes of page 0 (5 bytes
    // out, 1 back); of the 180 group blocks 15 first ones as masked writes and
    // 165 as blocks (34 out, 1 back); the release.
    const int groupFirstBlocks = VKTCore::GroupCount;
    const int bytes = 2 + (14 + 8) + 30 * 6 + groupFirstBlocks * 6 + (180 - groupFirstBlocks) * 35 + 1;
    const double minimum = bytes * Byte4800;
    const double pause = 0.5;
    const double allowed = minimum + pause;
    std::printf("%s radio, whole-memory write: %s in %.3f s; line-rate minimum %.3f s + protocol pauses %.3f s = %.3f s; "
                "ratio %.3f (target <= 1.05)\n",
                fast ? "fast" : "slow", ok ? "done" : "FAILED", elapsed, minimum, pause, allowed, elapsed / allowed);
    return ok ? 0 : 1;
}

// The command-line tool end to end: its own start-up, a whole read and the file.
int VktRead() {
    PtyRadioProcess sim({});
    if (sim.device().empty()) { std::puts("cannot start vkt-radio-sim"); return 1; }
    QTemporaryDir dir;
    QProcess vkt;
    QElapsedTimer t;
    t.start();
    vkt.start(VKT_CLI, {"read", "--device", QString::fromStdString(sim.device()), "-o", dir.filePath("r.vkt")});
    vkt.waitForFinished(60000);
    const double elapsed = t.nsecsElapsed() / 1e9;
    const double allowed = (14 + 8 + 3) * Byte4800 + Blocks * 35 * Byte9600 + 0.5;
    std::printf("vkt read of a fast radio: exit %d in %.3f s; line-rate minimum + pauses %.3f s; ratio %.3f (target <= 1.10)\n",
                vkt.exitCode(), elapsed, allowed, elapsed / allowed);
    return vkt.exitCode();
}

int SilentRadioWait() {
    PtyRadioProcess sim({"--silent"});
    if (sim.device().empty()) { std::puts("cannot start vkt-radio-sim"); return 1; }
    BenchPlatform platform(sim.device(), 4);  // five cycles of four 0.5 s attempts
    VKTCom::RadioLink link(platform);
    link.InitLinkParameters();
    QElapsedTimer t;
    t.start();
    const double cpu0 = CpuSeconds();
    const bool hooked = link.HookRadio();
    const double cpu = CpuSeconds() - cpu0;
    const double wall = t.nsecsElapsed() / 1e9;
    std::printf("silent radio: %s after %.2f s waiting; CPU %.3f s = %.2f %% of one core (target < 2 %%)\n",
                hooked ? "HOOKED?" : "not hooked", wall, cpu, 100 * cpu / wall);
    return hooked ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failures = 0;
    failures += ReadWholeMemory(true);
    failures += ReadWholeMemory(false);
    failures += WriteWholeMemory(true);
    failures += WriteWholeMemory(false);
    failures += VktRead();
    failures += SilentRadioWait();
    return failures;
}
