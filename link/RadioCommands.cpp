#include "link/RadioCommands.h"

namespace VKTCom {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;

bool RadioCommands::confirmWrite() {
    if (beforeWrite) beforeWrite();
    return platform_.MsgBox(ConfirmWrite, Buttons::OKCancel, Icon::None) == Answer::OK;
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
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    const bool skipGlobals = platform_.MsgBox(AskGlobals, Buttons::YesNo, Icon::None) == Answer::No;
    if (window_.globalsWindowOpen() && !skipGlobals) window_.writeGlobals();
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    transfers_.WriteAllMemory(skipGlobals);
    proc_.Unload();
}

void RadioCommands::mnuWriteGlobal_Click() {
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    if (!transfers_.WriteGlobalMemory()) platform_.MsgBox(WriteGlobalFailed, Buttons::OK, Icon::None);
    proc_.Unload();
}

void RadioCommands::mnuWriteGroup_Click() {
    window_.storeGroupMemory();
    if (!confirmWrite()) return;
    window_.writeCurrentGroup();
    proc_.ShowPleaseWait(WritingText);
    if (!transfers_.WriteGroupMemory(window_.shownGroupNumber())) platform_.MsgBox(WriteGroupFailed, Buttons::OK, Icon::None);
    proc_.Unload();
}

} // namespace VKTCom
