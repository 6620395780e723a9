#include "cli/Commands.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/ChannelCsv.h"
#include "cli/RadioSession.h"
#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "editor/Version.h"
#include "link/SetupComparison.h"
#include "platform/PrintDocument.h"
#include "store/SetupFile.h"

namespace vktcli {

using VKTCore::Image;
using VKTCore::MemoryImage;

const char* const VktHelp =
    "Usage: vkt COMMAND [options]\n"
    "\n"
    "  read   --port N | --device PATH -o FILE.vkt      read a whole radio into a setup file\n"
    "  write  FILE.vkt --port N | --device PATH [--no-globals] [--repeat] [--verify]\n"
    "                                                   write a setup to a radio (--repeat: radio after radio;\n"
    "                                                   --verify: read each radio back and compare)\n"
    "  verify FILE.vkt --port N | --device PATH         read a radio and list what differs from the file\n"
    "  diff   A.vkt B.vkt                               list the fields that differ between two setups\n"
    "  report FILE.vkt [--pdf OUT.pdf]                  the setup report, as text or PDF\n"
    "  export FILE.vkt --csv OUT.csv                    every channel as CSV\n"
    "  import FILE.vkt --csv IN.csv -o NEW.vkt          a setup with the channels of a CSV file\n"
    "  defaults -o FILE.vkt                             the factory setup\n"
    "\n"
    "  --yes        answer Retry/Cancel questions with Cancel without asking (also when not on a terminal)\n"
    "  --no-retry   the same\n"
    "  --version    print the version and exit\n"
    "\n"
    "Ctrl-C ends a transfer at the next block and releases the radio; a second Ctrl-C ends at once.\n"
    "Exit codes: 0 done, 1 radio or comparison failure, 2 usage, 3 file error, 130 interrupted.\n";

namespace {

struct Args {
    std::vector<std::string> positional;
    std::string output, device, csv, pdf;
    int port = 0;
    bool noGlobals = false, repeat = false, verify = false;
    bool ok = true;
    std::string problem;
};

Args Parse(const std::vector<std::string>& a) {
    Args r;
    r.positional.push_back(a[0]);  // the command, so that its file is positional[1]
    for (size_t i = 1; i < a.size(); ++i) {
        auto value = [&](std::string& into) {
            if (i + 1 >= a.size()) { r.ok = false; r.problem = a[i] + " needs a value"; return; }
            into = a[++i];
        };
        if (a[i] == "-o") value(r.output);
        else if (a[i] == "--device") value(r.device);
        else if (a[i] == "--csv") value(r.csv);
        else if (a[i] == "--pdf") value(r.pdf);
        else if (a[i] == "--port") {
            std::string p;
            value(p);
            r.port = std::atoi(p.c_str());
            if (r.ok && (r.port < 1 || r.port > 4)) { r.ok = false; r.problem = "--port takes 1 ... 4"; }
        } else if (a[i] == "--no-globals") r.noGlobals = true;
        else if (a[i] == "--repeat") r.repeat = true;
        else if (a[i] == "--verify") r.verify = true;
        else if (a[i] == "--yes" || a[i] == "--no-retry") {}
        else if (!a[i].empty() && a[i][0] == '-') { r.ok = false; r.problem = "unknown option " + a[i]; }
        else r.positional.push_back(a[i]);
    }
    return r;
}

bool LoadSetup(const std::string& path, Image& image, Console& c) {
    std::vector<uint8_t> bytes;
    vktstore::FileError e;
    if (!vktstore::ReadFileBytes(path, VKTCore::RadioMemorySize, VKTCore::ImageSize, bytes, e)) {
        c.err << "vkt: cannot read " << path << ": " << e.description << "\n";
        return false;
    }
    image.fill(0);
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return true;
}

bool SaveSetup(const std::string& path, const Image& image, Console& c) {
    vktstore::FileError e;
    if (!vktstore::WriteFileReplacing(path, std::vector<uint8_t>(image.begin(), image.end()), e)) {
        c.err << "vkt: cannot write " << path << ": " << e.description << "\n";
        return false;
    }
    return true;
}

bool NeedPort(const Args& a, Console& c) {
    if (a.port == 0 && a.device.empty()) return false;
    c.choosePort(a.port == 0 ? 1 : a.port, a.device);
    return true;
}

int UsageError(Console& c, const std::string& problem) {
    c.err << "vkt: " << problem << "\n\n" << VktHelp;
    return ExitCode::Usage;
}

// The whole radio into a zeroed image; the exit code when it did not come.
std::optional<int> ReadWholeRadio(Image& image, Console& c) {
    image.fill(0);
    const RadioOutcome r = ReadRadio(image, c);
    if (r.interrupted) {
        c.err << "vkt: " << InterruptedText(r, "reading") << "; nothing was saved\n";
        return Interrupted;
    }
    if (!r.done) {
        c.err << "vkt: reading the radio failed: " << r.failure << "\n";
        return RadioOrCompareFailure;
    }
    return std::nullopt;
}

int Read(const Args& a, Console& c) {
    if (a.output.empty() || !NeedPort(a, c)) return UsageError(c, "read needs --port N or --device PATH, and -o FILE");
    if (const auto failed = ReadWholeRadio(MemoryImage, c)) return *failed;
    // The three spare bytes of a setup file are zeros.
    return SaveSetup(a.output, MemoryImage, c) ? Done : FileFailure;
}

// "Group 3 Ch 5 Rec Freq: radio 162.45000, setup 162.40000 (and 2 more)"
std::string FirstDifference(const std::vector<VKTCom::FieldDifference>& d) {
    std::string text = d[0].field + ": radio " + d[0].first + ", setup " + d[0].second;
    if (d.size() > 1) text += " (and " + std::to_string(d.size() - 1) + " more)";
    return text;
}

int Write(const Args& a, Console& c) {
    if (a.positional.size() != 2 || !NeedPort(a, c)) return UsageError(c, "write needs FILE and --port N or --device PATH");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    const char* done = a.verify ? "written and verified" : "written";
    for (int n = 1;; ++n) {
        const RadioOutcome r = WriteRadio(setup, a.noGlobals, a.verify, c);
        c.out << "radio " << n << " (" << r.identity << "): ";
        if (r.interrupted) {
            c.out << "INTERRUPTED\n";
            c.err << "vkt: " << InterruptedText(r, "writing") << "; it may hold part of the setup\n";
            return Interrupted;
        }
        if (!r.differences.empty()) {
            c.out << "written but NOT verified: " << FirstDifference(r.differences) << "\n";
            return RadioOrCompareFailure;
        }
        if (!r.done) {
            c.out << "FAILED: " << r.failure << "\n";
            return RadioOrCompareFailure;
        }
        c.out << done << " (" << n << " so far)\n";
        if (!a.repeat) return Done;
        c.err << "Connect the next radio and press Enter (q and Enter to stop): " << std::flush;
        std::string answer;
        if (!std::getline(c.in, answer) || answer == "q") {
            c.out << n << " radios " << done << "\n";
            return Done;
        }
    }
}

void PrintDifferences(const std::vector<VKTCom::FieldDifference>& d, const char* first, const char* second, Console& c) {
    for (const auto& x : d) c.out << x.field << ": " << first << " " << x.first << ", " << second << " " << x.second << "\n";
}

int Verify(const Args& a, Console& c) {
    if (a.positional.size() != 2 || !NeedPort(a, c)) return UsageError(c, "verify needs FILE and --port N or --device PATH");
    Image file;
    if (!LoadSetup(a.positional[1], file, c)) return FileFailure;
    if (const auto failed = ReadWholeRadio(MemoryImage, c)) return *failed;
    const auto d = VKTCom::CompareSetups(MemoryImage, file);
    PrintDifferences(d, "radio", "file", c);
    if (d.empty()) c.out << "the radio matches " << a.positional[1] << "\n";
    return d.empty() ? Done : RadioOrCompareFailure;
}

int Diff(const Args& a, Console& c) {
    if (a.positional.size() != 3) return UsageError(c, "diff needs two setup files");
    Image first, second;
    if (!LoadSetup(a.positional[1], first, c) || !LoadSetup(a.positional[2], second, c)) return FileFailure;
    const auto d = VKTCom::CompareSetups(first, second);
    PrintDifferences(d, a.positional[1].c_str(), a.positional[2].c_str(), c);
    return d.empty() ? Done : RadioOrCompareFailure;
}

int Report(const Args& a, Console& c) {
    if (a.positional.size() != 2) return UsageError(c, "report needs a setup file");
    if (!LoadSetup(a.positional[1], MemoryImage, c)) return FileFailure;
    if (!a.pdf.empty()) {
        if (!c.writeReportPdf(a.pdf, a.positional[1])) {
            c.err << "vkt: cannot write " << a.pdf << "\n";
            return FileFailure;
        }
        return Done;
    }
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, a.positional[1]);
    c.out << printer.lastDocument().text();
    return Done;
}

int Export(const Args& a, Console& c) {
    if (a.positional.size() != 2 || a.csv.empty()) return UsageError(c, "export needs FILE and --csv OUT.csv");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    const std::string text = ExportCsv(setup);
    vktstore::FileError e;
    if (!vktstore::WriteFileReplacing(a.csv, std::vector<uint8_t>(text.begin(), text.end()), e)) {
        c.err << "vkt: cannot write " << a.csv << ": " << e.description << "\n";
        return FileFailure;
    }
    return Done;
}

int Import(const Args& a, Console& c) {
    if (a.positional.size() != 2 || a.csv.empty() || a.output.empty()) return UsageError(c, "import needs FILE, --csv IN.csv and -o NEW.vkt");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    std::ifstream in(a.csv, std::ios::binary);
    if (!in) {
        c.err << "vkt: cannot read " << a.csv << "\n";
        return FileFailure;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!ImportCsv(text.str(), setup, error)) {
        c.err << "vkt: " << a.csv << ": " << error << "; nothing was written\n";
        return FileFailure;
    }
    return SaveSetup(a.output, setup, c) ? Done : FileFailure;
}

int Defaults(const Args& a, Console& c) {
    if (a.output.empty()) return UsageError(c, "defaults needs -o FILE");
    MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    return SaveSetup(a.output, MemoryImage, c) ? Done : FileFailure;
}

} // namespace

int RunVkt(const std::vector<std::string>& args, Console& c) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        c.out << VktHelp;
        return args.empty() ? ExitCode::Usage : Done;
    }
    if (args[0] == "--version") {
        c.out << "vkt " << vkteditor::VersionNumber << "\n";
        return Done;
    }
    const Args a = Parse(args);
    if (!a.ok) return UsageError(c, a.problem);
    const std::string& command = args[0];
    if (command == "read") return Read(a, c);
    if (command == "write") return Write(a, c);
    if (command == "verify") return Verify(a, c);
    if (command == "diff") return Diff(a, c);
    if (command == "report") return Report(a, c);
    if (command == "export") return Export(a, c);
    if (command == "import") return Import(a, c);
    if (command == "defaults") return Defaults(a, c);
    return UsageError(c, "unknown command " + command);
}

} // namespace vktcli
