// SPDX-License-Identifier: GPL-3.0-or-later
// vkt: the command-line tool for programming radio after radio, checking a
// radio against its setup file, comparing setups, reports and CSV.

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include <poll.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/MemoryImage.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"
#include "qt/ApplicationObject.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "qt/QtPrinter.h"

namespace {

// Ctrl-C, SIGTERM and SIGHUP: the first is the progress window's Cancel, so
// that the radio is released; a second one ends the program at once.
volatile std::sig_atomic_t interrupts = 0;
// A kill aimed at this process alone, which the copies serving other
// cables did not get (a Ctrl-C reaches them all).
volatile std::sig_atomic_t terminated = 0;

void OnInterrupt(int signal) {
    // A hang-up of the run's terminal, or a kill, reaches this process
    // alone: the copies are told as for SIGTERM.
    if (signal == SIGTERM || signal == SIGHUP) terminated = 1;
    interrupts = interrupts + 1;
    if (interrupts >= 2) std::_Exit(vktcli::Interrupted);
}

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

// A copy serving one cable of a fleet run reads nothing, but its standard
// input is the pipe from the run that started it: when that pipe ends, the
// run is gone (killed, say) and will pass on no interrupt, so the copy
// cancels as if interrupted and its radio is released at the next block.
bool ParentGone() {
    static bool gone = false;
    if (gone) return true;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (::poll(&input, 1, 0) <= 0) return false;
    char byte = 0;
    if ((input.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 || ::read(STDIN_FILENO, &byte, 1) == 0) gone = true;
    return gone;
}

// Message boxes become lines on the error stream; Retry/Cancel is asked on
// the terminal, or answered Cancel when there is none or the user said so.
class ConsolePlatform : public vktqt::QtPlatform {
public:
    explicit ConsolePlatform(bool mayAsk) : mayAsk_(mayAsk) {}
    vkt::Answer MsgBox(const std::string& text, vkt::Buttons buttons, vkt::Icon, const std::string& title, bool) override {
        std::string t = text;
        for (char& ch : t)
            if (ch == '\r') ch = ' ';
        std::cerr << "\n" << title << ": " << t << "\n";
        switch (buttons) {
        case vkt::Buttons::RetryCancel: {
            // An interrupted run is over: nothing is asked any more.
            if (!mayAsk_ || interrupts > 0) return vkt::Answer::Cancel;
            std::cerr << "[r]etry or [c]ancel? " << std::flush;
            std::string answer;
            std::getline(std::cin, answer);
            return !answer.empty() && (answer[0] == 'r' || answer[0] == 'R') ? vkt::Answer::Retry : vkt::Answer::Cancel;
        }
        case vkt::Buttons::YesNo: return vkt::Answer::No;
        case vkt::Buttons::OK: return vkt::Answer::OK;
        default: return vkt::Answer::Cancel;
        }
    }
    // The end of a read or write rings the terminal's bell; there is no window system to beep.
    void Beep() override {
        if (::isatty(STDERR_FILENO)) std::cerr << '\a' << std::flush;
    }

private:
    bool mayAsk_;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool drawsPdf = std::find(args.begin(), args.end(), "--pdf") != args.end();
    const auto app = vktqt::MakeApplication(argc, argv, drawsPdf ? vktqt::Needs::Drawing : vktqt::Needs::Nothing);
    QCoreApplication::setApplicationName("VKTEDWIN");
    const bool noQuestions = std::find(args.begin(), args.end(), "--yes") != args.end() ||
                             std::find(args.begin(), args.end(), "--no-retry") != args.end();
    const bool interactive = !noQuestions && ::isatty(STDIN_FILENO);
    vktqt::ProcessWorkers workers(QCoreApplication::applicationFilePath());
    ConsolePlatform platform(interactive);
    CatchInterrupts();
    const bool worker = std::find(args.begin(), args.end(), "--worker") != args.end();
    // Lines to a run that is gone are lost, not the end of the copy: it
    // still has its radio to release.
    if (worker) ::signal(SIGPIPE, SIG_IGN);
    vktcli::Console console{platform, std::cin, std::cout, std::cerr,
                            [&platform](int port, const std::string& device) {
                                if (!device.empty()) platform.setDeviceForThisRun(port, device);
                                platform.serialPort().setPortNumber(port);
                            },
                            [](const std::string& pdf, const std::string& setup, std::string& why) {
                                vkt::DocumentPrinter printer;
                                vkteditor::PrintSetupReport(printer, setup);
                                return vktqt::WritePdf(printer.lastDocument(), QString::fromStdString(pdf), why);
                            },
                            interactive,
                            ::isatty(STDERR_FILENO) != 0,
                            [worker] { return interrupts > 0 || (worker && ParentGone()); },
                            [] { return terminated != 0; },
                            &workers,
                            vktqt::Sha256Hex,
                            {}};
    return vktcli::RunVkt(args, console);
}
