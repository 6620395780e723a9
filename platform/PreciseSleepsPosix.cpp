// SPDX-License-Identifier: GPL-3.0-or-later
// Linux wakes a sleeper on a high-resolution timer, within a fraction of a
// millisecond of the time asked for: there is nothing to change.
#include "platform/PreciseSleeps.h"

namespace vkt {

namespace {
int held = 0;
} // namespace

PreciseSleeps::PreciseSleeps() { ++held; }
PreciseSleeps::~PreciseSleeps() { --held; }
int PreciseSleeps::Held() { return held; }

} // namespace vkt
