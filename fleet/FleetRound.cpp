// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/FleetRound.h"

#include <algorithm>

#include "core/Text.h"
#include "fleet/RunLog.h"

namespace vktfleet {

FleetRound::FleetRound(vkt::Platform& platform, vkt::WorkerPool& workers, FleetJob job, std::vector<FleetCable> cables)
    : platform_(platform), workers_(workers), job_(std::move(job)), cables_(std::move(cables)), states_(cables_.size()) {}

void FleetRound::start() {
    start_ = platform_.Timer();
    for (size_t i = 0; i < cables_.size(); ++i) {
        states_[i].running = true;
        workerIds_.push_back(workers_.start(cables_[i].args));
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
        if (s.reported) return;
        const std::string why = e.failure.empty() ? "its copy of vkt ended without a result (exit " + std::to_string(e.exitCode) + ")"
                                                  : "its copy of vkt could not be started: " + e.failure;
        report(i, {Outcome::Failed, s.identity.empty() ? "unknown" : s.identity, 0, 0, why, "", cables_[i].unitId, ""});
        return;
    }
    const auto said = ParseWorkerLine(e.line);
    if (const auto* p = std::get_if<WorkerProgress>(&said)) {
        s.phase = p->phase;
        s.percent = p->percent;
        if (!p->identity.empty()) s.identity = p->identity;
    } else if (const auto* r = std::get_if<WorkerResult>(&said)) {
        report(i, *r);
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
    switch (r.outcome) {
    case Outcome::Done:
        if (job_.action == Action::Read) return "read into " + r.detail;
        return r.detail.empty() ? DoneText(job_.action, job_.verify) : r.detail;  // what a write of the changes wrote
    case Outcome::Unverified: return "written but NOT verified: " + r.detail;
    // The copy's own words begin "interrupted while ...".
    case Outcome::Interrupted: return r.detail.empty() ? LineWord(r.outcome) : r.detail;
    case Outcome::Failed: break;
    }
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
    row.result = r.outcome;
    row.verified = job_.verify && r.outcome == Outcome::Done;
    row.seconds = r.seconds;
    if (r.outcome == Outcome::Unverified) row.firstDifference = r.detail;
    if (r.outcome == Outcome::Failed || r.outcome == Outcome::Interrupted) row.reason = r.detail;
    row.written = r.written;
    row.unitId = r.unitId;
    row.fingerprint = r.fingerprint;
    std::string why;
    if (!AppendLogRow(job_.logPath, row, why) && recordFailed) recordFailed(why);
}

int FleetRound::done() const { return count(Outcome::Done); }

bool FleetRound::interrupted() const { return count(Outcome::Interrupted) > 0; }

std::vector<std::string> FleetRound::notDone() const {
    std::vector<std::string> out;
    for (size_t i = 0; i < states_.size(); ++i)
        if (!states_[i].reported || states_[i].result.outcome != Outcome::Done) out.push_back(cables_[i].name);
    return out;
}

double FleetRound::seconds() const { return (end_ < 0 ? platform_.Timer() : end_) - start_; }

int FleetRound::count(Outcome o, const char* written) const {
    return static_cast<int>(std::count_if(states_.begin(), states_.end(), [&](const CableState& s) {
        return s.reported && s.result.outcome == o && (!written || s.result.written == written);
    }));
}

std::string FleetRound::summary() const {
    const int cables = static_cast<int>(cables_.size());
    if (cables > 0 && count(Outcome::Done, AlreadyHeld) == cables) return Radios(cables) + " already held the setup: nothing written";
    const std::string counted = std::to_string(done()) + " of " + Radios(cables) + " " + DoneText(job_.action, job_.verify);
    const int released = count(Outcome::Interrupted);
    std::string text = released ? "cancelled: " + counted + ", " + std::to_string(released) + " released " +
                                      (job_.action == Action::Read ? "unread" : "unwritten")
                                  : counted + " in " + vkt::FixedText(seconds(), 1) + " s";
    const auto missing = notDone();
    if (!missing.empty()) text += "; not done: " + vkt::Joined(missing, ", ");
    return text;
}

} // namespace vktfleet
