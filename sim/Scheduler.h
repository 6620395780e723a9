// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Time for the radio emulator: what time it is, and a way to have something
// happen later. The virtual clock of the tests and the real-time loop of
// vkt-radio-sim both provide it.

#include <functional>

namespace vktsim {

class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual double now() const = 0;                        // seconds
    virtual void at(double when, std::function<void()> action) = 0;
};

} // namespace vktsim
