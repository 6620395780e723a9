// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FleetRound.h"

#include <algorithm>

#include "core/Text.h"
#include "editor/RunLog.h"

namespace vkteditor {

namespace {

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

} // namespace

std::string ProgressLine(const std::string& phase, int percent, const std::string& identity) {
    return "progress\t" + phase + "\t" + std::to_string(percent) + (identity.empty() ? "" : "\t" + identity);
}

std::string ResultLine(const WorkerResult& r) {
    return "result\t" + r.status + "\t" + r.identity + "\t" + vkt::FixedText(r.seconds, 2) + "\t" + vkt::FixedText(r.cpuSeconds, 3) +
           "\t" + OneLine(r.detail);
}

const char* DoneText(bool reading, bool verify) {
    if (reading) return "read";
    return verify ? "written and verified" : "written";
}

FleetRound::FleetRound(vkt::Platform& platform, vkt::WorkerPool& workers, FleetJob job, std::vector<FleetCable> cables)
    : platform_(platform), workers_(workers), job_(std::move(job)), cables_(std::move(cables)), states_(cables_.size()) {}

void FleetRound::start() {
    start_ = platform_.Timer();
    for (size_t i = 0; i < cables_.size(); ++i) {
        workerIds_.push_back(workers_.start(cables_[i].args));
        states_[i].running = true;
    }
}

bool FleetRound::pass(double seconds) {
    const auto events = workers_.wait(seconds);
    for (const vkt::WorkerPool::Event& e : events) {
        const auto it = std::find(workerIds_.begin(), workerIds_.end(), e.worker);
        if (it != workerIds_.end()) heard(static_cast<size_t>(it - workerIds_.begin()), e);
    }
    if (!running() && end_ < 0) end_ = platform_.Timer();
    return !events.empty();
}

void FleetRound::interrupt() {
    if (interrupted_ || !running()) return;
    interrupted_ = true;
    workers_.interruptAll();
}

bool FleetRound::running() const {
    return std::any_of(states_.begin(), states_.end(), [](const CableState& s) { return s.running; });
}

void FleetRound::heard(size_t i, const vkt::WorkerPool::Event& e) {
    CableState& s = states_[i];
    if (e.ended) {
        s.running = false;
        if (!s.reported)
            report(i, {"failed", s.identity.empty() ? "unknown" : s.identity, 0, 0,
                       "its copy of vkt ended without a result (exit " + std::to_string(e.exitCode) + ")"});
        return;
    }
    const auto parts = Split(e.line);
    if (parts[0] == "progress" && (parts.size() == 3 || parts.size() == 4)) {
        s.phase = parts[1];
        s.percent = std::clamp(static_cast<int>(vkt::Val(parts[2])), 0, 100);
        if (parts.size() == 4) s.identity = parts[3];
    } else if (parts[0] == "result" && parts.size() == 6) {
        report(i, {parts[1], parts[2], vkt::Val(parts[3]), vkt::Val(parts[4]), parts[5]});
    }
}

void FleetRound::report(size_t i, const WorkerResult& r) {
    CableState& s = states_[i];
    s.reported = true;
    s.result = r;
    if (r.identity != "unknown" || s.identity.empty()) s.identity = r.identity;
    record(i, r);
    if (reported) reported(i);
}

std::string FleetRound::resultText(size_t i) const {
    const WorkerResult& r = states_[i].result;
    if (!states_[i].reported) return "";
    if (r.status == "done") {
        if (job_.action == "read") return "read into " + r.detail;
        return r.detail.empty() ? DoneText(false, job_.verify) : r.detail;  // what a write of the changes wrote
    }
    if (r.status == "unverified") return "written but NOT verified: " + r.detail;
    if (r.status == "interrupted") return "INTERRUPTED " + r.detail;
    return "FAILED: " + r.detail;
}

void FleetRound::record(size_t i, const WorkerResult& r) {
    if (job_.logPath.empty()) return;
    LogRow row;
    row.timeUtc = UtcNow();
    row.cable = cables_[i].name;
    row.radio = r.identity;
    row.setup = job_.setupName;
    row.setupSha256 = job_.setupSha256;
    row.action = job_.action;
    row.result = r.status == "unverified" ? "not verified" : r.status;
    row.verified = job_.verify && r.status == "done";
    row.seconds = r.seconds;
    if (r.status == "unverified") row.firstDifference = r.detail;
    if (r.status == "failed" || r.status == "interrupted") row.reason = r.detail;
    if (job_.changedOnly && r.status == "done") row.written = r.detail;
    std::string why;
    if (!AppendLogRow(job_.logPath, row, why) && recordFailed) recordFailed(why);
}

int FleetRound::done() const {
    return static_cast<int>(std::count_if(states_.begin(), states_.end(), [](const CableState& s) { return s.result.status == "done"; }));
}

bool FleetRound::interrupted() const {
    return std::any_of(states_.begin(), states_.end(), [](const CableState& s) { return s.result.status == "interrupted"; });
}

std::vector<std::string> FleetRound::notDone() const {
    std::vector<std::string> out;
    for (size_t i = 0; i < states_.size(); ++i)
        if (states_[i].result.status != "done") out.push_back(cables_[i].name);
    return out;
}

double FleetRound::seconds() const { return (end_ < 0 ? platform_.Timer() : end_) - start_; }

std::string FleetRound::summary() const {
    std::string text = std::to_string(done()) + " of " + std::to_string(cables_.size()) + " radios " +
                       DoneText(job_.action == "read", job_.verify) + " in " + vkt::FixedText(seconds(), 1) + " s";
    const auto missing = notDone();
    if (!missing.empty()) {
        text += "; not done: ";
        for (size_t i = 0; i < missing.size(); ++i) text += (i ? ", " : "") + missing[i];
    }
    return text;
}

} // namespace vkteditor
