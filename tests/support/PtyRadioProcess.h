// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vkt-radio-sim started for a test or a benchmark, on its own pseudo-terminal.

#include <QProcess>
#include <QStringList>

#include <string>

// A file's bytes (none when it cannot be read); a file written with bytes.
QByteArray FileBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

class PtyRadioProcess {
public:
    // Starts the emulator with the given options; device() is empty on failure.
    explicit PtyRadioProcess(const QStringList& options);
    ~PtyRadioProcess();
    const std::string& device() const { return device_; }
    // The emulator program itself, for runs that are expected to refuse.
    static QString Program();
    // Ends the emulator the way a user does (it saves its EEPROM file).
    bool stop();
    // Ends it at once, as a pulled plug does.
    void kill();
    // With --print-state: waits until the emulator tells that the radio is in programming mode (hooked) or out
    // of it; false when it ends or falls silent first.
    bool waitUntil(bool hooked);

private:
    QProcess process_;
    std::string device_;
    bool hooked_ = false;
};
