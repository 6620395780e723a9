// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/ProcessWorkers.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QTimer>

namespace vktqt {

ProcessWorkers::ProcessWorkers(QString program) : program_(std::move(program)) {}

ProcessWorkers::~ProcessWorkers() {
    for (auto& p : processes_) {
        if (p->state() == QProcess::NotRunning) continue;
        p->kill();
        p->waitForFinished(2000);
    }
}

int ProcessWorkers::start(const std::vector<std::string>& args) {
    const int worker = static_cast<int>(processes_.size());
    auto process = std::make_unique<QProcess>();
    // What a copy says about its own radio's boxes is in its result line.
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process.get(), &QProcess::readyReadStandardOutput, [this, worker] { heard(worker); });
    QObject::connect(process.get(), &QProcess::finished, [this, worker](int code, QProcess::ExitStatus status) {
        heard(worker);
        events_.push_back({worker, "", true, status == QProcess::NormalExit ? code : -1});
    });
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    // The copy's standard input is a pipe from this program: the stop line
    // on it, or its end when this program ends however it ends, tells the
    // copy to let its radio go.
    process->start(program_, list);
    processes_.push_back(std::move(process));
    return worker;
}

void ProcessWorkers::heard(int worker) {
    QProcess& p = *processes_.at(static_cast<size_t>(worker));
    while (p.canReadLine()) {
        QByteArray line = p.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        events_.push_back({worker, line.toStdString(), false, 0});
    }
}

std::vector<vkt::WorkerPool::Event> ProcessWorkers::wait(double seconds) {
    if (events_.empty()) {
        // Sleeps until a copy says something or ends, or the time is up.
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        for (auto& p : processes_) {
            QObject::connect(p.get(), &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
            QObject::connect(p.get(), &QProcess::finished, &loop, &QEventLoop::quit);
        }
        loop.exec();
    }
    std::vector<Event> out(events_.begin(), events_.end());
    events_.clear();
    return out;
}

void ProcessWorkers::interruptAll() {
    const QByteArray line = QByteArray(vkt::WorkerStopLine) + '\n';
    for (auto& p : processes_) {
        if (p->state() != QProcess::Running) continue;
        p->write(line);
        p->waitForBytesWritten(1000);
    }
}

std::string Sha256Hex(const std::vector<uint8_t>& bytes) {
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

} // namespace vktqt
