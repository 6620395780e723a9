// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that talk to radios: read, write and verify, on one cable or,
// for read and write, on several at once.

#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/CpuTime.h"
#include "cli/Fleet.h"
#include "cli/RadioSession.h"
#include "fleet/RunLog.h"
#include "fleet/UnitIds.h"
#include "fleet/WorkerLines.h"
#include "store/Backups.h"
#include "store/FileReader.h"
#include "store/Paths.h"

namespace vktcli {

using VKTCore::Image;
using VKTCore::MemoryImage;
using vktfleet::Action;
using vktfleet::Outcome;

namespace {

// "Group 3 Ch 5 Rec Freq: radio 162.45000, setup 162.40000 (and 2 more)"
std::string FirstDifference(const std::vector<VKTCom::FieldDifference>& d) {
    std::string text = d[0].field + ": radio " + d[0].first + ", setup " + d[0].second;
    if (d.size() > 1) text += " (and " + std::to_string(d.size() - 1) + " more)";
    return text;
}

// The radio as one radio's lines name it: with its tag when its calibration was read.
std::string RadioName(const RadioOutcome& r) { return r.tag.empty() ? r.identity : r.tag; }

Outcome OutcomeOf(const RadioOutcome& r) {
    if (r.interrupted) return Outcome::Interrupted;
    if (!r.differences.empty()) return Outcome::Unverified;
    return r.done ? Outcome::Done : Outcome::Failed;
}

// What a radio's run says of itself, whoever shows it.
std::string Detail(const RadioOutcome& r) {
    if (r.interrupted) return InterruptedText(r);
    if (!r.differences.empty()) return FirstDifference(r.differences);
    return r.done ? "" : r.failure;
}

// What a write of only the changes did, in full, for the log and the
// fleet run: "blocks 36, 43 written and verified", "already holds ...".
// A run that did not get there says what it had written, as its reason does.
std::string WhatWasWritten(const RadioOutcome& r) {
    if (r.wroteList.empty()) return "";
    if (r.done) return r.wroteList == "nothing" ? r.wrote : r.wroteList + " written and verified";
    return r.wroteList == "nothing" ? "nothing written" : r.wroteList + " written";
}

} // namespace

std::string CableTag(const std::string& cable) {
    // The folder of devices, on Linux and on Windows.
    size_t from = 0;
    for (const char* folder : {"/dev/", "\\\\.\\"})
        if (cable.rfind(folder, 0) == 0) from = std::string(folder).size();
    std::string out;
    for (char ch : cable.substr(from))
        if (ch != ' ') out += ch == '/' || ch == '\\' || ch == ':' ? '_' : ch;
    return out;
}

namespace {

// The run's one cable, chosen for the link; false when there is not one.
bool OneCable(const Args& a, Console& c) {
    if (a.cables.size() != 1) return false;
    c.choosePort(a.cables[0].port, a.cables[0].device);
    return true;
}

struct Setup {
    std::string name, sha256;
};

// The setup file's name and the SHA-256 of its bytes, for the log.
Setup SetupOf(const Args& a, Console& c) {
    if (a.positional.size() < 2) return {};
    Setup s{a.positional[1], ""};
    std::vector<uint8_t> bytes;
    vktstore::FileError e;
    if (c.sha256 && vktstore::ReadSetupBytes(s.name, bytes, e)) s.sha256 = c.sha256(bytes);
    return s;
}

void Log(const Args& a, Console& c, Action action, const RadioOutcome& r, double seconds, const Setup& setup) {
    if (a.log.empty()) return;
    const vktfleet::LogRow row{vktfleet::UtcNow(), a.cables[0].name, RadioName(r), setup.name, setup.sha256, action, OutcomeOf(r),
                               r.done && action != Action::Read && (a.verify || action == Action::Verify), seconds,
                               r.differences.empty() ? "" : FirstDifference(r.differences), r.done || !r.differences.empty() ? "" : Detail(r),
                               WhatWasWritten(r), r.unitId, r.tag};
    std::string why;
    if (!vktfleet::AppendLogRow(a.log, row, why)) c.err << "vkt: the log was not written: " << why << "\n";
}

// A copy serving one cable of a fleet run tells how it went in one line.
int Report(const RadioOutcome& r, double seconds, const std::string& detail, Console& c) {
    c.out << vktfleet::ResultLine({OutcomeOf(r), RadioName(r), seconds, CpuSeconds(), detail.empty() ? Detail(r) : detail, WhatWasWritten(r), r.unitId, r.tag})
          << "\n"
          << std::flush;
    if (r.interrupted) return Interrupted;
    return r.done ? Done : RadioOrCompareFailure;
}

void AsWorker(const Args& a, Console& c) {
    if (!a.worker) return;
    c.reportProgress = [&c](const std::string& phase, int percent, const std::string& identity) {
        c.out << vktfleet::ProgressLine(phase, percent, identity) << "\n" << std::flush;
    };
}

int RunOnEveryCable(const Args& a, Console& c, Action action, std::vector<std::string> options, std::optional<vktfleet::UnitIds> ids = {}) {
    if (!c.workers) return UsageError(c, "several cables at once are not possible here");
    Fleet fleet;
    fleet.unitIds = std::move(ids);
    const Setup setup = SetupOf(a, c);
    fleet.job = {action, a.verify, a.changedOnly, a.log, setup.name, setup.sha256};
    fleet.repeat = a.repeat;
    for (const Cable& cable : a.cables) {
        std::vector<std::string> args = options;
        args.insert(args.end(), cable.options.begin(), cable.options.end());
        args.push_back("--worker");
        fleet.cables.push_back({cable.name, args});
    }
    return RunFleet(fleet, c);
}

// What an interrupted or failed read says; nothing when it was done.
std::optional<int> ReadEnded(const RadioOutcome& r, Console& c) {
    if (r.interrupted) {
        c.err << "vkt: " << InterruptedText(r) << "; nothing was saved\n";
        return Interrupted;
    }
    if (!r.done) {
        c.err << "vkt: reading the radio failed: " << r.failure << "\n";
        return RadioOrCompareFailure;
    }
    return std::nullopt;
}

} // namespace

int Read(const Args& a, Console& c) {
    if (a.output.empty() || a.cables.empty()) return UsageError(c, "read needs --port N or --device PATH, and -o FILE");
    if (a.cables.size() > 1) {
        std::error_code ec;
        std::filesystem::create_directories(vktstore::PathOf(a.output), ec);
        if (!std::filesystem::is_directory(vktstore::PathOf(a.output), ec)) {
            c.err << "vkt: " << a.output << " is not a folder; reading several radios needs one for their files\n";
            return FileFailure;
        }
        return RunOnEveryCable(a, c, Action::Read, {"read", "-o", a.output});
    }
    OneCable(a, c);
    AsWorker(a, c);
    const double start = c.platform.Timer();
    MemoryImage.fill(0);
    RadioOutcome r = ReadRadio(MemoryImage, c);
    if (a.worker) {
        // One file per radio in the run's folder, named as the backups are.
        std::string saved;
        if (r.done) {
            const auto path = vktstore::Backups(a.output).save(MemoryImage, r.identityBytes, CableTag(a.cables[0].name));
            if (path) {
                saved = *path;
            } else {
                r.done = false;
                r.failure = "the file could not be written in " + a.output;
            }
        }
        return Report(r, c.platform.Timer() - start, saved, c);
    }
    Log(a, c, Action::Read, r, c.platform.Timer() - start, {});
    if (const auto ended = ReadEnded(r, c)) return *ended;
    // The three spare bytes of a setup file are zeros.
    return SaveSetup(a.output, MemoryImage, c) ? Done : FileFailure;
}

int Write(const Args& a, Console& c) {
    if (a.positional.size() != 2 || a.cables.empty()) return UsageError(c, "write needs FILE and --port N or --device PATH");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    std::optional<vktfleet::UnitIds> ids;
    if (!a.unitIds.empty()) {
        std::string problem;
        ids = vktfleet::UnitIds::Of(a.unitIds, problem);
        if (!ids) return UsageError(c, problem);
    }
    if (a.cables.size() > 1) {
        std::vector<std::string> options = {"write", a.positional[1]};
        if (a.verify) options.push_back("--verify");
        if (a.noGlobals) options.push_back("--no-globals");
        if (a.changedOnly) options.push_back("--changed-only");
        if (a.keepUnitIds) options.push_back("--keep-unit-ids");
        return RunOnEveryCable(a, c, Action::Write, options, std::move(ids));
    }
    OneCable(a, c);
    AsWorker(a, c);
    const Setup file = SetupOf(a, c);
    const char* done = vktfleet::DoneText(Action::Write, a.verify);
    for (int n = 1;; ++n) {
        if (ids && ids->left() == 0) {
            c.err << "vkt: " << ids->tooFew(1) << "; nothing was written" << (n > 1 ? " to radio " + std::to_string(n) : "") << "\n";
            return Usage;
        }
        const UnitIdChoice id{ids ? ids->next() : "", a.keepUnitIds};
        const double start = c.platform.Timer();
        const RadioOutcome r = a.changedOnly ? WriteChanges(setup, a.noGlobals, CableTag(a.cables[0].name), id, c) : WriteRadio(setup, a.noGlobals, a.verify, id, c);
        // A fleet run shows and logs which blocks went.
        if (a.worker) return Report(r, c.platform.Timer() - start, r.done ? WhatWasWritten(r) : "", c);
        Log(a, c, Action::Write, r, c.platform.Timer() - start, file);
        c.out << "radio " << n << " (" << RadioName(r) << (r.unitId.empty() ? "" : ", unit ID " + r.unitId) << "): ";
        if (r.interrupted) {
            c.out << "INTERRUPTED\n";
            c.err << "vkt: " << InterruptedText(r) << "\n";
            return Interrupted;
        }
        if (!r.differences.empty()) {
            c.out << "written but NOT verified: " << FirstDifference(r.differences) << "\n";
            return RadioOrCompareFailure;
        }
        if (!r.done) {
            c.out << "FAILED: " << r.failure << "\n";
            return RadioOrCompareFailure;
        }
        c.out << (r.wrote.empty() ? done : r.wrote) << " (" << n << " so far)\n";
        if (!a.repeat) return Done;
        c.err << "Connect the next radio and press Enter (q and Enter to stop): " << std::flush;
        std::string answer;
        if (!std::getline(c.in, answer) || answer == "q") {
            c.out << vktfleet::Radios(n) << " " << done << "\n";
            return Done;
        }
    }
}

int Verify(const Args& a, Console& c) {
    if (a.cables.size() > 1) return UsageError(c, "verify takes one cable: give --port or --device once");
    if (a.positional.size() != 2 || !OneCable(a, c)) return UsageError(c, "verify needs FILE and --port N or --device PATH");
    Image file;
    if (!LoadSetup(a.positional[1], file, c)) return FileFailure;
    const double start = c.platform.Timer();
    const RadioOutcome r = VerifyRadio(file, c);
    Log(a, c, Action::Verify, r, c.platform.Timer() - start, SetupOf(a, c));
    if (r.differences.empty())
        if (const auto ended = ReadEnded(r, c)) return *ended;
    PrintDifferences(r.differences, "radio", "file", c);
    if (r.done) c.out << "the radio matches " << a.positional[1] << ": " << NoDifferencesText << "\n";
    return r.done ? Done : RadioOrCompareFailure;
}

} // namespace vktcli
