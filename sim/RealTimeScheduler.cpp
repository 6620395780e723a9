// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RealTimeScheduler.h"

#include <algorithm>
#include <chrono>

namespace vktsim {

namespace {

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

RealTimeScheduler::RealTimeScheduler() : origin_(WallSeconds()) {}

double RealTimeScheduler::now() const { return WallSeconds() - origin_; }

void RealTimeScheduler::at(double when, std::function<void()> action) {
    events_.emplace(std::make_pair(when, sequence_++), std::move(action));
}

double RealTimeScheduler::untilNext() const {
    return events_.empty() ? 1e9 : std::max(0.0, events_.begin()->first.first - now());
}

void RealTimeScheduler::runDue() {
    while (!events_.empty() && events_.begin()->first.first <= now()) {
        auto node = events_.extract(events_.begin());
        node.mapped()();
    }
}

} // namespace vktsim
