// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FleetRun.h"

#include <algorithm>
#include <filesystem>

#include "core/Text.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/Paths.h"

namespace vkteditor {

using vktfleet::Outcome;

namespace {

// A file of the data folder, as the program keeps paths.
std::string InFolder(const std::string& folder, const std::string& name) {
    return vktstore::Utf8Of(vktstore::PathOf(folder) / vktstore::PathOf(name));
}

} // namespace

FleetRun::FleetRun(vkt::Platform& platform, vkt::PortDirectory& ports, vkt::WorkerPool& workers, std::string dataFolder)
    : vkt::Window(Title), platform_(platform), directory_(ports), workers_(workers), data_(std::move(dataFolder)) {
    setVisible(false);
    optWrite.setValue(true);
    chkVerify.setValue(1);
    chkGlobals.setValue(1);
    txtRecord.setText(InFolder(data_, RecordFile));
    txtFolder.setText(InFolder(data_, ReadFolder));
    // The window hears the copies when they say something; nothing waits.
    workers_.eventsWaiting = [this] { pass(0); };
    showState();
}

FleetRun::~FleetRun() { workers_.eventsWaiting = nullptr; }

void FleetRun::Show() {
    listPorts();
    showState();
    setVisible(true);
}

void FleetRun::listPorts() {
    if (running()) return;
    const std::vector<vkt::PortInfo> machine = directory_.machinePorts();
    std::vector<Port> rows;
    for (const vkt::PortInfo& p : vkt::UsbFirst(machine)) {
        Port row{p.systemLocation, vkt::PortStatusText(p.systemLocation, machine), p.systemLocation, "", false, -1};
        const auto before = std::find_if(ports.begin(), ports.end(), [&](const Port& q) { return q.device == p.systemLocation; });
        if (before != ports.end()) {
            row.checked = before->checked;
            row.cable = before->cable;
        }
        rows.push_back(row);
    }
    for (const Port& p : ports)
        if (!p.memoryFile.empty()) rows.push_back(p);
    ports = rows;
    notifyRows();
}

void FleetRun::cableFound(const std::string& device) {
    listPorts();
    auto it = std::find_if(ports.begin(), ports.end(), [&](const Port& p) { return p.device == device; });
    if (it == ports.end()) {
        ports.push_back({device, vkt::PortStatusText(device, directory_.machinePorts()), device, "", false, -1});
        it = ports.end() - 1;
    }
    it->checked = true;
    notifyRows();
    showState();
}

void FleetRun::cmdEmulated_Click() {
    if (!startEmulator) return;
    const int n = emulated_ + 1;
    const std::string memory = InFolder(data_, "fleet-radio-" + std::to_string(n) + ".eeprom");
    std::string why;
    const std::string device = startEmulator(memory, why);
    if (device.empty()) {
        lblSummary.setCaption("The emulated radio did not start: " + why);
        return;
    }
    emulated_ = n;
    const std::string name = "Emulated radio " + std::to_string(n) + " (" + device + ")";
    ports.push_back({device, name, name, memory, true, -1});
    notifyRows();
    showState();
}

std::vector<std::string> FleetRun::copyOptions() const {
    if (optRead.Value()) return {"read", "-o", txtFolder.Text()};
    std::vector<std::string> args{"write", setupPath_};
    if (chkVerify.Value() && !chkChangedOnly.Value()) args.push_back("--verify");
    if (!chkGlobals.Value()) args.push_back("--no-globals");
    if (chkChangedOnly.Value()) args.push_back("--changed-only");
    if (chkKeepIds.Value()) args.push_back("--keep-unit-ids");
    return args;
}

void FleetRun::startRound(bool next) {
    if (running()) return;
    std::vector<size_t> chosen;
    for (size_t i = 0; i < ports.size(); ++i)
        if (ports[i].checked) chosen.push_back(i);
    if (chosen.empty()) {
        lblSummary.setCaption(NoCableChecked);
        return;
    }
    const bool reading = optRead.Value();
    // What differs is always checked once written.
    const bool changedOnly = !reading && chkChangedOnly.Value() != 0;
    vktfleet::FleetJob job{reading ? vktfleet::Action::Read : vktfleet::Action::Write, changedOnly || (!reading && chkVerify.Value() != 0),
                           changedOnly, txtRecord.Text(), "", ""};
    std::error_code ec;
    if (reading) {
        const std::filesystem::path folder = vktstore::PathOf(txtFolder.Text());
        std::filesystem::create_directories(folder, ec);
        if (txtFolder.Text().empty() || !std::filesystem::is_directory(folder, ec)) {
            lblSummary.setCaption("The radios cannot be read into " + txtFolder.Text() + ": it is not a folder that can be made.");
            return;
        }
    } else {
        // The copies write what the main window shows, from a file of
        // their own in the data folder.
        const VKTCore::Image image = setupShown ? setupShown() : VKTCore::MemoryImage;
        const std::vector<uint8_t> bytes(image.begin(), image.end());
        job.setupSha256 = sha256 ? sha256(bytes) : "";
        setupPath_ = InFolder(data_, SetupFilePrefix + job.setupSha256.substr(0, 12) + ".vkt");
        vktstore::FileError e;
        if (!vktstore::WriteFileReplacing(setupPath_, image, e)) {
            lblSummary.setCaption("The setup for the radios cannot be written to " + setupPath_ + ": " + e.description);
            return;
        }
        // The record names what was written: the setup file shown while it
        // holds those very bytes, else the copy made for the copies.
        const std::string shown = setupName ? setupName() : "";
        std::vector<uint8_t> saved;
        const bool same = !shown.empty() && vktstore::ReadSetupBytes(shown, saved, e) && (saved.resize(bytes.size()), saved == bytes);
        job.setupName = same ? shown : setupPath_;
    }
    // A new session numbers from the first ID given; Next Radios goes on.
    const bool numbering = !reading && chkNumber.Value();
    std::optional<vktfleet::UnitIds> ids = next ? unitIds_ : std::nullopt;
    if (numbering && !ids) {
        std::string problem;
        ids = vktfleet::UnitIds::Of(txtFirstId.Text(), problem);
        if (!ids) {
            lblSummary.setCaption("The radios cannot be numbered: " + problem + ".");
            return;
        }
    }
    std::vector<vktfleet::FleetCable> cables;
    for (size_t c = 0; c < chosen.size(); ++c) {
        Port& p = ports[chosen[c]];
        std::vector<std::string> args = copyOptions();
        args.insert(args.end(), {"--device", p.device, "--worker"});
        cables.push_back({p.recordName, args});
        p.cable = static_cast<int>(c);
    }
    std::string why;
    if (numbering && !ids->give(cables, why)) {
        lblSummary.setCaption("Nothing was written: " + why + ".");
        return;
    }
    unitIds_ = numbering ? ids : std::nullopt;
    for (Port& p : ports)
        if (!p.checked) p.cable = -1;
    if (!next) {
        roundNumber_ = 0;
        sessionDone_ = 0;
    }
    ++roundNumber_;
    recordProblem_.clear();
    closeWhenDone_ = false;
    round_ = std::make_unique<vktfleet::FleetRound>(platform_, workers_, job, cables);
    round_->recordFailed = [this](const std::string& why) { recordProblem_ = why; };
    round_->start();
    lblSummary.setCaption("Round " + std::to_string(roundNumber_) + ": " + std::to_string(cables.size()) + " radios under way.");
    if (holdsCables) holdsCables(true);
    showState();
    notifyRows();
}

void FleetRun::pass(double seconds) {
    if (!running()) return;
    const bool heard = round_->pass(seconds);
    if (!round_->running()) roundEnded();
    else if (heard) notifyRows();
}

void FleetRun::roundEnded() {
    sessionDone_ += round_->done();
    std::string summary = round_->summary();
    if (roundNumber_ > 1) summary = "Round " + std::to_string(roundNumber_) + ": " + summary;
    if (!recordProblem_.empty()) summary += "; the record was not written: " + recordProblem_;
    lblSummary.setCaption(summary);
    if (holdsCables) holdsCables(false);
    showState();
    notifyRows();
    if (closeWhenDone_) setVisible(false);
}

void FleetRun::chkNumber_Click() {
    if (chkNumber.Value()) chkKeepIds.setValue(0);
    showState();
}

void FleetRun::chkKeepIds_Click() {
    if (chkKeepIds.Value()) chkNumber.setValue(0);
    showState();
}

void FleetRun::cmdCancel_Click() {
    if (running()) round_->interrupt();
}

bool FleetRun::Form_QueryUnload() {
    if (!running()) {
        setVisible(false);
        return false;
    }
    if (platform_.MsgBox(CloseQuestion, vkt::Buttons::YesNo, vkt::Icon::Question, Title) == vkt::Answer::Yes) {
        closeWhenDone_ = true;
        round_->interrupt();
    }
    return true;
}

void FleetRun::Form_Escape() {
    if (running() || recordProblem_.empty()) Form_QueryUnload();
}

void FleetRun::showState() {
    const bool run = running();
    const bool reading = optRead.Value();
    for (vkt::Control* c : std::initializer_list<vkt::Control*>{&optWrite, &optRead, &chkGlobals, &txtRecord, &cmdFindCable, &cmdEmulated, &cmdStart})
        c->setEnabled(!run);
    chkVerify.setEnabled(!run && !reading && !chkChangedOnly.Value());
    chkGlobals.setEnabled(!run && !reading);
    chkChangedOnly.setEnabled(!run && !reading);
    chkNumber.setEnabled(!run && !reading);
    chkKeepIds.setEnabled(!run && !reading);
    txtFirstId.setEnabled(!run && !reading && chkNumber.Value());
    txtFolder.setEnabled(!run && reading);
    cmdCancel.setEnabled(run);
    cmdNext.setEnabled(!run && round_ != nullptr);
    cmdEmulated.setEnabled(!run && startEmulator != nullptr);
    lblSession.setCaption("Radios done this session: " + std::to_string(sessionDone_));
}

const vktfleet::CableState* FleetRun::stateOf(size_t port) const {
    const int c = ports.at(port).cable;
    return round_ && c >= 0 ? &round_->state(static_cast<size_t>(c)) : nullptr;
}

FleetRun::RowState FleetRun::state(size_t port) const {
    const vktfleet::CableState* s = stateOf(port);
    if (!s) return RowState::None;
    if (!s->reported) return s->running ? RowState::Running : RowState::None;
    switch (s->result.outcome) {
    case Outcome::Done: return RowState::Done;
    case Outcome::Unverified: return RowState::NotVerified;
    case Outcome::Interrupted: return RowState::Interrupted;
    case Outcome::Failed: break;
    }
    return RowState::Failed;
}

int FleetRun::percent(size_t port) const {
    const vktfleet::CableState* s = stateOf(port);
    return s ? s->percent : 0;
}

std::string FleetRun::phase(size_t port) const {
    const vktfleet::CableState* s = stateOf(port);
    return s ? s->phase : "";
}

std::string FleetRun::radio(size_t port) const {
    const vktfleet::CableState* s = stateOf(port);
    return s ? s->identity : "";
}

std::string FleetRun::result(size_t port) const {
    const vktfleet::CableState* s = stateOf(port);
    if (!s || !s->reported) return "";
    const std::string& id = s->result.unitId;
    return (id.empty() ? "" : "unit ID " + id + ": ") + round_->resultText(static_cast<size_t>(ports.at(port).cable)) + " " +
           vkt::FixedText(s->result.seconds, 1) + " s";
}

} // namespace vkteditor
