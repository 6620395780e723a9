// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/Outcome.h"

namespace vktfleet {

const char* ActionWord(Action a) {
    switch (a) {
    case Action::Read: return "read";
    case Action::Write: return "write";
    case Action::Verify: return "verify";
    }
    return "";
}

const char* PhaseWord(Phase p) {
    switch (p) {
    case Phase::Reading: return "reading";
    case Phase::Writing: return "writing";
    case Phase::Verifying: return "verifying";
    }
    return "";
}

const char* RecordWord(Outcome o) { return o == Outcome::Unverified ? "not verified" : LineWord(o); }

const char* LineWord(Outcome o) {
    switch (o) {
    case Outcome::Done: return "done";
    case Outcome::Unverified: return "unverified";
    case Outcome::Failed: return "failed";
    case Outcome::Interrupted: return "interrupted";
    }
    return "";
}

std::optional<Outcome> OutcomeOfLine(const std::string& word) {
    for (Outcome o : {Outcome::Done, Outcome::Unverified, Outcome::Failed, Outcome::Interrupted})
        if (word == LineWord(o)) return o;
    return std::nullopt;
}

const char* DoneText(Action a, bool verify) {
    if (a == Action::Read) return "read";
    return verify ? "written and verified" : "written";
}

std::string Radios(int count) { return std::to_string(count) + (count == 1 ? " radio" : " radios"); }

} // namespace vktfleet
