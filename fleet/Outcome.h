// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a radio run did and how it ended, as types: the copies' lines, the
// record, the terminal and the fleet window all word them here and nowhere
// else, so a new outcome cannot be missed by one of them.

#include <optional>
#include <string>

namespace vktfleet {

enum class Action { Read, Write, Verify };
// The transfer a radio run is in.
enum class Phase { Reading, Writing, Verifying };
// Done: read, or written (and verified when asked). Unverified: written,
// but the read-back differs. Failed: the radio, the link or the copy failed.
// Interrupted: stopped by the technician, the radio released.
enum class Outcome { Done, Unverified, Failed, Interrupted };

// The record's words: "read", "write", "verify".
const char* ActionWord(Action a);
// The words of the progress lines and bars: "reading", "writing", "verifying".
const char* PhaseWord(Phase p);
// The record's words: "done", "not verified", "failed", "interrupted".
const char* RecordWord(Outcome o);
// The words of a copy's result line, and back; an unknown word is nothing.
const char* LineWord(Outcome o);
std::optional<Outcome> OutcomeOfLine(const std::string& word);
// What a radio run did when it was done: "read", "written" or "written and verified".
const char* DoneText(Action a, bool verify);
// What a write of only the changes did to a radio that held the setup already.
constexpr const char* AlreadyHeld = "already holds the setup: nothing written";
// The count of radios that text stands for: "1 radio", "3 radios".
std::string Radios(int count);

} // namespace vktfleet
