// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copies of vkt serving the cables of a fleet run, as processes of
// their own: their output heard line by line, their ends noticed, an
// interrupt passed on as a stop line on their standard input.

#include <QProcess>

#include <deque>
#include <memory>
#include <vector>

#include "platform/WorkerPool.h"

namespace vktqt {

class ProcessWorkers : public vkt::WorkerPool {
public:
    // program: the vkt to run again (this one).
    explicit ProcessWorkers(QString program);
    ~ProcessWorkers() override;

    int start(const std::vector<std::string>& args) override;
    std::vector<Event> wait(double seconds) override;
    void interruptAll() override;

private:
    void heard(int worker);
    void queue(Event e);

    QObject context_;  // ends the pending calls of eventsWaiting with the pool
    bool toldPending_ = false;
    QString program_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    std::deque<Event> events_;
};

// The SHA-256 of some bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::vector<uint8_t>& bytes);

} // namespace vktqt
