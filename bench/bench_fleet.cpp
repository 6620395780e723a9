// SPDX-License-Identifier: GPL-3.0-or-later
// Fleet programming: four emulated radios written and verified at once,
// each on its own pseudo-terminal, against one alone, by vkt and by the
// editor's fleet window; and what each copy of vkt costs in processor time
// while it mostly waits on its radio.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "editor/FleetRun.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "tests/support/PtyRadioProcess.h"

namespace {

double ChildrenCpu() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

struct Run {
    bool ok = false;
    double seconds = 0, cpu = 0;
};

// vkt write --verify on n radios at once; the CPU of vkt and its copies.
Run WriteAndVerify(int n) {
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    QStringList args{"write", VKT_FLEET_SETUP, "--verify"};
    for (int i = 0; i < n; ++i) {
        sims.push_back(std::make_unique<PtyRadioProcess>(QStringList{}));
        args << "--device" << QString::fromStdString(sims.back()->device());
    }
    QProcess vkt;
    const double cpu0 = ChildrenCpu();
    QElapsedTimer t;
    t.start();
    vkt.start(VKT_CLI, args);
    vkt.waitForFinished(120000);
    Run r;
    r.seconds = t.nsecsElapsed() / 1e9;
    r.cpu = ChildrenCpu() - cpu0;
    r.ok = vkt.exitCode() == 0;
    return r;
}

// The same from the fleet window's model: n emulated radios added, Start,
// and the copies heard as the window's timer hears them.
Run WriteAndVerifyFromTheWindow(int n) {
    QTemporaryDir data;
    vktqt::QtPlatform platform;
    vktqt::ProcessWorkers workers(VKT_CLI);
    vkteditor::FleetRun fleet(platform, platform, workers, data.path().toStdString());
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    fleet.startEmulator = [&sims](const std::string& memory, std::string&) {
        sims.push_back(std::make_unique<PtyRadioProcess>(QStringList{"--eeprom", QString::fromStdString(memory)}));
        return sims.back()->device();
    };
    QFile file(VKT_FLEET_SETUP);
    file.open(QIODevice::ReadOnly);
    const QByteArray setup = file.readAll();
    fleet.setupShown = [&setup] {
        VKTCore::Image image{};
        std::copy(setup.begin(), setup.end(), image.begin());
        return image;
    };
    fleet.Show();
    for (int i = 0; i < n; ++i) fleet.cmdEmulated_Click();
    QElapsedTimer t;
    t.start();
    fleet.cmdStart_Click();
    while (fleet.running()) fleet.pass(0.1);
    Run r;
    r.seconds = t.nsecsElapsed() / 1e9;
    r.ok = fleet.lblSummary.Caption().rfind(std::to_string(n) + " of " + std::to_string(n) + " radios", 0) == 0;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Run one = WriteAndVerify(1);
    const Run four = WriteAndVerify(4);
    std::printf("one radio written and verified: %s in %.2f s\n", one.ok ? "done" : "FAILED", one.seconds);
    std::printf("four radios at once: %s in %.2f s; ratio %.3f (target <= 1.10)\n", four.ok ? "done" : "FAILED", four.seconds,
                four.seconds / one.seconds);
    // The run and its four copies, while they wait on their radios; the
    // run's own share counted against the copies, so each is at most this.
    const double perCopy = four.cpu / 4 / four.seconds;
    std::printf("CPU of vkt and its four copies: %.3f s; each copy at most %.2f %% of one core (target < 2 %%)\n", four.cpu,
                100 * perCopy);
    const Run windowOne = WriteAndVerifyFromTheWindow(1);
    const Run windowFour = WriteAndVerifyFromTheWindow(4);
    std::printf("from the fleet window: one radio %s in %.2f s, four %s in %.2f s; ratio %.3f (target <= 1.10)\n",
                windowOne.ok ? "done" : "FAILED", windowOne.seconds, windowFour.ok ? "done" : "FAILED", windowFour.seconds,
                windowFour.seconds / windowOne.seconds);
    return one.ok && four.ok && windowOne.ok && windowFour.ok ? 0 : 1;
}
