// SPDX-License-Identifier: GPL-3.0-or-later
// vkt: the command-line tool for programming radio after radio, checking a
// radio against its setup file, comparing setups, reports and CSV.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Interrupts.h"
#include "core/MemoryImage.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"
#include "qt/ApplicationObject.h"
#include "qt/ProcessWorkers.h"
#include "qt/QtPlatform.h"
#include "qt/QtPrinter.h"

namespace {

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
            if (!mayAsk_ || vktcli::InterruptCount() > 0) return vkt::Answer::Cancel;
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
        if (vktcli::IsTerminal(vktcli::Stream::Error)) std::cerr << '\a' << std::flush;
    }

private:
    bool mayAsk_;
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = vktcli::ProgramArguments(argc, argv);
    const bool drawsPdf = std::find(args.begin(), args.end(), "--pdf") != args.end();
    const auto app = vktqt::MakeApplication(argc, argv, drawsPdf ? vktqt::Needs::Drawing : vktqt::Needs::Nothing);
    QCoreApplication::setApplicationName("VKTEDWIN");
    const bool noQuestions = std::find(args.begin(), args.end(), "--yes") != args.end() ||
                             std::find(args.begin(), args.end(), "--no-retry") != args.end();
    const bool interactive = !noQuestions && vktcli::IsTerminal(vktcli::Stream::Input);
    vktqt::ProcessWorkers workers(QCoreApplication::applicationFilePath());
    ConsolePlatform platform(interactive);
    vktcli::CatchInterrupts();
    const bool worker = std::find(args.begin(), args.end(), "--worker") != args.end();
    if (worker) vktcli::KeepRunningWhenOutputIsGone();
    vktcli::RunListener run;
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
                            vktcli::IsTerminal(vktcli::Stream::Error),
                            [worker, &run] { return vktcli::InterruptCount() > 0 || (worker && run.stopAsked()); },
                            &workers,
                            vktqt::Sha256Hex,
                            {}};
    return vktcli::RunVkt(args, console);
}
