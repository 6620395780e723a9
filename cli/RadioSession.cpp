// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RadioSession.h"

#include <algorithm>
#include <ostream>

#include "cli/CommandLine.h"
#include "fleet/UnitIds.h"
#include "core/Text.h"
#include "link/Fingerprint.h"
#include "link/RadioJobs.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "link/frmProc.h"
#include "store/Backups.h"
#include "store/DataFolder.h"

namespace vktcli {

using VKTCore::Image;

namespace {

// Where nobody can press Cancel, this long of refusals for one byte is one.
constexpr double RefusalSeconds = 2.0;
constexpr int BarWidth = 40;

// A link to the radio with the progress window's stand-ins on the console;
// what its transfers came to goes into outcome.
class Session : public VKTCom::JobHost {
public:
    Session(Console& c, RadioOutcome& outcome) : c_(c), outcome_(outcome), proc_(c.platform, window_), link_(c.platform) {
        link_.InitLinkParameters();
        link_.whileWaiting = [this] {
            // A wait while hooked is the radio's answer having come.
            if (link_.RadioHooked) answered_ = true;
            if (interrupted()) proc_.Cancelled = true;
        };
        proc_.Prog1.changed = [this] { progress(); };
    }
    ~Session() override { proc_.Prog1.changed = nullptr; }

    // A transfer of this session's link into or from image.
    template <typename Run>
    bool transfer(Image& image, Phase phase, Run run) {
        VKTCom::Transfers transfers(link_, proc_, image);
        return around(phase, transfers, [&] { return run(transfers); });
    }

    VKTCom::RadioJobs jobs() { return {link_, proc_, *this}; }

private:
    bool run(VKTCom::JobStep step, VKTCom::Transfers& transfers, const std::function<bool()>& transfer) override {
        using VKTCom::JobStep;
        return around(step == JobStep::Write ? Phase::Writing : step == JobStep::ReadBack ? Phase::Verifying : Phase::Reading, transfers, transfer);
    }

    bool around(Phase phase, VKTCom::Transfers& transfers, const std::function<bool()>& transfer) {
        if (!c_.interactive) transfers.RefusalLimit = RefusalSeconds;
        phase_ = vktfleet::PhaseWord(phase);
        shown_ = -1;
        reached_ = 0;
        answered_ = false;
        const bool ok = transfer();
        RadioOutcome& outcome = outcome_;
        outcome.phase = phase;
        outcome.answered = answered_;
        endBar(ok && !interrupted());
        outcome.interrupted = interrupted();
        outcome.bytes = reached_;
        outcome.of = proc_.Prog1.Max();
        if (outcome.identity.empty() || outcome.identity == "unknown") {
            outcome.identityBytes = link_.RadioInfo;
            outcome.identity = identity();
        }
        if (!ok || outcome.interrupted) outcome.failure = link_.LastFailure.empty() ? "no answer" : link_.LastFailure;
        return ok && !outcome.interrupted;
    }

    bool interrupted() const { return c_.interrupted && c_.interrupted(); }

    std::string identity() const {
        if (std::all_of(link_.RadioInfo.begin(), link_.RadioInfo.end(), [](uint8_t b) { return b == 0; })) return "unknown";
        return vkt::IdentityText(link_.RadioInfo);
    }

    // The bar moves only when its percentage does; the transfer's reset to 0
    // at its end is not progress.
    void progress() {
        const int value = proc_.Prog1.Value();
        if (value == 0) return;
        reached_ = value;
        const int percent = std::clamp(value * 100 / std::max(1, proc_.Prog1.Max()), 0, 100);
        if (c_.reportProgress) {
            if (percent != shown_) c_.reportProgress(phase_, percent, identity());
            shown_ = percent;
        } else if (c_.progressBar) {
            draw(percent);
        }
    }

    void draw(int percent) {
        percent = std::clamp(percent, 0, 100);
        if (percent == shown_) return;
        shown_ = percent;
        std::string label = phase_;
        label.resize(std::max<size_t>(label.size(), 9), ' ');  // "verifying" is the longest
        c_.err << "\r" << label << " " << ProgressBar(percent, BarWidth) << " " << percent << "% " << std::flush;
    }

    // A transfer that did it all ends its bar full.
    void endBar(bool complete) {
        if (c_.reportProgress) {
            if (complete && shown_ != 100) c_.reportProgress(phase_, 100, identity());
            return;
        }
        if (!c_.progressBar || shown_ < 0) return;
        if (complete) draw(100);
        c_.err << "\n";
    }

    Console& c_;
    RadioOutcome& outcome_;
    vkt::Window window_{"vkt"};
    VKTCom::frmProc proc_;
    VKTCom::RadioLink link_;
    const char* phase_ = "";
    int shown_ = -1;
    int reached_ = 0;
    bool answered_ = false;
};

} // namespace

RadioOutcome ReadRadio(Image& image, Console& c) {
    RadioOutcome outcome;
    Session session(c, outcome);
    outcome.done = session.transfer(image, Phase::Reading, [](VKTCom::Transfers& t) { return t.ReadAllMemory(); });
    if (outcome.done) outcome.tag = VKTCom::FingerprintTag(VKTCom::FingerprintOf(outcome.identityBytes, image));
    return outcome;
}

RadioOutcome WriteRadio(const Image& setup, bool noGlobals, bool verify, const UnitIdChoice& id, Console& c) {
    RadioOutcome outcome;
    Session session(c, outcome);
    Image sent = setup;
    if (!id.given.empty()) vktfleet::GiveUnitId(sent, id.given);
    // The radio's own IDs are read first, and only the unit read gets them back.
    std::optional<VKTCom::Fingerprint> unit;
    if (id.keep) {
        Image radio{};
        if (!session.transfer(radio, Phase::Reading, [](VKTCom::Transfers& t) { return t.ReadAllMemory(); })) {
            if (!outcome.interrupted) outcome.failure = "reading it first: " + outcome.failure + "; nothing was written";
            return outcome;
        }
        unit = VKTCom::FingerprintOf(outcome.identityBytes, radio);
        outcome.tag = VKTCom::FingerprintTag(*unit);
        vktfleet::KeepUnitIds(sent, radio);
    }
    if (id.keep || !id.given.empty()) outcome.unitId = vktfleet::UnitIdsOf(sent);
    const Image image = sent;
    const bool written = session.transfer(sent, Phase::Writing, [noGlobals, &unit](VKTCom::Transfers& t) {
        t.ExpectedRadio = unit;
        return t.WriteAllMemory(noGlobals);
    });
    if (!written || !verify) {
        outcome.done = written;
        return outcome;
    }
    Image back{};
    if (!session.transfer(back, Phase::Verifying, [&unit](VKTCom::Transfers& t) {
            t.ExpectedRadio = unit;
            return t.ReadAllMemory();
        })) {
        if (!outcome.interrupted) outcome.failure = "reading it back: " + outcome.failure;
        return outcome;
    }
    outcome.tag = VKTCom::FingerprintTag(VKTCom::FingerprintOf(outcome.identityBytes, back));
    outcome.differences = VKTCom::CompareSetups(back, image, !noGlobals);
    outcome.done = outcome.differences.empty();
    return outcome;
}

RadioOutcome VerifyRadio(const Image& setup, Console& c) {
    RadioOutcome outcome;
    Session session(c, outcome);
    const VKTCom::JobResult job = session.jobs().Verify(setup);
    if (job.fingerprint) outcome.tag = VKTCom::FingerprintTag(*job.fingerprint);
    outcome.differences = job.differences;
    outcome.done = job.end == VKTCom::JobEnd::Verified;
    return outcome;
}

std::string BackupsFolder() { return vktstore::DataFolder() + "/backups"; }

RadioOutcome WriteChanges(const Image& setup, bool noGlobals, const std::string& cable, const UnitIdChoice& id, Console& c) {
    RadioOutcome outcome;
    Session session(c, outcome);
    const std::string folder = BackupsFolder();
    Image own = setup;
    if (!id.given.empty()) vktfleet::GiveUnitId(own, id.given);
    const auto keep = [&outcome](const Image& radio, Image& sent) {
        vktfleet::KeepUnitIds(sent, radio);
        outcome.unitId = vktfleet::UnitIdsOf(sent);
    };
    if (!id.given.empty()) outcome.unitId = vktfleet::UnitIdsOf(own);
    const VKTCom::JobResult job = session.jobs().WriteChanges(
        own, noGlobals, [&](const Image& radio, const VKTCom::Fingerprint& which) { return vktstore::Backups(folder).save(radio, which.identity, "all-" + cable); },
        id.keep ? VKTCom::RadioJobs::FitSetup(keep) : nullptr);
    if (job.fingerprint) outcome.tag = VKTCom::FingerprintTag(*job.fingerprint);
    outcome.backup = job.backup;
    outcome.blocksWritten = job.blocksWritten;
    auto ended = [&outcome](const std::string& afterwards) {
        outcome.afterwards = afterwards;
        if (!outcome.interrupted) outcome.failure += "; " + afterwards;
        return outcome;
    };
    const std::string list = VKTCom::WrittenList(job.blocksWritten, job.page0Written);
    outcome.wroteList = list;
    const std::string backup = "its backup is " + job.backup;
    switch (job.end) {
    case VKTCom::JobEnd::ReadFailed:
        if (!outcome.interrupted) outcome.failure = "reading it first: " + outcome.failure;
        return ended("nothing was written");
    case VKTCom::JobEnd::BackupFailed:
        outcome.failure = "its backup could not be saved in " + folder;
        return ended("nothing was written");
    case VKTCom::JobEnd::AlreadyHeld:
        outcome.done = true;
        outcome.wrote = vktfleet::AlreadyHeld;
        outcome.wroteList = "nothing";
        return outcome;
    case VKTCom::JobEnd::WriteFailed:
        // Another unit on the cable: its failure says that nothing went.
        return ended(job.otherUnit && list == "nothing" ? backup : list + " had been written; " + backup);
    case VKTCom::JobEnd::ReadBackFailed:
        if (!outcome.interrupted) outcome.failure = "reading it back: " + outcome.failure;
        return ended(list + " had been written; " + backup);
    case VKTCom::JobEnd::Verified:
    case VKTCom::JobEnd::Differs: break;
    }
    outcome.differences = job.differences;
    outcome.done = job.end == VKTCom::JobEnd::Verified;
    outcome.wrote = VKTCom::WrittenCount(job.blocksWritten, job.page0Written) + " written and verified";
    return outcome;
}

std::string InterruptedText(const RadioOutcome& o) {
    const bool verifying = o.phase == Phase::Verifying, writing = o.phase == Phase::Writing;
    std::string text = "interrupted while " + std::string(verifying ? "verifying a finished write" : vktfleet::PhaseWord(o.phase));
    if (!o.answered)
        text += verifying ? ": the radio did not answer the read-back"
                          : std::string(": the radio did not answer and nothing was ") + (writing ? "sent" : "read");
    else
        text += ", after " + std::to_string(o.bytes) + " of " + std::to_string(o.of) + (verifying ? " bytes read back" : " bytes") +
                "; the radio was released";
    if (o.answered && writing) text += "; it may hold part of the setup";
    if (verifying && o.afterwards.empty()) text += "; the setup was written in full, but not checked";
    if (!o.afterwards.empty()) text += "; " + o.afterwards;
    return text;
}

void PrintDifferences(const std::vector<VKTCom::FieldDifference>& d, const char* first, const char* second, Console& c) {
    for (const auto& x : d) c.out << x.field << ": " << first << " " << x.first << ", " << second << " " << x.second << "\n";
}

} // namespace vktcli
