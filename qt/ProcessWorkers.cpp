// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/ProcessWorkers.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace vktqt {

ProcessWorkers::ProcessWorkers(QString program) : program_(std::move(program)) {}

namespace {

// How long the copies still running when this program ends are given to
// release their radios: a block, and a hook's last answer, with room.
constexpr int ReleaseMs = 5000;

} // namespace

ProcessWorkers::~ProcessWorkers() {
    // The end of its input tells a copy to let its radio go at its next
    // block; killed, it would leave the radio hooked. Only a copy that does
    // not end in good time is killed.
    for (auto& p : processes_) {
        p->disconnect();
        if (p->state() != QProcess::NotRunning) p->closeWriteChannel();
    }
    const QDeadlineTimer deadline(ReleaseMs);
    for (auto& p : processes_) {
        if (p->state() == QProcess::NotRunning) continue;
        if (p->waitForFinished(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) continue;
        p->kill();
        p->waitForFinished(1000);
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
        queue({worker, "", true, status == QProcess::NormalExit ? code : -1, ""});
    });
    // A copy that never started never finishes either: its end is this.
    QObject::connect(process.get(), &QProcess::errorOccurred, [this, worker](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        const QProcess& p = *processes_.at(static_cast<size_t>(worker));
        queue({worker, "", true, -1, (program_ + ": " + p.errorString()).toStdString()});
    });
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    // The copy's standard input is a pipe from this program: the stop line
    // on it, or its end when this program ends however it ends, tells the
    // copy to let its radio go.
    processes_.push_back(std::move(process));
    processes_.back()->start(program_, list);
    return worker;
}

void ProcessWorkers::heard(int worker) {
    QProcess& p = *processes_.at(static_cast<size_t>(worker));
    while (p.canReadLine()) {
        QByteArray line = p.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        queue({worker, line.toStdString(), false, 0, ""});
    }
}

void ProcessWorkers::queue(Event e) {
    events_.push_back(std::move(e));
    // Told from the event loop, never from inside start() or a wait, so the
    // owner always knows the copy an event is about; once for a burst.
    if (!eventsWaiting || toldPending_) return;
    toldPending_ = true;
    QTimer::singleShot(0, &context_, [this] {
        toldPending_ = false;
        if (eventsWaiting) eventsWaiting();
    });
}

std::vector<vkt::WorkerPool::Event> ProcessWorkers::wait(double seconds) {
    if (events_.empty() && seconds > 0) {
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
