// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated radio on Linux: vkt-radio-sim, found beside the editor,
// serving a pseudo-terminal that the emulated port opens like any cable.
#include "app/EmulatedRadio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <vector>

#include "platform/SerialPort.h"
#include "platform/System.h"
#include "qt/QtPlatform.h"

namespace {

QString RadioSimProgram() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QString("vkt-radio-sim") + vkt::ProgramSuffix;
    for (const QString& p : {dir + "/" + name, dir + "/../sim/" + name, dir + "/../bin/" + name})
        if (QFileInfo(p).isExecutable()) return p;
    return {};
}

class PtyEmulatedRadio : public EmulatedRadio {
public:
    PtyEmulatedRadio(vktqt::QtPlatform& platform, QString dataFolder) : platform_(platform), data_(std::move(dataFolder)) {}
    ~PtyEmulatedRadio() override {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        process_.waitForFinished(2000);
    }
    void start() override {
        if (process_.state() != QProcess::NotRunning) return;
        const QString sim = RadioSimProgram();
        if (sim.isEmpty()) return;
        process_.start(sim, {"--eeprom", data_ + "/emulated-radio.eeprom", "--exit-with-parent"});
        if (process_.waitForStarted(3000) && process_.waitForReadyRead(3000))
            platform_.setDeviceForThisRun(vkt::EmulatedPort, process_.readLine().trimmed().toStdString(), "the built-in radio emulator");
    }

private:
    vktqt::QtPlatform& platform_;
    QString data_;
    QProcess process_;
};

class PtyPracticeRadios : public PracticeRadios {
public:
    // Each saves its memory file as it ends.
    ~PtyPracticeRadios() override {
        for (auto& p : processes_) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            p->waitForFinished(2000);
        }
    }
    std::string start(const std::string& memoryFile, std::string& why) override {
        const QString sim = RadioSimProgram();
        if (sim.isEmpty()) {
            why = "vkt-radio-sim is not installed beside the editor";
            return {};
        }
        auto& p = *processes_.emplace_back(std::make_unique<QProcess>());
        p.start(sim, {"--eeprom", QString::fromStdString(memoryFile), "--exit-with-parent"});
        if (!p.waitForStarted(3000) || !p.waitForReadyRead(3000)) {
            why = p.errorString().toStdString();
            return {};
        }
        return p.readLine().trimmed().toStdString();
    }

private:
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace

std::unique_ptr<PracticeRadios> MakePracticeRadios() { return std::make_unique<PtyPracticeRadios>(); }

std::unique_ptr<EmulatedRadio> MakeEmulatedRadio(vktqt::QtPlatform& platform, const QString& dataFolder) {
    return std::make_unique<PtyEmulatedRadio>(platform, dataFolder);
}
