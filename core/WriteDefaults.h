// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The factory setup written into the all-zero image before anything has been
// read from a radio or a file.

namespace WriteDefaults {

void WriteGlobalDefaults();
void WriteGroupDefaults(int intGroup);
void WriteChannelDefaults(int intGroup, int intChan);
// The unit-wide defaults, then every group's.
void WriteAllDefaults();

} // namespace WriteDefaults
