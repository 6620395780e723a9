// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FleetRun.h"

#include <algorithm>
#include <filesystem>

#include "core/Text.h"
#include "store/FileWriter.h"

namespace vkteditor {

FleetRun::FleetRun(vkt::Platform& platform, vkt::PortDirectory& ports, vkt::WorkerPool& workers, std::string dataFolder)
    : vkt::Window(Title), platform_(platform), directory_(ports), workers_(workers), data_(std::move(dataFolder)) {
    setVisible(false);
    optWrite.setValue(true);
    chkVerify.setValue(1);
    chkGlobals.setValue(1);
    txtRecord.setText((std::filesystem::path(data_) / RecordFile).string());
    txtFolder.setText((std::filesystem::path(data_) / ReadFolder).string());
    showState();
}

FleetRun::~FleetRun() = default;

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
        Port row{p.systemLocation, vkt::PortStatusText(p.systemLocation, machine), "", false, -1};
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
        ports.push_back({device, vkt::PortStatusText(device, directory_.machinePorts()), "", false, -1});
        it = ports.end() - 1;
    }
    it->checked = true;
    notifyRows();
    showState();
}

void FleetRun::cmdEmulated_Click() {
    if (!startEmulator) return;
    const int n = emulated_ + 1;
    const std::string memory = (std::filesystem::path(data_) / ("fleet-radio-" + std::to_string(n) + ".eeprom")).string();
    std::string why;
    const std::string device = startEmulator(memory, why);
    if (device.empty()) {
        lblSummary.setCaption("The emulated radio did not start: " + why);
        return;
    }
    emulated_ = n;
    ports.push_back({device, "Emulated radio " + std::to_string(n) + " (" + device + ")", memory, true, -1});
    notifyRows();
    showState();
}

std::vector<std::string> FleetRun::copyOptions() const {
    if (optRead.Value()) return {"read", "-o", txtFolder.Text()};
    std::vector<std::string> args{"write", setupPath_};
    if (chkVerify.Value() && !chkChangedOnly.Value()) args.push_back("--verify");
    if (!chkGlobals.Value()) args.push_back("--no-globals");
    if (chkChangedOnly.Value()) args.push_back("--changed-only");
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
    FleetJob job{reading ? "read" : "write", changedOnly || (!reading && chkVerify.Value() != 0), changedOnly, txtRecord.Text(), "", ""};
    std::error_code ec;
    if (reading) {
        std::filesystem::create_directories(txtFolder.Text(), ec);
        if (txtFolder.Text().empty() || !std::filesystem::is_directory(txtFolder.Text())) {
            lblSummary.setCaption("The radios cannot be read into " + txtFolder.Text() + ": it is not a folder that can be made.");
            return;
        }
    } else {
        // The copies write what the main window shows, from a file of
        // their own in the data folder.
        const VKTCore::Image image = setupShown ? setupShown() : VKTCore::MemoryImage;
        setupPath_ = (std::filesystem::path(data_) / SetupFile).string();
        vktstore::FileError e;
        if (!vktstore::WriteFileReplacing(setupPath_, image, e)) {
            lblSummary.setCaption("The setup for the radios cannot be written to " + setupPath_ + ": " + e.description);
            return;
        }
        const std::string shown = setupName ? setupName() : "";
        job.setupName = shown.empty() ? setupPath_ : shown;
        if (sha256) job.setupSha256 = sha256(std::vector<uint8_t>(image.begin(), image.end()));
    }
    std::vector<FleetCable> cables;
    for (size_t c = 0; c < chosen.size(); ++c) {
        Port& p = ports[chosen[c]];
        std::vector<std::string> args = copyOptions();
        args.insert(args.end(), {"--device", p.device, "--worker"});
        cables.push_back({p.text.substr(0, p.text.find(" \u2014 ")), args});
        p.cable = static_cast<int>(c);
    }
    for (Port& p : ports)
        if (!p.checked) p.cable = -1;
    if (!next) {
        roundNumber_ = 0;
        sessionDone_ = 0;
    }
    ++roundNumber_;
    recordProblem_.clear();
    closeWhenDone_ = false;
    round_ = std::make_unique<FleetRound>(platform_, workers_, job, cables);
    round_->recordFailed = [this](const std::string& why) { recordProblem_ = why; };
    round_->start();
    lblSummary.setCaption("Round " + std::to_string(roundNumber_) + ": " + std::to_string(cables.size()) + " radios under way.");
    if (holdsCables) holdsCables(true);
    showState();
    notifyRows();
}

void FleetRun::pass(double seconds) {
    if (!running() || passing_) return;
    passing_ = true;
    const bool heard = round_->pass(seconds);
    passing_ = false;
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

void FleetRun::showState() {
    const bool run = running();
    const bool reading = optRead.Value();
    for (vkt::Control* c : std::initializer_list<vkt::Control*>{&optWrite, &optRead, &chkGlobals, &txtRecord, &cmdFindCable, &cmdEmulated, &cmdStart})
        c->setEnabled(!run);
    chkVerify.setEnabled(!run && !reading && !chkChangedOnly.Value());
    chkGlobals.setEnabled(!run && !reading);
    chkChangedOnly.setEnabled(!run && !reading);
    txtFolder.setEnabled(!run && reading);
    cmdCancel.setEnabled(run);
    cmdNext.setEnabled(!run && round_ != nullptr);
    cmdEmulated.setEnabled(!run && startEmulator != nullptr);
    lblSession.setCaption("Radios done this session: " + std::to_string(sessionDone_));
}

const CableState* FleetRun::stateOf(size_t port) const {
    const int c = ports.at(port).cable;
    return round_ && c >= 0 ? &round_->state(static_cast<size_t>(c)) : nullptr;
}

FleetRun::Outcome FleetRun::outcome(size_t port) const {
    const CableState* s = stateOf(port);
    if (!s) return Outcome::None;
    if (!s->reported) return s->running ? Outcome::Running : Outcome::None;
    const std::string& status = s->result.status;
    if (status == "done") return Outcome::Done;
    if (status == "unverified") return Outcome::NotVerified;
    if (status == "interrupted") return Outcome::Interrupted;
    return Outcome::Failed;
}

int FleetRun::percent(size_t port) const {
    const CableState* s = stateOf(port);
    return s ? s->percent : 0;
}

std::string FleetRun::phase(size_t port) const {
    const CableState* s = stateOf(port);
    return s ? s->phase : "";
}

std::string FleetRun::radio(size_t port) const {
    const CableState* s = stateOf(port);
    return s ? s->identity : "";
}

std::string FleetRun::result(size_t port) const {
    const CableState* s = stateOf(port);
    if (!s || !s->reported) return "";
    return round_->resultText(static_cast<size_t>(ports.at(port).cable)) + " " + vkt::FixedText(s->result.seconds, 1) + " s";
}

} // namespace vkteditor
