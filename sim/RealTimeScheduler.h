// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scheduling against the wall clock, for an emulated radio that talks to a
// program in real time: what was scheduled runs when someone calls runDue()
// at or after its time.

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "sim/Scheduler.h"

namespace vktsim {

class RealTimeScheduler : public Scheduler {
public:
    RealTimeScheduler();
    double now() const override;
    void at(double when, std::function<void()> action) override;
    // Seconds until the next action (a large number when none is due).
    double untilNext() const;
    void runDue();

private:
    double origin_;
    uint64_t sequence_ = 0;
    std::map<std::pair<double, uint64_t>, std::function<void()>> events_;
};

} // namespace vktsim
