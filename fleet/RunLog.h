// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of every radio a run read or wrote, kept for the customer: a
// CSV file that runs append to, one whole row per radio.

#include <string>

#include "fleet/Outcome.h"

namespace vktfleet {

struct LogRow {
    std::string timeUtc;          // "2026-12-06T23:55:12Z", when the radio was done
    std::string cable;            // "/dev/ttyUSB2", "Comm Port 1"
    std::string radio;            // identity, "2AAA0105"
    std::string setup;            // setup file name ("" for a read)
    std::string setupSha256;
    Action action = Action::Write;
    Outcome result = Outcome::Done;
    bool verified = false;
    double seconds = 0;
    std::string firstDifference;  // when verification failed
    std::string reason;           // why it failed or was interrupted
    std::string written;          // --changed-only: "blocks 20-31 written and verified", "already holds the setup: nothing written"
    std::string unitId;           // the ANI/ID the radio was given or kept: "0001001"
    std::string fingerprint;      // "2AAA0105 #5E4F", when its calibration was read
};

inline constexpr const char* LogHeader =
    "time_utc,cable,radio,setup,setup_sha256,action,result,verified,seconds,first_difference,reason,written,unit_id,fingerprint";

// Appends the row, with the header first when the file is new or empty; false with
// why when it cannot. A row goes in whole or not at all.
bool AppendLogRow(const std::string& path, const LogRow& row, std::string& why);
// The row as a CSV line, without its end.
std::string LogLine(const LogRow& row);
// The current time as the log writes it.
std::string UtcNow();

} // namespace vktfleet
