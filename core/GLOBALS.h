// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program-wide flags set at start-up.

namespace GLOBALS {

// Whether the Tune command shows its warning first ("Yes" or no setting).
inline bool ShowTuneWarning = true;

} // namespace GLOBALS
