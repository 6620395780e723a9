// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmGroups.h"

#include <algorithm>

#include "core/ChannelCodes.h"
#include "core/ChannelPlan.h"
#include "core/MemoryImage.h"
#include "core/Text.h"
#include "core/WriteDefaults.h"
#include "editor/Keys.h"
#include "editor/SetupReport.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/Paths.h"

namespace vkteditor {

using vkt::Answer;

namespace {

std::vector<std::string> GroupNumbers() {
    std::vector<std::string> items;
    for (int g = 1; g <= VKTCore::GroupCount; ++g) items.push_back(std::to_string(g));
    return items;
}

} // namespace

frmGroups::frmGroups(vkt::Platform& platform, VKTCom::RadioLink& link, vktstore::ChannelTable& table)
    : vkt::Window(MainCaption),
      cboCurrentGroup(GroupNumbers(), "1"),
      Grid(table),
      gridEditor(platform, Grid),
      clipboard(platform, *this, Grid, gridEditor, mnuPaste, frmOffset, txtOffset),
      globalsForm(platform),
      proc(platform, *this),
      transfers(link, proc),
      radio(transfers, proc, platform, *this),
      files(platform, *this),
      platform_(platform),
      link_(link) {
    setGrid(Grid);
    setVisible(false);
    frmOffset.setVisible(false);
    txtOffset.setVisible(false);
    dataVKTInfo.setVisible(false);
    mnuSep3.setVisible(false);
    mnuReadCurrGroup.setVisible(false);
    mnuWriteCurrGroup.setVisible(false);
    for (size_t n = 0; n < mnuCommPort.size(); ++n) mnuCommPort[n] = vkt::MenuItem("Use Comm Port " + std::to_string(n + 1));
    mnuEmulated.setToolTip("The built-in radio emulator, for trying the program without a radio");
    lblEmulatedMark.setVisible(false);
    gridEditor.openOffsetBox = [this] { clipboard.openOffsetBox(); };
    gridEditor.told = [this](const std::string& why) { statusText.setCaption(why); };
    clipboard.told = gridEditor.told;
    // A character the radio cannot show is taken, to be stored as a space.
    limitTyping(txtGrpLab, 8, nullptr, GroupLabelRule);
    limitTyping(txtID, 7, vkt::AllDigits, IdRule);
    limitTyping(txtPassWord, 6, vkt::AllDigits, PassWordRule);
    moveForm.afterMove = [this] { displayGroupMemory(); };
    planImport.imported = [this](const VKTCore::ChannelPlan& plan) { importPlan(plan); };
}

frmGroups::~frmGroups() = default;

void frmGroups::limitTyping(vkt::TextBox& box, int maxLength, bool (*accepts)(const std::string&), const char* why) {
    box.MaxLength = maxLength;
    box.Accepts = accepts;
    box.Refused = [this, why] { typingRefused(why); };
}

void frmGroups::typingRefused(const std::string& why) {
    platform_.Beep();
    statusText.setCaption(why);
}

bool frmGroups::ShowsTypingHint() const {
    const std::string& caption = statusText.Caption();
    for (const char* hint : {GroupNumberRule, GroupLabelRule, IdRule, PassWordRule})
        if (caption == hint) return true;
    for (int col = 0; col < Grid.Cols(); ++col)
        if (caption == GridEditor::Rule(col)) return true;
    return false;
}

void frmGroups::tuningHoldsRadio(bool holds) {
    tuningHolds_ = holds;
    if (!holds && statusText.Caption() == TuningBusyText) statusText.setCaption("");
    radioHeld();
}

void frmGroups::fleetHoldsCables(bool holds) {
    fleetHolds_ = holds;
    if (!holds && statusText.Caption() == FleetBusyText) statusText.setCaption("");
    radioHeld();
}

void frmGroups::radioHeld() {
    const bool free = !tuningHolds_ && !fleetHolds_;
    for (vkt::MenuItem* item : {&mnuRead, &mnuReadGlobal, &mnuReadGroup, &mnuWriteAll, &mnuWriteChanges, &mnuVerify, &mnuWriteGlobal, &mnuWriteGroup,
                                &mnuEmulated, &mnuFindCable, &mnuCommSettings})
        item->setEnabled(free);
    for (vkt::MenuItem& port : mnuCommPort) port.setEnabled(free);
    mnuTuneRadio.setEnabled(!fleetHolds_);
    mnuFleet.setEnabled(!tuningHolds_);
}

void frmGroups::radioChosen() {
    // A radio heard on the port left is not the one the next write reaches.
    link_.RadioInfo = {};
    const bool emulated = link_.Emulated();
    proc.RadioNote = emulated ? EmulatedNote : "";
    lblEmulatedMark.setVisible(emulated);
    if (commPortChanged) commPortChanged();
}

void frmGroups::Form_Load() {
    link_.InitLinkParameters();
    GlobalsRecord = std::make_unique<VKTCore::clsGlobals>(globalsForm);
    currentGroup = std::max(0, cboCurrentGroup.ListIndex());
    GroupRecords.clear();
    for (int g = 0; g < VKTCore::GroupCount; ++g) GroupRecords.push_back(std::make_unique<VKTCore::clsGroup>(*this));
    txtPassWord.setText("731604");
    txtID.setText("0000000");
    txtGrpLab.setText("GROUP 0");
    loading = true;
    cboCurrentGroup.setListIndex(0);
    cboCurrentGroup_Click();
    setControlDefaults();
    files.ReportFileName.clear();
}

void frmGroups::setControlDefaults() {
    vkt::selectOption(optBattSaveOn, {&optBattSaveOn, &optBattSaveOff});
    vkt::selectOption(optUCGDisabled, {&optUCGEnabled, &optUCGDisabled});
    cboPri1Chan.setListIndex(1);
    cboPri2Chan.setListIndex(1);
    cboDisplay.setListIndex(0);
    cboBackLight.setListIndex(0);
    cboDuration.setListIndex(0);
    cboUCGChan.setListIndex(1);
    cboBCI.setListIndex(0);
    cboANI.setListIndex(0);
}

void frmGroups::Form_Activate() {
    if (loading) {
        VKTCore::MemoryImage.fill(0);
        WriteDefaults::WriteAllDefaults();
        showGroup(0);
        link_.ApplyCommPortSetting({mnuCommPort, mnuEmulated}, noCableAtHand && noCableAtHand());
        radioChosen();
        loading = false;
    }
    platform_.ClipboardClear();
    clipboard.reset();
    moveGrid(0, Grid.Col());
}

void frmGroups::Form_GotFocus() {
    mnuPaste.setEnabled(static_cast<int>(vkt::CharCount(platform_.ClipboardGetText())) == clipboard.copiedLength);
}

void frmGroups::showGroup(int g) {
    // What the image holds replaces what was being typed.
    Grid.cancelEdit();
    gridEditor.undoPaste = false;
    vktstore::ChannelTable::Batch batch(Grid.table());
    GroupRecords.at(static_cast<size_t>(g))->Read_Group(g);
}

void frmGroups::storeGroup(int g) {
    // A cell still open is checked like any other before its row is encoded.
    gridEditor.finishEdit();
    vktstore::ChannelTable::Batch batch(Grid.table());
    GroupRecords.at(static_cast<size_t>(g))->Write_Group(g);
}

// The group box names the group shown. Text typed into it that no entry was
// picked for is dropped, so that nothing is stored into or read from a group
// other than the one on the screen.
void frmGroups::putBackGroupBox() {
    if (cboCurrentGroup.ListIndex() != currentGroup) cboCurrentGroup.setListIndex(currentGroup);
    typedGroup = 0;
}

void frmGroups::displayGroupMemory() {
    putBackGroupBox();
    showGroup(currentGroup);
}

void frmGroups::storeGroupMemory() {
    putBackGroupBox();
    storeGroup(currentGroup);
}

void frmGroups::readCurrentGroup() { displayGroupMemory(); }

VKTCore::Image frmGroups::setupShown() {
    storeGroupMemory();
    if (globalsWindowOpen()) writeGlobals();
    return VKTCore::MemoryImage;
}

void frmGroups::writeCurrentGroup() { storeGroupMemory(); }

void frmGroups::cboCurrentGroup_Click() {
    const int picked = cboCurrentGroup.ListIndex();
    if (!loading && picked >= 0) {
        storeGroup(currentGroup);
        currentGroup = picked;
        showGroup(currentGroup);
    }
    typedGroup = 0;
    // A hint about a cell of the group left behind says nothing of this one.
    clearTypingHint();
    Grid.setColumnsSelected(false);
    gridEditor.undoCol = -1;
    moveGrid(0, Grid.Col());
}

void frmGroups::cboCurrentGroup_KeyDown(int) {
    if (typedGroup == 0) typedGroup = vkt::ToInt(vkt::Val(cboCurrentGroup.Text()));
}

void frmGroups::cboCurrentGroup_KeyUp(int key) {
    const std::string& text = cboCurrentGroup.Text();
    // Only a pick from the list switches groups, so a number typed and
    // entered is refused and the box names the group shown again.
    if (key == KeyReturn) {
        if (text != std::to_string(currentGroup + 1)) typingRefused(GroupNumberRule);
        putBackGroupBox();
        return;
    }
    const int n = vkt::ToInt(vkt::Val(text));
    if (vkt::IsNumeric(text) && n >= 1 && n <= VKTCore::GroupCount) return;
    typingRefused(GroupNumberRule);
    cboCurrentGroup.setEditText(std::to_string(typedGroup));
    typedGroup = 0;
}

bool frmGroups::Form_QueryUnload() {
    // A transfer or a tuning procedure ends through its own Cancel or Quit,
    // which leaves the radio released and as it was.
    if (proc.Loaded()) {
        statusText.setCaption(RadioBusyText);
        return true;
    }
    if (tuningHolds_) {
        statusText.setCaption(TuningBusyText);
        return true;
    }
    if (fleetHolds_) {
        statusText.setCaption(FleetBusyText);
        return true;
    }
    // Every question before anything is done, so that Cancel on any of them
    // changes nothing. The global parameters are answered first: whether
    // they go into the image decides what a save below writes.
    Answer globals = Answer::No;
    if (globalsWindowOpen()) {
        globals = platform_.MsgBox(frmGlobals::SaveQuestion, vkt::Buttons::YesNoCancel, vkt::Icon::None);
        if (globals == Answer::Cancel) return true;
    }
    const Answer save = platform_.MsgBox(SaveBeforeExit, vkt::Buttons::YesNoCancel, vkt::Icon::Question, vkt::AppTitle);
    if (save == Answer::Cancel) return true;
    const VKTCore::Image before = VKTCore::MemoryImage;
    if (globals == Answer::Yes) writeGlobals();
    // A save that fails (a read-only place, a full disk) keeps the program
    // open with everything as it was, as Cancel would.
    if (save == Answer::Yes && files.SaveSetupAs(vktstore::GlobalsWindow::AsDecided) == vktstore::FileResult::Failed) {
        VKTCore::MemoryImage = before;
        return true;
    }
    if (globalsWindowOpen()) globalsForm.Unload(false);
    link_.ClosePort();
    return false;
}

void frmGroups::loadScreen(vkt::MenuItem& chosen, const std::function<void(vktstore::clsDBUtil&)>& action) {
    {
        vktstore::clsDBUtil db(platform_, &Grid);
        for (vkt::MenuItem* item : {&mnuLast, &mnuDefault, &mnuBlank}) item->setChecked(item == &chosen);
        action(db);
    }
    Grid.refresh();
}

void frmGroups::mnuLast_Click() {
    loadScreen(mnuLast, [](vktstore::clsDBUtil& db) { db.lastToCurrent(); });
}

void frmGroups::mnuDefault_Click() {
    loadScreen(mnuDefault, [](vktstore::clsDBUtil& db) {
        db.currentToLast();
        db.setDefault();
    });
}

void frmGroups::mnuBlank_Click() {
    loadScreen(mnuBlank, [](vktstore::clsDBUtil& db) {
        db.currentToLast();
        db.setBlank();
    });
}

void frmGroups::moveGrid(int row, int col) {
    gridEditor.finishEdit();
    Grid.setRow(row);
    Grid.setCol(col);
}

} // namespace vkteditor

namespace vkteditor {

void frmGroups::mnuPrint_Click() {
    // The printout and the screen agree: the shown group comes from the image.
    displayGroupMemory();
    PrintSetupReport(platform_.printer(), files.ReportFileName);
}

} // namespace vkteditor

namespace vkteditor {

void frmGroups::keepBackupsIn(const std::string& folder) {
    backups_ = std::make_unique<vktstore::Backups>(folder);
    radio.beforeWrite = [this] {
        if (link_.RadioInfo == decltype(link_.RadioInfo){}) return;  // no radio heard on this port yet
        const std::string id = vkt::IdentityText(link_.RadioInfo);
        const auto last = backups_->latestFor(link_.RadioInfo);
        statusText.setCaption(last ? "Last backup of radio " + id + ": " + *last : "No backup of radio " + id + " yet");
    };
    radio.keepBackup = [this](const VKTCore::Image& image, const VKTCom::Fingerprint& which) {
        const auto saved = backups_->save(image, which.identity, "all");
        changesBackup_ = saved ? ", backup " + vktstore::Utf8Of(vktstore::PathOf(*saved).filename())
                               : ", its backup could not be saved in " + backups_->folder();
        return saved;
    };
}

namespace {

std::string Seconds(double s) { return vkt::FixedText(s, 1) + " s"; }

} // namespace

std::string frmGroups::radioName() const {
    return radio.LastRead ? VKTCom::FingerprintTag(*radio.LastRead) : vkt::IdentityText(link_.RadioInfo);
}

// How a read that did not come back whole ended: Cancel, at the progress
// window or at the hook's question, is no failure.
std::string frmGroups::readEnded(double start) {
    return proc.Cancelled || link_.HookCancelled ? "cancelled after " + Seconds(platform_.Timer() - start) : failedAfter(start);
}

// The time until the failure, not until its error box was answered, and
// the reason the link gave, which the box's fixed text does not tell.
std::string frmGroups::failedAfter(double start) {
    if (link_.LastFailure.empty()) return "failed after " + Seconds(platform_.Timer() - start);
    return "failed after " + Seconds(link_.LastFailureAt - start) + " (" + link_.LastFailure + ")";
}

void frmGroups::reportRead(const std::string& what, int bytes, void (VKTCom::RadioCommands::*command)()) {
    readBackup_.reset();
    proc.Cancelled = false;
    radio.afterRead = [this](const std::string& kind) {
        readBackup_ = "";
        if (!backups_) return;
        const auto saved = backups_->save(VKTCore::MemoryImage, link_.RadioInfo, kind);
        readBackup_ = saved ? ", backup " + vktstore::Utf8Of(vktstore::PathOf(*saved).filename())
                            : ", but its backup could not be saved in " + backups_->folder();
    };
    const double start = platform_.Timer();
    (radio.*command)();
    if (readBackup_)
        statusText.setCaption(what + " " + radioName() + ": " + std::to_string(bytes) + " bytes in " +
                              Seconds(platform_.Timer() - start) + *readBackup_);
    else
        statusText.setCaption(what + ": " + readEnded(start) + "; nothing was changed");
}

void frmGroups::reportFile(bool saving, vktstore::FileResult result) {
    if (result == vktstore::FileResult::Done) statusText.setCaption((saving ? "Saved " : "Opened ") + files.SetupFileName);
    else if (result == vktstore::FileResult::Failed)
        statusText.setCaption(files.SetupFileName + (saving ? " was not saved" : " was not opened"));
}

void frmGroups::mnuVerify_Click() {
    proc.Cancelled = false;
    const double start = platform_.Timer();
    radio.mnuVerify_Click();
    const std::string id = radioName();
    if (!radio.LastVerify)
        statusText.setCaption("Verify radio: " + readEnded(start));
    else if (*radio.LastVerify == 0)
        statusText.setCaption("Radio " + id + " matches the setup shown");
    else
        statusText.setCaption("Radio " + id + " differs in " + std::to_string(*radio.LastVerify) +
                              (*radio.LastVerify == 1 ? " setting" : " settings"));
}

void frmGroups::mnuWriteChanges_Click() {
    proc.Cancelled = false;
    changesBackup_.clear();
    const double start = platform_.Timer();
    radio.mnuWriteChanges_Click();
    if (!radio.LastChanges) return;
    const std::string id = radioName();
    statusText.setCaption("Write changes to radio " + id + " (" + Seconds(platform_.Timer() - start) + "): " + *radio.LastChanges +
                          changesBackup_);
}

void frmGroups::reportWrite(const std::string& what, void (VKTCom::RadioCommands::*command)()) {
    proc.Cancelled = false;
    const double start = platform_.Timer();
    (radio.*command)();
    const std::string took = Seconds(platform_.Timer() - start);
    if (proc.Cancelled)
        statusText.setCaption("Write cancelled after " + took + ": the radio may hold part of the setup");
    else if (radio.LastWrite && *radio.LastWrite)
        statusText.setCaption("Wrote " + what + " to radio " + radioName() + " in " + took);
    else if (radio.LastWrite)
        statusText.setCaption("Writing " + what + " " + failedAfter(start) + ": the radio may hold part of it");
}

} // namespace vkteditor

namespace vkteditor {

void frmGroups::mnuImportPlan_Click() {
    const auto path = platform_.FileDialog({.forSave = false, .fileName = "", .filter = PlanFilter, .defaultExtension = "csv"});
    if (!path) return;
    std::string text;
    vktstore::FileError error;
    if (!vktstore::ReadWholeFile(*path, VKTCore::PlanMaxBytes, text, error)) {
        files.ShowFileError(error);
        return;
    }
    // A file that is neither plan is said at once; a plan's own faults show in the dialog.
    if (!VKTCore::DetectPlanFormat(text)) {
        VKTCore::ChannelPlan plan;
        std::string why;
        VKTCore::ReadPlan(text, {}, plan, why);
        platform_.MsgBox(*path + ":\r" + why, vkt::Buttons::OK, vkt::Icon::Exclamation, NoPlanTitle);
        return;
    }
    planImport.Show(*path, text);
}

void frmGroups::importPlan(const VKTCore::ChannelPlan& plan) {
    storeGroupMemory();
    const VKTCore::Image before = VKTCore::MemoryImage;
    VKTCore::ApplyPlan(plan, VKTCore::MemoryImage);
    displayGroupMemory();
    // The image as the shown group stores it, so that Undo can tell whether anything changed since.
    storeGroupMemory();
    planUndo_ = PlanUndo{before, VKTCore::MemoryImage};
    std::string changed;
    for (const std::string& line : VKTCore::PlanChanges(plan)) changed += (changed.empty() ? "" : "; ") + line;
    statusText.setCaption("Channel plan imported: " + changed + " (Undo puts them back)");
}

void frmGroups::mnuUndo_Click() {
    // Whatever was typed since the import goes into the image first: any
    // change there leaves the import in place, and Undo is the grid's own.
    if (planUndo_) {
        storeGroupMemory();
        const bool unchanged = VKTCore::MemoryImage == planUndo_->after;
        if (unchanged) VKTCore::MemoryImage = planUndo_->before;
        planUndo_.reset();
        if (unchanged) {
            displayGroupMemory();
            statusText.setCaption("Channel plan import undone");
            return;
        }
    }
    clipboard.mnuUndo_Click();
}

void frmGroups::exportPlan(VKTCore::PlanFormat format) {
    storeGroupMemory();
    const auto path = platform_.FileDialog({.forSave = true, .fileName = "", .filter = PlanFilter, .defaultExtension = "csv"});
    if (!path) return;
    vktstore::FileError error;
    const auto written = VKTCore::WritePlan(VKTCore::MemoryImage, format);
    if (!vktstore::WriteFileReplacing(*path, written.text, error)) {
        files.ShowFileError(error);
        return;
    }
    statusText.setCaption("Channel plan written: " + std::to_string(written.channels) + " channels to " + *path);
    if (written.leftOut.empty()) return;
    std::string why;
    for (const std::string& line : written.leftOut) why += "\r" + line;
    platform_.MsgBox(*path + ":\rLeft out, as the plan cannot hold them as the setup has them:" + why, vkt::Buttons::OK,
                     vkt::Icon::Exclamation, PlanLeftOutTitle);
}

} // namespace vkteditor
