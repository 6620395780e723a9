// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Fleet.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/RunLog.h"
#include "platform/WorkerPool.h"
#include "core/Text.h"

namespace vktcli {

namespace {

constexpr int BarWidth = 30;
constexpr double Pass = 0.1;  // how often the screen and interrupts are looked at

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts(1);
    for (char ch : line) {
        if (ch == '\t') parts.emplace_back();
        else parts.back() += ch;
    }
    return parts;
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\t', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

bool Reading(const Fleet& fleet) { return fleet.action == "read"; }

struct CableState {
    bool running = false;
    std::string phase = "starting";
    int percent = 0;
    bool reported = false;
    WorkerResult result;
};

class Round {
public:
    Round(const Fleet& fleet, Console& c) : fleet_(fleet), c_(c), cables_(fleet.cables.size()) {
        for (const std::string& name : fleet.cables) width_ = std::max(width_, name.size());
    }

    // Returns the cables that were not done, and whether any was interrupted.
    std::vector<std::string> run(bool& interrupted, int& done) {
        const double start = c_.platform.Timer();
        std::map<int, size_t> cableOf;
        for (size_t i = 0; i < cables_.size(); ++i) {
            cableOf[c_.workers->start(fleet_.workerArgs[i])] = i;
            cables_[i].running = true;
        }
        bool forwarded = false;
        while (std::any_of(cables_.begin(), cables_.end(), [](const CableState& s) { return s.running; })) {
            const auto events = c_.workers->wait(Pass);
            for (const vkt::WorkerPool::Event& e : events) {
                const auto it = cableOf.find(e.worker);
                if (it != cableOf.end()) heard(it->second, e);
            }
            if (!forwarded && c_.askedToEnd && c_.askedToEnd()) {
                c_.workers->interruptAll();
                forwarded = true;
            }
            if (!events.empty()) drawBlock();
        }
        eraseBlock();
        std::vector<std::string> notDone;
        done = 0;
        interrupted = false;
        for (size_t i = 0; i < cables_.size(); ++i) {
            const std::string& status = cables_[i].result.status;
            interrupted = interrupted || status == "interrupted";
            if (status == "done") ++done;
            else notDone.push_back(fleet_.cables[i]);
        }
        seconds_ = c_.platform.Timer() - start;
        return notDone;
    }

    double seconds() const { return seconds_; }

private:
    void heard(size_t i, const vkt::WorkerPool::Event& e) {
        CableState& s = cables_[i];
        if (e.ended) {
            s.running = false;
            if (!s.reported) report(i, {"failed", "unknown", 0, 0, "its copy of vkt ended without a result (exit " + std::to_string(e.exitCode) + ")"});
            return;
        }
        const auto parts = Split(e.line);
        if (parts[0] == "progress" && parts.size() == 3) {
            s.phase = parts[1];
            s.percent = std::clamp(static_cast<int>(vkt::Val(parts[2])), 0, 100);
        } else if (parts[0] == "result" && parts.size() == 6) {
            report(i, {parts[1], parts[2], vkt::Val(parts[3]), vkt::Val(parts[4]), parts[5]});
        }
    }

    void report(size_t i, const WorkerResult& r) {
        CableState& s = cables_[i];
        s.reported = true;
        s.result = r;
        std::string what;
        if (r.status == "done") what = Reading(fleet_) ? "read into " + r.detail : r.detail.empty() ? DoneText(false, fleet_.verify) : r.detail;
        else if (r.status == "unverified") what = "written but NOT verified: " + r.detail;
        else if (r.status == "interrupted") what = "INTERRUPTED " + r.detail;
        else what = "FAILED: " + r.detail;
        eraseBlock();
        std::string cable = fleet_.cables[i];
        cable.resize(width_, ' ');
        c_.out << cable << "  radio " << r.identity << "  " << what << "  " << vkt::FixedText(r.seconds, 1) << " s\n" << std::flush;
        log(i, r);
    }

    void log(size_t i, const WorkerResult& r) {
        if (fleet_.logPath.empty()) return;
        LogRow row;
        row.timeUtc = UtcNow();
        row.cable = fleet_.cables[i];
        row.radio = r.identity;
        row.setup = fleet_.setupName;
        row.setupSha256 = fleet_.setupSha256;
        row.action = fleet_.action;
        row.result = r.status == "unverified" ? "not verified" : r.status;
        row.verified = fleet_.verify && r.status == "done";
        row.seconds = r.seconds;
        if (r.status == "unverified") row.firstDifference = r.detail;
        if (r.status == "failed" || r.status == "interrupted") row.reason = r.detail;
        if (fleet_.changedOnly && r.status == "done") row.written = r.detail;
        std::string why;
        if (!AppendLogRow(fleet_.logPath, row, why)) c_.err << "vkt: the log was not written: " << why << "\n";
    }

    // One live line per cable at the foot of a terminal.
    void drawBlock() {
        if (!c_.progressBar) return;
        eraseBlock();
        for (size_t i = 0; i < cables_.size(); ++i) {
            const CableState& s = cables_[i];
            if (!s.running) continue;
            std::string cable = fleet_.cables[i];
            cable.resize(width_, ' ');
            c_.err << cable << "  " << ProgressBar(s.percent, BarWidth) << " "
                   << (s.percent < 10 ? "  " : s.percent < 100 ? " " : "") << s.percent << "% " << s.phase << "\n";
            ++drawn_;
        }
        c_.err << std::flush;
    }

    void eraseBlock() {
        if (drawn_ == 0) return;
        c_.err << "\033[" << drawn_ << "F\033[J" << std::flush;
        drawn_ = 0;
    }

    const Fleet& fleet_;
    Console& c_;
    std::vector<CableState> cables_;
    size_t width_ = 0;
    int drawn_ = 0;
    double seconds_ = 0;
};

} // namespace

std::string ProgressLine(const std::string& phase, int percent) { return "progress\t" + phase + "\t" + std::to_string(percent); }

std::string ResultLine(const WorkerResult& r) {
    return "result\t" + r.status + "\t" + r.identity + "\t" + vkt::FixedText(r.seconds, 2) + "\t" + vkt::FixedText(r.cpuSeconds, 3) +
           "\t" + OneLine(r.detail);
}

int RunFleet(const Fleet& fleet, Console& c) {
    bool anyFailed = false;
    for (int round = 1;; ++round) {
        Round r(fleet, c);
        bool interrupted = false;
        int done = 0;
        const auto notDone = r.run(interrupted, done);
        std::string summary = std::to_string(done) + " of " + std::to_string(fleet.cables.size()) + " radios " +
                              DoneText(Reading(fleet), fleet.verify) + " in " +
                              vkt::FixedText(r.seconds(), 1) + " s";
        if (!notDone.empty()) {
            summary += "; not done: ";
            for (size_t i = 0; i < notDone.size(); ++i) summary += (i ? ", " : "") + notDone[i];
        }
        c.out << (fleet.repeat ? "round " + std::to_string(round) + ": " : "") << summary << "\n" << std::flush;
        if (interrupted) return Interrupted;
        anyFailed = anyFailed || !notDone.empty();
        if (!fleet.repeat) break;
        c.err << "Connect the next radios and press Enter (q to stop): " << std::flush;
        std::string answer;
        if (!std::getline(c.in, answer) || answer == "q") break;
    }
    return anyFailed ? RadioOrCompareFailure : Done;
}

} // namespace vktcli
