// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: one group at a time in its group controls and channel
// grid, the menus that reach every other function, and the three stores of a
// setup (image, controls, channel table) kept in step.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/GroupControls.h"
#include "core/MemoryImage.h"
#include "core/clsGlobals.h"
#include "core/clsGroup.h"
#include "editor/ChannelGrid.h"
#include "editor/ClipboardCommands.h"
#include "editor/GridEditor.h"
#include "editor/frmGlobals.h"
#include "editor/frmMove.h"
#include "editor/frmPlanImport.h"
#include "link/RadioCommands.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "link/frmProc.h"
#include "store/Backups.h"
#include "store/ChannelTable.h"
#include "store/FileOpenSave.h"
#include "store/clsDBUtil.h"

namespace vkteditor {

class frmGroups : public vkt::Window,
                  public vkt::GroupControls,
                  public vktstore::SetupWindow,
                  public VKTCom::RadioWindow {
public:
    frmGroups(vkt::Platform& platform, VKTCom::RadioLink& link, vktstore::ChannelTable& table);
    ~frmGroups() override;

    static constexpr const char* MainCaption = "VKTEDWIN  -  VKT Editor";
    static constexpr const char* SaveBeforeExit = "Save before exit?";
    static constexpr const char* GroupNumberRule = "Current Group takes a group number, 1 ... 15: pick it from the list to show it";
    static constexpr const char* GroupLabelRule = "Group Label takes up to 8 characters";
    static constexpr const char* IdRule = "ANI/ID Number takes 7 digits";
    static constexpr const char* PassWordRule = "Pass Word takes 6 digits";
    static constexpr const char* RadioBusyText = "A radio command is still running: let it finish, or cancel it, before closing the editor.";
    static constexpr const char* TuningBusyText =
        "A tuning procedure holds the radio: finish it with its own Quit button before closing the editor.";
    static constexpr const char* FleetBusyText =
        "Program Several Radios holds the cables: let its run finish, or cancel it, before closing the editor.";

    // --- controls beyond the group fields ---
    vkt::Label lblCurrentGroup{"Current Group:"};
    vkt::ComboBox cboCurrentGroup;
    vkt::Label lblGrpLbl{"Group Label:"}, lblANI{"ANI/ID Number:"}, lblPassWord{"Pass Word:"};
    vkt::Label lblTOT{"Tx Time Out Timer:"}, lblScanHold{"Scan Hold Time:"};
    vkt::Frame fraDisplyControl{"Display Control"};
    vkt::Label lblDisplay{"Display:"}, lblBackLight{"Back Light:"}, lblDuration{"Duration:"};
    vkt::Frame fraBCI{"Busy Channel Indicator"}, fraANI{"Resident ANI/DTMF"}, fraLockout{"Keyboard Lockouts"};
    vkt::Frame fraUCG{"User Code Guard"};
    vkt::Label lblUCGChan{"Chan:"};
    vkt::Frame fraBattSave{"Battery Saver"}, fraDualPri{"Dual Priority"};
    vkt::Label lblPri1Chan{"Priority 1:"}, lblPri2{"Priority 2:"};
    vkt::Frame frmOffset{"Offset"};
    vkt::TextBox txtOffset;
    vkt::Label lblScan{"SCAN List"}, lblNarr{"Narrow Band"}, lblLoPower{"Low Power"};
    vkt::Label dataVKTInfo{"VKTInfo"};
    // A line under the window for what the technician should know.
    vkt::Label statusText;
    // Stays in the status bar while the emulated radio stands for the radio.
    vkt::Label lblEmulatedMark{"Emulated radio"};
    static constexpr const char* EmulatedNote = " (emulated radio)";

    // --- menus ---
    vkt::MenuItem mnuFile{"File"}, mnuSave{"&Save", "Ctrl+S"}, mnuSaveAs{"Sa&ve As"}, mnuSep1{"-"},
        mnuOpen{"&Open", "Ctrl+O"}, mnuImportPlan{"&Import Channel Plan..."}, mnuExportPlan{"E&xport Channel Plan"},
        mnuExportIncident{"&Incident Radio Communications Plan (ICS 205)..."}, mnuExportList{"&Channel List..."}, mnuSep4{"-"}, mnuLoad{"Load"}, mnuLast{"&Last Screen", "Ctrl+L"},
        mnuDefault{"&Default Screen", "Ctrl+D"}, mnuBlank{"&Blank Screen", "Ctrl+B"}, mnuP{"Print"},
        mnuPrint{"&Print Displayed VKT Setup", "Ctrl+P"}, mnuSetup{"Print Set&up"}, mnuSep2{"-"}, mnuExit{"&Exit"};
    vkt::MenuItem mnuRadio{"Radio"}, mnuRead{"Read Radio", "F2"}, mnuReadGlobal{"Read Global Information from Radio"},
        mnuReadGroup{"Read Group from Radio"}, mnuWriteAll{"Write Radio", "F3"}, mnuWriteChanges{"Write Changes"},
        mnuVerify{"Verify Radio"},
        mnuWriteGlobal{"Write Global Information To Radio"}, mnuWriteGroup{"Write Current Group to Radio", "F4"},
        mnuSep3{"-"}, mnuReadCurrGroup{"Read Current Group"}, mnuWriteCurrGroup{"Write Current Group"};
    // Several radios at once, each on a cable of its own.
    vkt::MenuItem mnuFleet{"Program Several Radios..."};
    vkt::MenuItem mnuEdit{"Edit"}, mnuGlobals{"Global Parameters"}, mnuUndo{"Undo", "Ctrl+Z"}, mnuCopy{"Copy"},
        mnuAll{"Copy All", "Ctrl+A"}, mnuRow{"Copy a row", "Ctrl+R"}, mnuPaste{"Paste", "Ctrl+V"},
        mnuMove{"Move", "Ctrl+M"};
    vkt::MenuItem mnuTuneRadio{"Tune"};
    vkt::MenuItem mnuCommPortx{"Comm-Port"};
    std::array<vkt::MenuItem, 4> mnuCommPort;
    // The built-in radio emulator, chosen like a Comm Port.
    vkt::MenuItem mnuEmulated{"Emulated Radio"};
    vkt::MenuItem mnuFindCable{"Find Cable..."};
    vkt::MenuItem mnuCommSettings{"Comm Port &Settings..."};
    vkt::MenuItem mnuH{"Help"}, mnuAbout{"About VKTEDWIN"}, mnuHelp{"Help", "Ctrl+H"};
    // Off unless asked for: a record of the serial line in a file.
    vkt::MenuItem mnuTrace{"Serial &Trace"};

    // --- state ---
    int currentGroup = 0;
    bool loading = false;
    int typedGroup = 0;

    ChannelGrid Grid;
    GridEditor gridEditor;
    ClipboardCommands clipboard;
    std::vector<std::unique_ptr<VKTCore::clsGroup>> GroupRecords;
    std::unique_ptr<VKTCore::clsGlobals> GlobalsRecord;
    frmGlobals globalsForm;
    frmMove moveForm;
    frmPlanImport planImport;
    VKTCom::frmProc proc;
    VKTCom::Transfers transfers;
    VKTCom::RadioCommands radio;
    vktstore::FileOpenSave files;

    // Windows this one opens that live in the layers above it.
    std::function<void()> showAbout;
    std::function<void()> showTune;
    std::function<void()> showFleet;
    std::function<void()> findCable;
    std::function<void()> commSettings;
    // Runs after another Comm Port was chosen.
    std::function<void()> commPortChanged;
    // True when no cable is at hand (no port set, no USB serial adapter): a
    // technician who never chose a port then starts on the emulated radio.
    std::function<bool()> noCableAtHand;
    // Turns the serial trace on or off; false when it could not start.
    std::function<bool(bool on)> setTrace;
    void mnuTrace_Click() { mnuTrace.setChecked(setTrace && setTrace(!mnuTrace.Checked())); }

    // --- events ---
    void Form_Load();
    void Form_Activate();
    void Form_GotFocus();
    // Asks about the global parameters window, if it is loaded, then whether
    // to save; true (Cancel, or a radio conversation still running) keeps
    // every window open as it was.
    bool Form_QueryUnload();

    // Invalid typing beeps, puts nothing in, and the status bar says why.
    void typingRefused(const std::string& why);
    // The status bar says why typing was refused, a box's or a grid cell's:
    // a hint that goes at the next key taken.
    bool ShowsTypingHint() const;
    void clearTypingHint() {
        if (ShowsTypingHint()) statusText.setCaption("");
    }

    void cboCurrentGroup_Click();
    void cboCurrentGroup_KeyDown(int key);
    void cboCurrentGroup_KeyUp(int key);
    // Leaving the box drops a number typed into it: typing never switches.
    void cboCurrentGroup_LostFocus() { putBackGroupBox(); }

    void mnuSave_Click() { reportFile(true, files.SaveSetup()); }
    void mnuSaveAs_Click() { reportFile(true, files.SaveSetupAs()); }
    void mnuOpen_Click() { reportFile(false, files.OpenSetup()); }
    void mnuLast_Click();
    void mnuDefault_Click();
    void mnuBlank_Click();
    void mnuSetup_Click() { platform_.PrinterSetup(); }
    void mnuRead_Click() { reportRead("Read radio", VKTCore::RadioMemorySize, &VKTCom::RadioCommands::mnuRead_Click); }
    void mnuReadGlobal_Click() { reportRead("Read global information from radio", 256, &VKTCom::RadioCommands::mnuReadGlobal_Click); }
    void mnuReadGroup_Click() {
        reportRead("Read group " + std::to_string(shownGroupNumber()) + " from radio", VKTCore::GroupAreaSize,
                   &VKTCom::RadioCommands::mnuReadGroup_Click);
    }
    void mnuWriteAll_Click() { reportWrite("the setup", &VKTCom::RadioCommands::mnuWriteAll_Click); }
    void mnuVerify_Click();
    void mnuWriteChanges_Click();
    void mnuWriteGlobal_Click() { reportWrite("the global information", &VKTCom::RadioCommands::mnuWriteGlobal_Click); }
    void mnuWriteGroup_Click() {
        reportWrite("group " + std::to_string(shownGroupNumber()), &VKTCom::RadioCommands::mnuWriteGroup_Click);
    }
    void mnuReadCurrGroup_Click() { readCurrentGroup(); }
    void mnuWriteCurrGroup_Click() { writeCurrentGroup(); }
    void mnuGlobals_Click() { globalsForm.Show(); }
    void mnuCommPort_Click(int n) {
        link_.SelectCommPort(n, {mnuCommPort, mnuEmulated});
        radioChosen();
    }
    void mnuEmulated_Click() { mnuCommPort_Click(vkt::EmulatedPort); }
    void mnuFindCable_Click() { if (findCable) findCable(); }
    void mnuCommSettings_Click() { if (commSettings) commSettings(); }
    void mnuAbout_Click() { if (showAbout) showAbout(); }
    // The tuning window's conversation is a command of its own: an earlier
    // command's message does not stay beside it.
    void mnuTuneRadio_Click() {
        statusText.setCaption("");
        if (showTune) showTune();
    }
    void mnuFleet_Click() { if (showFleet) showFleet(); }
    void mnuHelp_Click() { platform_.ShowHelp(); }
    // Undoes a channel plan import while nothing has changed since; else the last cell typed into.
    void mnuUndo_Click();
    void mnuImportPlan_Click();
    void mnuExportIncident_Click() { exportPlan(VKTCore::PlanFormat::IncidentPlan); }
    void mnuExportList_Click() { exportPlan(VKTCore::PlanFormat::ChannelList); }
    static constexpr const char* PlanFilter = "Channel plan (*.csv)|*.csv|All (*.*)|*.*";
    static constexpr const char* NoPlanTitle = "Import Channel Plan";
    static constexpr const char* PlanLeftOutTitle = "Export Channel Plan";
    void mnuAll_Click() { clipboard.mnuAll_Click(); }
    void mnuRow_Click() { clipboard.mnuRow_Click(); }
    void mnuPaste_Click() { clipboard.mnuPaste_Click(); }
    void Grid_DblClick() { clipboard.Grid_DblClick(); }
    void mnuMove_Click() { moveForm.Show(); }
    void mnuPrint_Click();
    void txtOffset_KeyDown(int key) { clipboard.txtOffset_KeyDown(key); }

    // --- operations other parts use ---
    void displayGroupMemory() override;
    void storeGroupMemory() override;
    void readCurrentGroup() override;
    void writeCurrentGroup() override;
    int shownGroupNumber() const override { return currentGroup + 1; }
    bool globalsWindowOpen() const override { return globalsForm.globalsWindowOpen(); }
    void readGlobals() override { GlobalsRecord->Read_Globals(); }
    void writeGlobals() override { GlobalsRecord->Write_Globals(); }
    void storeShownGroup() override { storeGroupMemory(); }
    void showShownGroup() override { displayGroupMemory(); }
    void storeGlobals() override { writeGlobals(); }
    void showGlobals() override { readGlobals(); }
    void setCaption(const std::string& caption) override { vkt::Window::setCaption(caption); }

    // Told by the tuning window whether it holds the radio: meanwhile no
    // command here may start a conversation of its own or close the window.
    void tuningHoldsRadio(bool holds);
    // Told by the fleet window whether it holds cables: meanwhile, likewise,
    // and no tuning either.
    void fleetHoldsCables(bool holds);

    // The setup as shown: the shown group's edits and an open global
    // parameters window's settings stored into the image, which it returns.
    VKTCore::Image setupShown();

    // Keeps a backup of every read radio in this folder.
    void keepBackupsIn(const std::string& folder);
    vktstore::Backups* backups() { return backups_.get(); }

    // Moves the grid's current cell, ending any edit.
    void moveGrid(int row, int col);
    vkt::Platform& platform() { return platform_; }

private:
    // Run a Radio menu command and say in the status bar what came of it
    // and how long it took.
    void reportRead(const std::string& what, int bytes, void (VKTCom::RadioCommands::*command)());
    void reportWrite(const std::string& what, void (VKTCom::RadioCommands::*command)());
    // What a save or an open came to; a failure has said why in its box.
    void reportFile(bool saving, vktstore::FileResult result);
    std::string readEnded(double start);
    // What a transfer that failed took up to its failure, and why it failed.
    std::string failedAfter(double start);
    // The radio on the port as the status bar names it: with its tag when
    // the last command read it whole, else by its identity.
    std::string radioName() const;
    void limitTyping(vkt::TextBox& box, int maxLength, bool (*accepts)(const std::string&), const char* why);
    void showGroup(int g);
    void storeGroup(int g);
    void putBackGroupBox();
    // After a port was chosen: what names the emulated radio, and whoever
    // shows the ports.
    void radioChosen();
    void setControlDefaults();
    void loadScreen(vkt::MenuItem& chosen, const std::function<void(vktstore::clsDBUtil&)>& action);
    void importPlan(const VKTCore::ChannelPlan& plan);
    void exportPlan(VKTCore::PlanFormat format);

    // The radio menu and the ports as the windows holding radios leave them.
    void radioHeld();
    bool tuningHolds_ = false;
    bool fleetHolds_ = false;
    vkt::Platform& platform_;
    VKTCom::RadioLink& link_;
    std::unique_ptr<vktstore::Backups> backups_;
    // Set when a read has come back whole: what is to be said of its backup.
    std::optional<std::string> readBackup_;
    // Where Write Changes kept the radio's backup, for the status bar.
    std::string changesBackup_;
    // The image before and after the last channel plan import, for its Undo.
    struct PlanUndo {
        VKTCore::Image before, after;
    };
    std::optional<PlanUndo> planUndo_;
};

} // namespace vkteditor
