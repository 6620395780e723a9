// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Radio menu: reading the radio into the editor and writing the editor's
// setup to the radio, with the confirmations, the progress window and the
// refresh of the window afterwards.

#include <functional>
#include <optional>
#include <string>

#include "link/Fingerprint.h"
#include "link/RadioJobs.h"
#include "link/SetupComparison.h"
#include "link/Transfers.h"

namespace VKTCom {

// What the Radio menu needs of the main window.
class RadioWindow {
public:
    virtual ~RadioWindow() = default;
    virtual void storeGroupMemory() = 0;
    virtual void displayGroupMemory() = 0;
    // Read Current Group / Write Current Group (the hidden menu items).
    virtual void readCurrentGroup() = 0;
    virtual void writeCurrentGroup() = 0;
    // The group number in the group box (its text as a number).
    virtual int shownGroupNumber() const = 0;
    virtual bool globalsWindowOpen() const = 0;
    // Read_Globals / Write_Globals on the window's unit-wide record.
    virtual void readGlobals() = 0;
    virtual void writeGlobals() = 0;
};

class RadioCommands : private JobHost {
public:
    RadioCommands(Transfers& transfers, frmProc& proc, vkt::Platform& platform, RadioWindow& window)
        : transfers_(transfers), proc_(proc), platform_(platform), window_(window) {}

    void mnuRead_Click();
    void mnuReadGlobal_Click();
    void mnuReadGroup_Click();
    void mnuWriteAll_Click();
    // Reads the radio aside and lists where it differs from the setup shown.
    void mnuVerify_Click();
    // Reads the whole radio (its backup), writes only what differs from the
    // setup shown and reads that back.
    void mnuWriteChanges_Click();
    void mnuWriteGlobal_Click();
    void mnuWriteGroup_Click();

    // After a successful read ("all", "global", "group3"), and before a
    // write's confirmation: where the editor keeps and names its backups.
    std::function<void(const std::string& what)> afterRead;
    std::function<void()> beforeWrite;
    // Keeps a radio's whole read as its backup before Write Changes sends
    // anything; nothing when it could not (then nothing is written).
    RadioJobs::KeepBackup keepBackup;
    // What the last write command came to: nothing when it was not confirmed,
    // else whether its transfer said it was done.
    std::optional<bool> LastWrite;
    // How many settings the last Verify Radio found different; nothing when
    // its read did not come back whole.
    std::optional<size_t> LastVerify;
    // What the last Write Changes came to, for the status bar ("3 blocks
    // written and verified"); nothing when it was not confirmed.
    std::optional<std::string> LastChanges;
    // The unit the last command read whole (page 0 included), for naming it;
    // nothing when the last command did not.
    std::optional<Fingerprint> LastRead;

    static constexpr const char* ConfirmWrite = "Are you sure you want to write to the radio?";
    static constexpr const char* AskGlobals = "Write Global Parameters?";
    static constexpr const char* ReadingText = "Please Wait - Reading Radio";
    static constexpr const char* WritingText = "Please Wait - Writing Radio";
    static constexpr const char* WriteGlobalFailed = "Write Global Failed";
    static constexpr const char* WriteGroupFailed = "Write Group Failed";
    static constexpr const char* VerifyingText = "Please Wait - Verifying Radio";
    static constexpr const char* VerifyTitle = "Verify Radio";
    static constexpr const char* RadioMatches = "The radio holds the setup shown: every setting a write sends is the same.";
    static constexpr int ListedDifferences = 20;

private:
    bool run(JobStep step, Transfers& transfers, const std::function<bool()>& transfer) override;
    bool confirmWrite();
    // Asks to confirm a write, and whether it takes the unit-wide settings;
    // stores the open windows' edits. Nothing when not confirmed.
    std::optional<bool> confirmWholeWrite();
    void showDifferences(const std::vector<FieldDifference>& differences);

    Transfers& transfers_;
    frmProc& proc_;
    vkt::Platform& platform_;
    RadioWindow& window_;
};

} // namespace VKTCom
