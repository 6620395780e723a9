// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/PtyRadioProcess.h"

#include <QFile>

#include <signal.h>

constexpr int SilentMs = 120000;  // only a fault keeps the emulator silent this long, however loaded the machine

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

PtyRadioProcess::PtyRadioProcess(const QStringList& options) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(VKT_RADIO_SIM, options);
    if (!process_.waitForStarted(SilentMs)) return;
    if (!process_.waitForReadyRead(SilentMs)) return;
    device_ = process_.readLine().trimmed().toStdString();
}

QString PtyRadioProcess::Program() { return VKT_RADIO_SIM; }

PtyRadioProcess::~PtyRadioProcess() { if (process_.state() != QProcess::NotRunning) kill(); }

bool PtyRadioProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return false;
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    return process_.waitForFinished(SilentMs) && process_.exitCode() == 0;
}

bool PtyRadioProcess::waitUntil(bool hooked) {
    for (;;) {
        while (process_.canReadLine()) hooked_ = process_.readLine().trimmed() == "hooked";
        if (hooked_ == hooked) return true;
        if (!process_.waitForReadyRead(SilentMs)) return false;
    }
}

void PtyRadioProcess::kill() {
    process_.kill();
    process_.waitForFinished(SilentMs);
}
