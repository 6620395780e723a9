// vkt: the command-line tool for programming radio after radio, checking a
// radio against its setup file, comparing setups, reports and CSV.

#include <QApplication>

#include <algorithm>

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/MemoryImage.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"
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
            if (!mayAsk_) return vkt::Answer::Cancel;
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

private:
    bool mayAsk_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("VKTEDWIN");
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool noQuestions = std::find(args.begin(), args.end(), "--yes") != args.end() ||
                             std::find(args.begin(), args.end(), "--no-retry") != args.end();
    ConsolePlatform platform(!noQuestions && ::isatty(STDIN_FILENO));
    vktcli::Console console{platform, std::cin, std::cout, std::cerr,
                            [&platform](int port, const std::string& device) {
                                if (!device.empty()) platform.setDeviceForThisRun(port, device);
                                platform.serialPort().setPortNumber(port);
                            },
                            [](const std::string& pdf, const std::string& setup, std::string& why) {
                                vkt::DocumentPrinter printer;
                                vkteditor::PrintSetupReport(printer, setup);
                                return vktqt::WritePdf(printer.lastDocument(), QString::fromStdString(pdf), why);
                            }};
    return vktcli::RunVkt(args, console);
}
