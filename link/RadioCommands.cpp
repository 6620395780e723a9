// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioCommands.h"

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

void RadioCommands::mnuWriteAll_Click() {
    LastWrite.reset();
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    const bool skipGlobals = platform_.MsgBox(AskGlobals, Buttons::YesNo, Icon::None) == Answer::No;
    if (window_.globalsWindowOpen() && !skipGlobals) window_.writeGlobals();
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    LastWrite = transfers_.WriteAllMemory(skipGlobals);
    proc_.Unload();
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
