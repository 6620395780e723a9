// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Program Several Radios": the fleet run of vkt for the technician who
// never opens a terminal. The machine's serial ports (and emulated radios
// for practice) are listed with a check box each; Start runs every checked
// cable at once through copies of vkt (`--worker`), round after round, each
// cable's progress, radio and result shown in its row and kept in the
// record.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/MemoryImage.h"
#include "fleet/FleetRound.h"
#include "fleet/UnitIds.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/SerialPorts.h"
#include "platform/WorkerPool.h"

namespace vkteditor {

class FleetRun : public vkt::Window {
public:
    static constexpr const char* Title = "Program Several Radios";
    static constexpr const char* NoCableChecked = "Check the cables of the radios to program first.";
    static constexpr const char* CloseQuestion =
        "Radios are being programmed. Stop every radio at its next block, release it and close the window?";
    // The setup the copies write, named by its SHA-256 so that the record's
    // name stands for those bytes alone: "fleet-setup-3f9a0c21b7e4.vkt".
    static constexpr const char* SetupFilePrefix = "fleet-setup-";
    static constexpr const char* RecordFile = "fleet-record.csv";
    static constexpr const char* ReadFolder = "radios";

    // A row: a serial port of the machine, or an emulated radio.
    struct Port {
        std::string device;      // "/dev/ttyUSB0", an emulated radio's pseudo-terminal
        std::string text;        // "/dev/ttyUSB0 — FT232R USB UART"
        std::string recordName;  // what the record calls it: "/dev/ttyUSB0", "Emulated radio 1 (/dev/pts/3)"
        std::string memoryFile;  // an emulated radio's EEPROM file
        bool checked = false;
        int cable = -1;          // its place in the round under way or last run
    };
    // A row's cable: not in the round, under way, or how its radio ended.
    enum class RowState { None, Running, Done, Failed, NotVerified, Interrupted };

    FleetRun(vkt::Platform& platform, vkt::PortDirectory& ports, vkt::WorkerPool& workers, std::string dataFolder);
    ~FleetRun() override;

    std::vector<Port> ports;

    vkt::OptionButton optWrite{"&Write the setup shown"}, optRead{"&Read each radio into a file"};
    vkt::CheckBox chkVerify{"&Verify after writing"}, chkGlobals{"Include the &unit-wide settings"};
    // Each radio read first, and only what differs written and verified.
    vkt::CheckBox chkChangedOnly{"Write only what &differs"};
    // Each radio its own ANI/ID: numbered on from the first given (or
    // taken from a file of them), or kept as each radio holds it.
    vkt::CheckBox chkNumber{"Num&ber the radios from"}, chkKeepIds{"&Keep each radio's own ANI/ID"};
    vkt::TextBox txtFirstId;
    vkt::Label lblRecord{"Recor&d file:"}, lblFolder{"Folder for read &files:"};
    vkt::TextBox txtRecord, txtFolder;
    vkt::Button cmdFindCable{"Find &Cable..."}, cmdEmulated{"Add &Emulated Radio"};
    vkt::Button cmdStart{"&Start"}, cmdCancel{"Cancel"}, cmdNext{"&Next Radios"}, cmdClose{"C&lose"};
    // "3 of 4 radios written and verified in 22.0 s; not done: /dev/ttyUSB2"
    vkt::Label lblSummary;
    // "Radios done this session: 7"
    vkt::Label lblSession;

    // Services of the layers above.
    // The setup the main window shows, its shown group's edits included.
    std::function<VKTCore::Image()> setupShown;
    // The name of the setup file shown ("" for none), for the record.
    std::function<std::string()> setupName;
    std::function<std::string(const std::vector<uint8_t>&)> sha256;
    // Starts an emulated radio keeping its memory in memoryFile: its device,
    // or "" and why.
    std::function<std::string(const std::string& memoryFile, std::string& why)> startEmulator;
    // Told when the window starts and stops holding cables.
    std::function<void(bool holds)> holdsCables;
    // The rows changed: their number, their texts or their progress.
    std::function<void()> rowsChanged;

    // Opens the window with the machine's ports listed.
    void Show();
    // Lists the machine's ports again, USB adapters first, keeping the
    // checks and the emulated radios.
    void listPorts();
    // The cable just plugged in joins the list, checked.
    void cableFound(const std::string& device);
    void cmdEmulated_Click();
    void cmdStart_Click() { startRound(false); }
    void cmdNext_Click() { startRound(true); }
    void cmdCancel_Click();
    void cmdClose_Click() { Form_QueryUnload(); }
    // The rows' check boxes say what they do to their radios.
    void optAction_Click() {
        showState();
        notifyRows();
    }
    void chkChangedOnly_Click() { showState(); }
    // The two ways with unit IDs exclude each other.
    void chkNumber_Click();
    void chkKeepIds_Click();
    // Hears the copies for up to seconds (none: what they said already, as
    // the window does whenever they say something).
    void pass(double seconds);
    // True keeps the window open: a run asks first, and when told to go on
    // it is cancelled and the window closes once every radio is released.
    bool Form_QueryUnload();
    // Esc: a run under way is left only as Close leaves it, by the question;
    // once it is over the window closes, unless the record failed to take the
    // rows and the window is all that tells of them.
    void Form_Escape();

    bool running() const { return round_ && round_->running(); }
    int round() const { return roundNumber_; }
    int radiosDone() const { return sessionDone_; }
    RowState state(size_t port) const;
    int percent(size_t port) const;
    std::string phase(size_t port) const;
    std::string radio(size_t port) const;
    // "written and verified 14.1 s", "FAILED: block 30: no acknowledgement after 0.5 s 2.1 s",
    // "unit ID 0001001: written and verified 14.1 s"
    std::string result(size_t port) const;
    // The arguments each copy gets besides its cable.
    std::vector<std::string> copyOptions() const;

private:
    void startRound(bool next);
    void roundEnded();
    void showState();
    // The port's cable in the round under way or last run; null for none.
    const vktfleet::CableState* stateOf(size_t port) const;
    void notifyRows() {
        if (rowsChanged) rowsChanged();
    }

    vkt::Platform& platform_;
    vkt::PortDirectory& directory_;
    vkt::WorkerPool& workers_;
    std::string data_;
    std::unique_ptr<vktfleet::FleetRound> round_;
    // The session's numbering, carried on by Next Radios.
    std::optional<vktfleet::UnitIds> unitIds_;
    int roundNumber_ = 0;
    int sessionDone_ = 0;
    int emulated_ = 0;
    bool closeWhenDone_ = false;
    std::string recordProblem_;
    std::string setupPath_;
};

} // namespace vkteditor
