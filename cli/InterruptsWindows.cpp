// SPDX-License-Identifier: GPL-3.0-or-later
// Interrupts on Windows: Ctrl-C, Ctrl-Break and the closing of the console
// (or the end of the session) reach every program attached to the console,
// the copies of a fleet run included. A copy started without one would hear
// nothing, so the run passes every request on; a stop line to a copy that
// heard it itself changes nothing.
#include "cli/Interrupts.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "cli/Commands.h"

namespace vktcli {

namespace {

std::atomic<int> interrupts{0};

// Runs on a thread of its own that Windows starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: break;
    default: return FALSE;
    }
    if (++interrupts >= 2) std::_Exit(Interrupted);
    // Windows ends the program as soon as the handler of a closing console
    // returns (and after five seconds at most): the handler waits while the
    // main thread cancels, releases the radio and ends the program itself.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) ::Sleep(INFINITE);
    return TRUE;
}

HANDLE StandardHandle(Stream stream) { return ::GetStdHandle(stream == Stream::Input ? STD_INPUT_HANDLE : STD_ERROR_HANDLE); }

} // namespace

void CatchInterrupts() { ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

int InterruptCount() { return interrupts.load(); }

// A write to a pipe whose reader is gone fails with an error here; there is
// no signal to ignore.
void KeepRunningWhenOutputIsGone() {}

bool IsTerminal(Stream stream) {
    DWORD mode = 0;
    return ::GetConsoleMode(StandardHandle(stream), &mode) != 0;
}

bool TakeWaitingInput(std::string& bytes) {
    const HANDLE input = StandardHandle(Stream::Input);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return false;
    // A console or a file is not a run's pipe: nothing will be said there.
    if (::GetFileType(input) != FILE_TYPE_PIPE) return true;
    DWORD waiting = 0;
    // Fails with ERROR_BROKEN_PIPE once the run has closed its end; a pipe
    // that cannot be peeked at (Wine's from a Unix shell) says nothing.
    if (!::PeekNamedPipe(input, nullptr, 0, nullptr, &waiting, nullptr)) {
        const DWORD error = ::GetLastError();
        return error != ERROR_BROKEN_PIPE && error != ERROR_PIPE_NOT_CONNECTED;
    }
    if (waiting == 0) return true;
    std::string buffer(waiting, '\0');
    DWORD got = 0;
    if (!::ReadFile(input, buffer.data(), waiting, &got, nullptr)) return false;
    bytes.append(buffer.data(), got);
    return true;
}

} // namespace vktcli
