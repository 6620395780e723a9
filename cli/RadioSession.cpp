// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RadioSession.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "cli/CommandLine.h"
#include "core/Text.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "link/frmProc.h"
#include "store/Backups.h"

namespace vktcli {

using VKTCore::Image;

namespace {

// Where nobody can press Cancel, this long of refusals for one byte is one.
constexpr double RefusalSeconds = 2.0;
constexpr int BarWidth = 40;

// A link to the radio with the progress window's stand-ins on the console.
class Session {
public:
    explicit Session(Console& c) : c_(c), proc_(c.platform, window_), link_(c.platform) {
        link_.InitLinkParameters();
        link_.whileWaiting = [this] {
            // A wait while hooked is the radio's answer having come.
            if (link_.RadioHooked) answered_ = true;
            if (interrupted()) proc_.Cancelled = true;
        };
        proc_.Prog1.changed = [this] { progress(); };
    }
    ~Session() { proc_.Prog1.changed = nullptr; }

    // A transfer of this session's link into or from image.
    template <typename Run>
    bool transfer(Image& image, const char* phase, Run run, RadioOutcome& outcome) {
        VKTCom::Transfers transfers(link_, proc_, image);
        if (!c_.interactive) transfers.RefusalLimit = RefusalSeconds;
        phase_ = phase;
        shown_ = -1;
        reached_ = 0;
        answered_ = false;
        const bool ok = run(transfers);
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

private:
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
    Session session(c);
    outcome.done = session.transfer(image, "reading", [](VKTCom::Transfers& t) { return t.ReadAllMemory(); }, outcome);
    return outcome;
}

RadioOutcome WriteRadio(const Image& setup, bool noGlobals, bool verify, Console& c) {
    RadioOutcome outcome;
    Session session(c);
    Image sent = setup;
    const bool written = session.transfer(sent, "writing", [noGlobals](VKTCom::Transfers& t) { return t.WriteAllMemory(noGlobals); }, outcome);
    if (!written || !verify) {
        outcome.done = written;
        return outcome;
    }
    Image back{};
    if (!session.transfer(back, "verifying", [](VKTCom::Transfers& t) { return t.ReadAllMemory(); }, outcome)) {
        if (!outcome.interrupted) outcome.failure = "reading it back: " + outcome.failure;
        return outcome;
    }
    outcome.differences = VKTCom::CompareSetups(back, setup, !noGlobals);
    outcome.done = outcome.differences.empty();
    return outcome;
}

std::string BackupsFolder() {
    auto env = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    std::string data = env("VKT_DATA_DIR");
    if (data.empty() && !env("APPDATA").empty()) data = env("APPDATA") + "/VKTEDWIN/VKTEDWIN";
    if (data.empty())
        data = (env("XDG_DATA_HOME").empty() ? env("HOME") + "/.local/share" : env("XDG_DATA_HOME")) + "/VKTEDWIN/VKTEDWIN";
    return data + "/backups";
}

RadioOutcome WriteChanges(const Image& setup, bool noGlobals, const std::string& cable, Console& c) {
    RadioOutcome outcome;
    Session session(c);
    Image radio{};
    auto ended = [&outcome](const std::string& afterwards) {
        outcome.afterwards = afterwards;
        if (!outcome.interrupted) outcome.failure += "; " + afterwards;
        return outcome;
    };
    if (!session.transfer(radio, "reading", [](VKTCom::Transfers& t) { return t.ReadAllMemory(); }, outcome)) {
        if (!outcome.interrupted) outcome.failure = "reading it first: " + outcome.failure;
        return ended("nothing was written");
    }
    const std::string folder = BackupsFolder();
    const auto saved = vktstore::Backups(folder).save(radio, outcome.identityBytes, "all-" + cable);
    if (!saved) {
        outcome.failure = "its backup could not be saved in " + folder;
        return ended("nothing was written");
    }
    outcome.backup = *saved;
    const VKTCom::WriteSet changes = VKTCom::ChangedBlocks(radio, setup, noGlobals);
    if (changes.empty()) {
        outcome.done = true;
        outcome.wrote = "already holds the setup: nothing written";
        outcome.wroteList = "nothing";
        return outcome;
    }
    // The write and its check reach only the radio that was read.
    const auto expected = outcome.identityBytes;
    Image sent = setup;
    size_t page0 = 0;
    const bool written = session.transfer(sent, "writing", [&](VKTCom::Transfers& t) {
        t.ExpectedRadio = expected;
        const bool ok = t.WriteBlocks(changes);
        outcome.blocksWritten = t.BlocksWritten;
        page0 = t.Page0Written.size();
        return ok;
    }, outcome);
    const std::string backup = "; its backup is " + *saved;
    if (!written) return ended(VKTCom::WrittenList(outcome.blocksWritten, page0) + " had been written" + backup);
    Image back = radio;
    if (!session.transfer(back, "verifying", [&](VKTCom::Transfers& t) {
            t.ExpectedRadio = expected;
            return t.ReadBlocks(changes.readBack());
        }, outcome)) {
        if (!outcome.interrupted) outcome.failure = "reading it back: " + outcome.failure;
        return ended(VKTCom::WrittenList(outcome.blocksWritten, page0) + " had been written" + backup);
    }
    outcome.differences = VKTCom::CompareSetups(back, setup, !noGlobals);
    outcome.done = outcome.differences.empty();
    outcome.wrote = VKTCom::WrittenCount(outcome.blocksWritten, page0) + " written and verified";
    outcome.wroteList = VKTCom::WrittenList(outcome.blocksWritten, page0);
    return outcome;
}

std::string InterruptedText(const RadioOutcome& o) {
    const bool verifying = o.phase == "verifying";
    std::string text = "interrupted while " + (verifying ? std::string("verifying a finished write") : o.phase);
    if (!o.answered)
        text += verifying ? ": the radio did not answer the read-back"
                          : std::string(": the radio did not answer and nothing was ") + (o.phase == "writing" ? "sent" : "read");
    else
        text += ", after " + std::to_string(o.bytes) + " of " + std::to_string(o.of) + (verifying ? " bytes read back" : " bytes") +
                "; the radio was released";
    if (o.answered && o.phase == "writing") text += "; it may hold part of the setup";
    if (verifying && o.afterwards.empty()) text += "; the setup was written in full, but not checked";
    if (!o.afterwards.empty()) text += "; " + o.afterwards;
    return text;
}

} // namespace vktcli
