// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioCommands.h"

#include <memory>

#include "link/SetupComparison.h"

namespace VKTCom {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;

bool RadioCommands::confirmWrite() {
    if (beforeWrite) beforeWrite();
    return platform_.MsgBox(ConfirmWrite + proc_.RadioNote, Buttons::OKCancel, Icon::None) == Answer::OK;
}

void RadioCommands::mnuRead_Click() {
    proc_.ShowPleaseWait(ReadingText);
    const bool ok = transfers_.ReadAllMemory();
    proc_.Unload();
    if (!ok) return;
    if (afterRead) afterRead("all");
    window_.displayGroupMemory();
    if (window_.globalsWindowOpen()) window_.readGlobals();
}

void RadioCommands::mnuReadGlobal_Click() {
    if (!transfers_.ReadGlobalMemory()) return;
    if (afterRead) afterRead("global");
    window_.readGlobals();
}

void RadioCommands::mnuReadGroup_Click() {
    const int g = window_.shownGroupNumber();
    if (!transfers_.ReadGroupMemory(g)) return;
    if (afterRead) afterRead("group" + std::to_string(g));
    window_.displayGroupMemory();
}

std::optional<bool> RadioCommands::confirmWholeWrite() {
    window_.storeGroupMemory();
    if (!confirmWrite()) return std::nullopt;
    const bool skipGlobals = platform_.MsgBox(AskGlobals, Buttons::YesNo, Icon::None) == Answer::No;
    if (window_.globalsWindowOpen() && !skipGlobals) window_.writeGlobals();
    window_.writeCurrentGroup();
    return skipGlobals;
}

void RadioCommands::mnuWriteAll_Click() {
    LastWrite.reset();
    const auto skipGlobals = confirmWholeWrite();
    if (!skipGlobals) return;
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteAllMemory(*skipGlobals);
    proc_.Unload();
}

void RadioCommands::mnuWriteChanges_Click() {
    LastChanges.reset();
    const auto skipGlobals = confirmWholeWrite();
    if (!skipGlobals) return;
    // The radio is read aside and kept before anything is sent: whatever
    // happens next, the technician can put it back as it was.
    auto radio = std::make_unique<VKTCore::Image>();
    proc_.ShowPleaseWait(WritingText);
    const bool read = Transfers(transfers_.link(), proc_, *radio).ReadAllMemory();
    proc_.Unload();
    if (!read) {
        const bool cancelled = proc_.Cancelled || transfers_.link().HookCancelled;
        LastChanges = std::string(cancelled ? "its read was cancelled" : "its read failed") + ": nothing was written";
        return;
    }
    if (keepBackup && !keepBackup(*radio)) {
        LastChanges = "its backup could not be saved: nothing was written";
        return;
    }
    const WriteSet changes = ChangedBlocks(*radio, VKTCore::MemoryImage, *skipGlobals);
    if (changes.empty()) {
        LastChanges = "already holds the setup shown: nothing written";
        return;
    }
    // The write and its check reach only the radio that was read.
    const auto identity = transfers_.link().RadioInfo;
    transfers_.ExpectedRadio = identity;
    proc_.ShowPleaseWait(WritingText);
    const bool written = transfers_.WriteBlocks(changes) && !proc_.Cancelled;
    proc_.Unload();
    transfers_.ExpectedRadio.reset();
    const std::string sent = WrittenList(transfers_.BlocksWritten, transfers_.Page0Written.size());
    if (!written) {
        LastChanges = std::string(proc_.Cancelled ? "cancelled" : "writing failed") + ": " + sent + " had been written";
        return;
    }
    Transfers check(transfers_.link(), proc_, *radio);
    check.ExpectedRadio = identity;
    proc_.ShowPleaseWait(VerifyingText);
    const bool back = check.ReadBlocks(changes.readBack());
    proc_.Unload();
    if (!back) {
        LastChanges = sent + " written, but " + (proc_.Cancelled ? "not checked: its read-back was cancelled" : "its read-back failed");
        return;
    }
    const auto differences = CompareSetups(*radio, VKTCore::MemoryImage, !*skipGlobals);
    const std::string count = WrittenCount(transfers_.BlocksWritten, transfers_.Page0Written.size());
    if (differences.empty()) {
        LastChanges = count + " written and verified";
        return;
    }
    LastChanges = count + " written, but the radio differs in " + std::to_string(differences.size()) +
                  (differences.size() == 1 ? " setting" : " settings");
    showDifferences(differences);
}

void RadioCommands::mnuVerify_Click() {
    LastVerify.reset();
    // What a write would send now: the image with the shown group's edits,
    // which are put in for the comparison only.
    const VKTCore::Image kept = VKTCore::MemoryImage;
    window_.storeGroupMemory();
    const VKTCore::Image shown = VKTCore::MemoryImage;
    VKTCore::MemoryImage = kept;

    VKTCore::Image radio{};
    proc_.ShowPleaseWait(VerifyingText);
    const bool read = Transfers(transfers_.link(), proc_, radio).ReadAllMemory();
    proc_.Unload();
    if (!read) return;  // the read said why
    const auto differences = CompareSetups(radio, shown);
    LastVerify = differences.size();
    if (differences.empty()) {
        platform_.MsgBox(RadioMatches, Buttons::OK, Icon::Information, VerifyTitle);
        return;
    }
    showDifferences(differences);
}

void RadioCommands::showDifferences(const std::vector<FieldDifference>& differences) {
    std::string text = "The radio differs from the setup shown in " + std::to_string(differences.size()) +
                       (differences.size() == 1 ? " setting:" : " settings:");
    for (size_t i = 0; i < differences.size() && i < ListedDifferences; ++i)
        text += "\r" + differences[i].field + ": radio " + differences[i].first + ", editor " + differences[i].second;
    if (differences.size() > ListedDifferences) text += "\r... and " + std::to_string(differences.size() - ListedDifferences) + " more";
    platform_.MsgBox(text, Buttons::OK, Icon::Exclamation, VerifyTitle);
}

void RadioCommands::mnuWriteGlobal_Click() {
    LastWrite.reset();
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteGlobalMemory();
    if (!*LastWrite) platform_.MsgBox(WriteGlobalFailed, Buttons::OK, Icon::None);
    proc_.Unload();
}

void RadioCommands::mnuWriteGroup_Click() {
    LastWrite.reset();
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteGroupMemory(window_.shownGroupNumber());
    if (!*LastWrite) platform_.MsgBox(WriteGroupFailed, Buttons::OK, Icon::None);
    proc_.Unload();
}

} // namespace VKTCom
