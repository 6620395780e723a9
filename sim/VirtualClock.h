// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock that moves only when told to, running what was scheduled on the
// way, in time order. Tests run the link and the emulated radio on it, so a
// two-second time-out takes no real time at all.

#include <cstdint>
#include <map>
#include <utility>

#include "sim/Scheduler.h"

namespace vktsim {

class VirtualClock : public Scheduler {
public:
    double now() const override { return now_; }
    void at(double when, std::function<void()> action) override;
    // Moves the clock forward by dt seconds.
    void advance(double dt);
    void advanceTo(double t);
    bool idle() const { return events_.empty(); }

private:
    double now_ = 0;
    uint64_t sequence_ = 0;
    // Ordered by time, then by the order they were scheduled in.
    std::map<std::pair<double, uint64_t>, std::function<void()>> events_;
};

} // namespace vktsim
