// SPDX-License-Identifier: GPL-3.0-or-later
// Fleet programming: four emulated radios written and verified at once,
// each on its own pseudo-terminal, against one alone, by vkt and by the
// editor's fleet window; sixteen, each numbered with its own unit ID, as on
// a hub of adapters; what each copy of vkt costs in processor time while it
// mostly waits on its radio; and --changed-only against the backup, whole
// write and verify it replaces.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "editor/FleetRun.h"
#include "fleet/Outcome.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "core/MemoryImage.h"
#include "link/Transfers.h"
#include "sim/RadioModel.h"
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

// vkt with `args` on n radios at once, each starting with `memory` (the
// factory setup when empty); the CPU of vkt and its copies. With `after`
// (and a memory), each radio's memory once vkt is done, in cable order.
Run Vkt(QStringList args, int n = 1, const QByteArray& memory = {}, std::vector<QByteArray>* after = nullptr) {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<PtyRadioProcess>> sims;
    for (int i = 0; i < n; ++i) {
        QStringList options;
        if (!memory.isEmpty()) {
            QFile f(dir.filePath(QString("radio%1.bin").arg(i)));
            if (f.open(QIODevice::WriteOnly)) f.write(memory);
            options << "--eeprom" << f.fileName();
        }
        sims.push_back(std::make_unique<PtyRadioProcess>(options));
        args << "--device" << QString::fromStdString(sims.back()->device());
    }
    if (args.contains("-o")) args[args.indexOf("-o") + 1] = dir.filePath("read.vkt");
    QProcess vkt;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VKT_DATA_DIR", dir.path());  // the backups of --changed-only
    vkt.setProcessEnvironment(env);
    const double cpu0 = ChildrenCpu();
    QElapsedTimer t;
    t.start();
    vkt.start(VKT_CLI, args);
    vkt.waitForFinished(120000);
    Run r;
    r.seconds = t.nsecsElapsed() / 1e9;
    r.cpu = ChildrenCpu() - cpu0;
    r.ok = vkt.exitCode() == 0;
    if (!r.ok) std::printf("vkt %s: exit %d: %s\n", qPrintable(args.join(' ')), vkt.exitCode(), vkt.readAllStandardError().constData());
    for (int i = 0; after && i < n; ++i) {
        sims[static_cast<size_t>(i)]->stop();
        after->push_back(FileBytes(dir.filePath(QString("radio%1.bin").arg(i))));
    }
    return r;
}

// How often the fleet window's rows were redrawn, and the most progress
// changes one row made: a row that moved per byte would flood its view.
struct RowUpdates {
    int redraws = 0, mostPerRow = 0;
};

// The same from the fleet window's model: n emulated radios added, Start,
// and the copies heard as the window's timer hears them.
Run WriteAndVerifyFromTheWindow(int n, RowUpdates* updates = nullptr) {
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
    std::vector<std::pair<std::string, int>> shown(fleet.ports.size(), {"", -1});
    std::vector<int> changes(fleet.ports.size());
    if (updates) {
        fleet.chkNumber.setValue(true);
        fleet.txtFirstId.setText("1001");
        fleet.rowsChanged = [&] {
            ++updates->redraws;
            for (size_t i = 0; i < fleet.ports.size(); ++i) {
                const std::pair<std::string, int> now{fleet.phase(i), fleet.percent(i)};
                if (now != shown[i]) ++changes[i];
                shown[i] = now;
            }
        };
    }
    QElapsedTimer t;
    t.start();
    fleet.cmdStart_Click();
    while (fleet.running()) fleet.pass(0.1);
    Run r;
    r.seconds = t.nsecsElapsed() / 1e9;
    r.ok = fleet.lblSummary.Caption().rfind(std::to_string(n) + " of " + vktfleet::Radios(n), 0) == 0;
    if (updates) updates->mostPerRow = *std::max_element(changes.begin(), changes.end());
    // The window's rows as the technician reads them.
    for (size_t i = 0; i < fleet.ports.size(); ++i)
        if (fleet.ports[i].checked) std::printf("  %s  %s  %s\n", fleet.ports[i].text.c_str(), fleet.radio(i).c_str(), fleet.result(i).c_str());
    std::printf("  %s\n", fleet.lblSummary.Caption().c_str());
    return r;
}

} // namespace

Run WriteAndVerify(int n) { return Vkt({"write", VKT_FLEET_SETUP, "--verify"}, n); }

// The radio memories --changed-only meets: holding the setup, differing in
// one group's channels, differing everywhere.
struct Memories {
    QByteArray holding, oneGroup, everywhere;
};

Memories RadioMemories() {
    QFile f(VKT_FLEET_SETUP);
    f.open(QIODevice::ReadOnly);
    const QByteArray setup = f.readAll();
    const auto factory = vktsim::RadioModel::FactorySetup();
    Memories m;
    m.holding.resize(VKTCore::RadioMemorySize);
    for (int a = 0; a < VKTCore::RadioMemorySize; ++a)
        m.holding[a] = static_cast<char>((factory[static_cast<size_t>(a)] & ~VKTCom::SentBits(a)) | (setup[a] & VKTCom::SentBits(a)));
    m.oneGroup = m.holding;
    for (int c = 0; c < VKTCore::ChannelCount; ++c) {
        const int rx = VKTCore::ChannelSlotAddress(2, c) + 1;
        m.oneGroup[rx] = static_cast<char>(m.oneGroup[rx] ^ 0x11);
    }
    m.everywhere = m.holding;
    for (char& b : m.everywhere) b = static_cast<char>(~b);
    return m;
}

void Print(const char* what, const Run& r, double reference, const char* of, double target) {
    std::printf("%s: %s in %.2f s; %.2f s %s; ratio %.3f (target <= %.2f)\n", what, r.ok ? "done" : "FAILED", r.seconds, reference,
                of, r.seconds / reference, target);
}

// --changed-only against what it saves: a backup read, a whole write and a
// verifying read.
bool ChangedOnly() {
    const Memories m = RadioMemories();
    const Run read = Vkt({"read", "-o", ""});
    const Run whole = WriteAndVerify(1);
    const double full = read.seconds + whole.seconds;
    std::printf("backup read %s in %.2f s + whole write and verify %s in %.2f s = %.2f s\n", read.ok ? "done" : "FAILED", read.seconds,
                whole.ok ? "done" : "FAILED", whole.seconds, full);
    const QStringList changed{"write", VKT_FLEET_SETUP, "--changed-only"};
    const Run group = Vkt(changed, 1, m.oneGroup);
    Print("--changed-only, one group's channels differ", group, full, "backup + whole write + verify", 0.37);
    std::printf("  and %.2f s against 11 s (target <= 11)\n", group.seconds);
    const Run same = Vkt(changed, 1, m.holding);
    Print("--changed-only, the radio holds the setup", same, read.seconds, "one whole read", 1.05);
    const Run all = Vkt(changed, 1, m.everywhere);
    Print("--changed-only, the radio differs everywhere", all, full, "backup + whole write + verify", 1.03);
    const Run four = Vkt(changed, 4, m.oneGroup);
    Print("--changed-only, four radios at once, one group differs", four, group.seconds, "one radio", 1.10);
    return read.ok && whole.ok && group.ok && same.ok && all.ok && four.ok;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool changedOnly = ChangedOnly();
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
    // A hub of sixteen adapters, every radio numbered: against one radio.
    std::vector<QByteArray> after;
    const Run sixteen = Vkt({"write", VKT_FLEET_SETUP, "--verify", "--unit-ids", "1001"}, 16, RadioMemories().holding, &after);
    int own = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        const QByteArray id = "0" + QByteArray::number(static_cast<int>(1001 + i)).rightJustified(7, '0');
        bool all = after[i].size() == VKTCore::RadioMemorySize;
        for (int g = 0; all && g < VKTCore::GroupCount; ++g) all = after[i].mid(VKTCore::GroupBase(g) + 41, 4).toHex() == id;
        own += all ? 1 : 0;
    }
    std::printf("sixteen radios at once, numbered from 1001: %s in %.2f s; ratio %.3f (target <= 1.20)\n", sixteen.ok ? "done" : "FAILED",
                sixteen.seconds, sixteen.seconds / one.seconds);
    std::printf("  each of its copies at most %.2f %% of one core (target < 2 %%); %d of 16 radios hold their own ID in every group\n",
                100 * sixteen.cpu / 16 / sixteen.seconds, own);
    const Run windowOne = WriteAndVerifyFromTheWindow(1);
    const Run windowFour = WriteAndVerifyFromTheWindow(4);
    std::printf("from the fleet window: one radio %s in %.2f s, four %s in %.2f s; ratio %.3f (target <= 1.10)\n",
                windowOne.ok ? "done" : "FAILED", windowOne.seconds, windowFour.ok ? "done" : "FAILED", windowFour.seconds,
                windowFour.seconds / windowOne.seconds);
    RowUpdates rows;
    const Run windowSixteen = WriteAndVerifyFromTheWindow(16, &rows);
    // Reading, writing and verifying: at most a change per percent of each.
    std::printf("sixteen from the fleet window, numbered from 1001: %s in %.2f s; ratio %.3f (target <= 1.20); rows redrawn %d times, "
                "at most %d progress changes in one row (target <= %d)\n",
                windowSixteen.ok ? "done" : "FAILED", windowSixteen.seconds, windowSixteen.seconds / windowOne.seconds, rows.redraws,
                rows.mostPerRow, 3 * 101);
    return one.ok && four.ok && changedOnly && sixteen.ok && own == 16 && windowOne.ok && windowFour.ok && windowSixteen.ok &&
                   rows.mostPerRow <= 3 * 101
               ? 0
               : 1;
}
