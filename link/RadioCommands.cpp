// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioCommands.h"

namespace VKTCom {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;

bool RadioCommands::confirmWrite() {
    if (beforeWrite) beforeWrite();
    return platform_.MsgBox(ConfirmWrite + proc_.RadioNote, Buttons::OKCancel, Icon::None) == Answer::OK;
}

void RadioCommands::mnuRead_Click() {
    LastRead.reset();
    proc_.ShowPleaseWait(ReadingText);
    const bool ok = transfers_.ReadAllMemory();
    proc_.Unload();
    if (!ok) return;
    LastRead = FingerprintOf(transfers_.link().RadioInfo, VKTCore::MemoryImage);
    if (afterRead) afterRead("all");
    window_.displayGroupMemory();
    if (window_.globalsWindowOpen()) window_.readGlobals();
}

void RadioCommands::mnuReadGlobal_Click() {
    LastRead.reset();
    if (!transfers_.ReadGlobalMemory()) return;
    LastRead = FingerprintOf(transfers_.link().RadioInfo, VKTCore::MemoryImage);
    if (afterRead) afterRead("global");
    window_.readGlobals();
}

void RadioCommands::mnuReadGroup_Click() {
    LastRead.reset();
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
    LastRead.reset();
    const auto skipGlobals = confirmWholeWrite();
    if (!skipGlobals) return;
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteAllMemory(*skipGlobals);
    proc_.Unload();
}

bool RadioCommands::run(JobStep step, Transfers&, const std::function<bool()>& transfer) {
    proc_.ShowPleaseWait(step == JobStep::ReadBack || step == JobStep::Read ? VerifyingText : WritingText);
    const bool done = transfer();
    proc_.Unload();
    return done;
}

void RadioCommands::mnuWriteChanges_Click() {
    LastChanges.reset();
    LastRead.reset();
    const auto skipGlobals = confirmWholeWrite();
    if (!skipGlobals) return;
    const JobResult job = RadioJobs(transfers_.link(), proc_, *this).WriteChanges(VKTCore::MemoryImage, *skipGlobals, keepBackup);
    LastRead = job.fingerprint;
    const std::string sent = WrittenList(job.blocksWritten, job.page0Written);
    const std::string count = WrittenCount(job.blocksWritten, job.page0Written);
    switch (job.end) {
    case JobEnd::ReadFailed:
        LastChanges = std::string(job.cancelled ? "its read was cancelled" : "its read failed") + ": nothing was written";
        return;
    case JobEnd::BackupFailed: LastChanges = "its backup could not be saved: nothing was written"; return;
    case JobEnd::AlreadyHeld: LastChanges = "already holds the setup shown: nothing written"; return;
    case JobEnd::WriteFailed:
        LastChanges = job.otherUnit ? transfers_.link().LastFailure
                                    : std::string(job.cancelled ? "cancelled" : "writing failed") + ": " + sent + " had been written";
        return;
    case JobEnd::ReadBackFailed:
        LastChanges = sent + " written, but " +
                      (job.otherUnit ? transfers_.link().LastFailure
                                     : job.cancelled ? "not checked: its read-back was cancelled" : "its read-back failed");
        return;
    case JobEnd::Verified: LastChanges = count + " written and verified"; return;
    case JobEnd::Differs:
        LastChanges = count + " written, but the radio differs in " + std::to_string(job.differences.size()) +
                      (job.differences.size() == 1 ? " setting" : " settings");
        showDifferences(job.differences);
        return;
    }
}

void RadioCommands::mnuVerify_Click() {
    LastVerify.reset();
    LastRead.reset();
    // What a write would send now: the image with the shown group's edits,
    // which are put in for the comparison only.
    const VKTCore::Image kept = VKTCore::MemoryImage;
    window_.storeGroupMemory();
    const VKTCore::Image shown = VKTCore::MemoryImage;
    VKTCore::MemoryImage = kept;

    const JobResult job = RadioJobs(transfers_.link(), proc_, *this).Verify(shown);
    if (job.end == JobEnd::ReadFailed) return;  // the read said why
    LastRead = job.fingerprint;
    LastVerify = job.differences.size();
    if (job.differences.empty()) {
        platform_.MsgBox(RadioMatches, Buttons::OK, Icon::Information, VerifyTitle);
        return;
    }
    showDifferences(job.differences);
}

void RadioCommands::showDifferences(const std::vector<FieldDifference>& differences) {
    std::string text = "The radio differs from the setup shown in " + std::to_string(differences.size()) +
                       (differences.size() == 1 ? " setting:" : " settings:");
    std::string all;
    for (size_t i = 0; i < differences.size(); ++i) {
        const std::string line = differences[i].field + ": radio " + differences[i].first + ", editor " + differences[i].second;
        if (i < ListedDifferences) text += "\r" + line;
        all += (i ? "\r" : "") + line;
    }
    if (differences.size() <= ListedDifferences) {
        platform_.MsgBox(text, Buttons::OK, Icon::Exclamation, VerifyTitle);
        return;
    }
    // The box stays short; the whole list scrolls in its details.
    text += "\r... and " + std::to_string(differences.size() - ListedDifferences) + " more: all " +
            std::to_string(differences.size()) + " are in the details";
    platform_.MsgBoxWithDetails(text, all, Buttons::OK, Icon::Exclamation, VerifyTitle);
}

void RadioCommands::mnuWriteGlobal_Click() {
    LastWrite.reset();
    LastRead.reset();
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
    LastRead.reset();
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteGroupMemory(window_.shownGroupNumber());
    if (!*LastWrite) platform_.MsgBox(WriteGroupFailed, Buttons::OK, Icon::None);
    proc_.Unload();
}

} // namespace VKTCom
