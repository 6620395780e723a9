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
    // With --print-state, each waiting for what the emulator tells: until the
    // radio has gone into programming mode (false: the emulator ended or fell
    // silent first); until it is out of it, as its latest word says.
    bool waitUntilHooked();
    bool released();

private:
    // Reads the next state the emulator tells; false when none comes.
    bool nextState();

    QProcess process_;
    std::string device_;
    bool hooked_ = false;
};
