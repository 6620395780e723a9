#pragma once
// Program-wide flags set at start-up.

namespace GLOBALS {

// Whether the Tune command shows its warning first ("Yes" or no setting).
inline bool ShowTuneWarning = true;

} // namespace GLOBALS
