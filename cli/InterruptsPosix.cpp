// SPDX-License-Identifier: GPL-3.0-or-later
// Interrupts on Linux: SIGINT from Ctrl-C, which reaches the run and every
// copy of it, or from kill, which reaches this program alone, as SIGTERM and
// SIGHUP (a kill or the terminal's hang-up) do.
#include "cli/Interrupts.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/Commands.h"

namespace vktcli {

namespace {

volatile sig_atomic_t interrupts = 0;

void OnInterrupt(int) {
    interrupts = interrupts + 1;
    if (interrupts >= 2) std::_Exit(Interrupted);
}

} // namespace

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int InterruptCount() { return interrupts; }

void KeepRunningWhenOutputIsGone() { ::signal(SIGPIPE, SIG_IGN); }

bool IsTerminal(Stream stream) { return ::isatty(stream == Stream::Input ? STDIN_FILENO : STDERR_FILENO) != 0; }

bool TakeWaitingInput(std::string& bytes) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (::poll(&input, 1, 0) <= 0) return true;
    if ((input.revents & (POLLIN | POLLHUP)) == 0) return false;  // POLLERR, POLLNVAL: no input to have
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) bytes.append(buffer, static_cast<size_t>(n));
    return n != 0;
}

} // namespace vktcli
