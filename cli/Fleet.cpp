// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Fleet.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "cli/CommandLine.h"
#include "core/Text.h"

namespace vktcli {

namespace {

constexpr int BarWidth = 30;
constexpr double Pass = 0.1;  // how often the screen and interrupts are looked at

class Terminal {
public:
    Terminal(vktfleet::FleetRound& round, Console& c) : round_(round), c_(c) {
        for (size_t i = 0; i < round.size(); ++i) width_ = std::max(width_, round.name(i).size());
        round.reported = [this](size_t i) { reported(i); };
        round.recordFailed = [this](const std::string& why) { c_.err << "vkt: the log was not written: " << why << "\n"; };
    }

    void run() {
        round_.start();
        while (round_.running()) {
            const bool heard = round_.pass(Pass);
            if (c_.interrupted && c_.interrupted()) round_.interrupt();
            if (heard) drawBlock();
        }
        eraseBlock();
    }

private:
    std::string cable(size_t i) const {
        std::string name = round_.name(i);
        name.resize(width_, ' ');
        return name;
    }

    void reported(size_t i) {
        const vktfleet::CableState& s = round_.state(i);
        eraseBlock();
        const std::string& id = s.result.unitId;
        c_.out << cable(i) << "  radio " << s.result.identity << (id.empty() ? "" : "  unit ID " + id) << "  " << round_.resultText(i) << "  " << vkt::FixedText(s.result.seconds, 1)
               << " s\n"
               << std::flush;
    }

    // One live line per cable at the foot of a terminal.
    void drawBlock() {
        if (!c_.progressBar) return;
        eraseBlock();
        for (size_t i = 0; i < round_.size(); ++i) {
            const vktfleet::CableState& s = round_.state(i);
            if (!s.running) continue;
            c_.err << cable(i) << "  " << ProgressBar(s.percent, BarWidth) << " " << (s.percent < 10 ? "  " : s.percent < 100 ? " " : "")
                   << s.percent << "% " << s.phase << "\n";
            ++drawn_;
        }
        c_.err << std::flush;
    }

    void eraseBlock() {
        if (drawn_ == 0) return;
        c_.err << "\033[" << drawn_ << "F\033[J" << std::flush;
        drawn_ = 0;
    }

    vktfleet::FleetRound& round_;
    Console& c_;
    size_t width_ = 0;
    int drawn_ = 0;
};

} // namespace

int RunFleet(Fleet& fleet, Console& c) {
    bool anyFailed = false;
    for (int round = 1;; ++round) {
        std::vector<vktfleet::FleetCable> cables = fleet.cables;
        std::string why;
        if (fleet.unitIds && !fleet.unitIds->give(cables, why)) {
            c.err << "vkt: " << why << "; nothing was written" << (round > 1 ? " in round " + std::to_string(round) : "") << "\n";
            return Usage;
        }
        vktfleet::FleetRound r(c.platform, *c.workers, fleet.job, cables);
        Terminal(r, c).run();
        c.out << (fleet.repeat ? "round " + std::to_string(round) + ": " : "") << r.summary() << "\n" << std::flush;
        if (r.interrupted()) return Interrupted;
        anyFailed = anyFailed || !r.notDone().empty();
        if (!fleet.repeat) break;
        c.err << "Connect the next radios and press Enter (q to stop): " << std::flush;
        std::string answer;
        if (!std::getline(c.in, answer) || answer == "q") break;
    }
    return anyFailed ? RadioOrCompareFailure : Done;
}

} // namespace vktcli
