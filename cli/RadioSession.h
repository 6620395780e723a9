// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One radio on the command line's cable: a whole read, or a write of a setup
// with its read-back check, each on a fresh link, with the progress bar on a
// terminal and an interrupt turned into the progress window's Cancel. What
// happened comes back as an outcome the commands print.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/MemoryImage.h"
#include "fleet/Outcome.h"
#include "link/SetupComparison.h"

namespace vktcli {

using vktfleet::Phase;

struct RadioOutcome {
    std::string identity;        // "2AAA0105"; "unknown" when the radio never answered the hook
    std::string tag;             // "2AAA0105 #3F9A", when the unit's calibration was read whole
    std::array<uint8_t, 4> identityBytes{};
    bool done = false;           // read, or written (and verified when asked)
    bool interrupted = false;
    std::string failure;         // where it failed, in words
    int bytes = 0, of = 0;       // how far the transfer that ended it got
    Phase phase = Phase::Reading;  // that transfer
    bool answered = false;       // the radio answered that transfer's hook
    std::vector<VKTCom::FieldDifference> differences;  // the read-back against the setup
    // A write of only the changes: what it was done with ("3 blocks and 2
    // unit-wide bytes written and verified"), and, when it did not get
    // there, what had been written and where the backup is.
    std::string wrote;
    std::string afterwards;
    std::string wroteList;       // which, however it ended: "blocks 20-31 and 2 unit-wide bytes", "nothing"
    std::string backup;          // the path of the radio's backup
    std::vector<int> blocksWritten;
    std::string unitId;          // the ANI/ID its groups were given or kept: "0001001"
};

// What a write does with each group's ANI/ID: leaves the setup's (neither
// given), gives this ID to every group, or keeps the radio's own, read first.
struct UnitIdChoice {
    std::string given;
    bool keep = false;
};

// The whole radio into image.
RadioOutcome ReadRadio(VKTCore::Image& image, Console& c);
// The setup into the radio (its unit-wide settings too unless noGlobals);
// with verify, the radio read back and compared with what was sent.
RadioOutcome WriteRadio(const VKTCore::Image& setup, bool noGlobals, bool verify, const UnitIdChoice& id, Console& c);

// The whole radio read and compared with setup.
RadioOutcome VerifyRadio(const VKTCore::Image& setup, Console& c);

// Reads the whole radio and keeps it as its backup, then writes and
// verifies only the blocks and unit-wide bytes that differ from the setup.
// cable: names the backup, for radios of one model backed up at once.
RadioOutcome WriteChanges(const VKTCore::Image& setup, bool noGlobals, const std::string& cable, const UnitIdChoice& id, Console& c);
// Where the radios' backups are kept: the editor's, backups/ in the data folder.
std::string BackupsFolder();

// What an interrupted run did, and what the radio holds for it:
// "interrupted while writing, after 2944 of 6016 bytes; the radio was
// released; it may hold part of the setup".
std::string InterruptedText(const RadioOutcome& outcome);

// One line per difference, each side named as the command names it.
void PrintDifferences(const std::vector<VKTCom::FieldDifference>& d, const char* first, const char* second, Console& c);

} // namespace vktcli
