// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/VirtualClock.h"

#include <algorithm>

namespace vktsim {

void VirtualClock::at(double when, std::function<void()> action) {
    events_.emplace(std::make_pair(std::max(when, now_), sequence_++), std::move(action));
}

void VirtualClock::advance(double dt) { advanceTo(now_ + dt); }

void VirtualClock::advanceTo(double t) {
    while (!events_.empty() && events_.begin()->first.first <= t) {
        auto node = events_.extract(events_.begin());
        now_ = node.key().first;
        node.mapped()();
    }
    now_ = std::max(now_, t);
}

} // namespace vktsim
