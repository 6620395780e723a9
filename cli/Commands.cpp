#include "cli/Commands.h"

#include <algorithm>
#include <iostream>

#include "cli/ChannelCsv.h"
#include "cli/SetupFields.h"
#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "link/Transfers.h"
#include "platform/PrintDocument.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"

namespace vktcli {

using VKTCore::Image;
using VKTCore::MemoryImage;

const char* const VktHelp =
    "Usage: vkt COMMAND [options]\n"
    "\n"
    "  read   --port N | --device PATH -o FILE.vkt      read a whole radio into a setup file\n"
    "  write  FILE.vkt --port N | --device PATH [--no-globals] [--repeat]\n"
    "                                                   write a setup to a radio (--repeat: radio after radio)\n"
    "  verify FILE.vkt --port N | --device PATH         read a radio and list what differs from the file\n"
    "  diff   A.vkt B.vkt                               list the fields that differ between two setups\n"
    "  report FILE.vkt [--pdf OUT.pdf]                  the setup report, as text or PDF\n"
    "  export FILE.vkt --csv OUT.csv                    every channel as CSV\n"
    "  import FILE.vkt --csv IN.csv -o NEW.vkt          a setup with the channels of a CSV file\n"
    "  defaults -o FILE.vkt                             the factory setup\n"
    "\n"
    "  --yes        answer Retry/Cancel questions with Cancel without asking (also when not on a terminal)\n"
    "  --no-retry   the same\n"
    "\n"
    "Exit codes: 0 done, 1 radio or comparison failure, 2 usage, 3 file error.\n";

namespace {

struct Args {
    std::vector<std::string> positional;
    std::string output, device, csv, pdf;
    int port = 0;
    bool noGlobals = false, repeat = false;
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
    if (!vktstore::WriteFileReplacing(path, image, e)) {
        c.err << "vkt: cannot write " << path << ": " << e.description << "\n";
        return false;
    }
    return true;
}

// The link, its progress shown as a bar on the error stream.
struct Radio {
    vkt::Window window{"vkt"};
    VKTCom::frmProc proc;
    VKTCom::RadioLink link;
    VKTCom::Transfers transfers;
    Radio(Console& c) : proc(c.platform, window), link(c.platform), transfers(link, proc) {
        link.InitLinkParameters();
        proc.Prog1.changed = [this, &c] {
            const int max = std::max(1, proc.Prog1.Max());
            const int filled = std::clamp(proc.Prog1.Value() * 40 / max, 0, 40);
            c.err << "\r[" << std::string(static_cast<size_t>(filled), '#') << std::string(static_cast<size_t>(40 - filled), ' ')
                  << "] " << proc.Prog1.Value() * 100 / max << "% " << std::flush;
        };
    }
    ~Radio() { proc.Prog1.changed = nullptr; }
};

// ": block 41: byte 7 missing after 0.5 s", or nothing when the link did not say.
std::string Where(const VKTCom::RadioLink& link) { return link.LastFailure.empty() ? "" : ": " + link.LastFailure; }

bool NeedPort(const Args& a, Console& c) {
    if (a.port == 0 && a.device.empty()) return false;
    c.choosePort(a.port == 0 ? 1 : a.port, a.device);
    return true;
}

int UsageError(Console& c, const std::string& problem) {
    c.err << "vkt: " << problem << "\n\n" << VktHelp;
    return ExitCode::Usage;
}

// The whole radio into a zeroed image.
bool ReadWholeRadio(Console& c) {
    Radio radio(c);
    MemoryImage.fill(0);
    const bool ok = radio.transfers.ReadAllMemory();
    c.err << "\n";
    if (!ok) c.err << "vkt: reading the radio failed" << Where(radio.link) << "\n";
    return ok;
}

int Read(const Args& a, Console& c) {
    if (a.output.empty() || !NeedPort(a, c)) return UsageError(c, "read needs --port N or --device PATH, and -o FILE");
    if (!ReadWholeRadio(c)) return RadioOrCompareFailure;
    // The three spare bytes of a setup file are zeros.
    return SaveSetup(a.output, MemoryImage, c) ? Done : FileFailure;
}

int Write(const Args& a, Console& c) {
    if (a.positional.size() != 2 || !NeedPort(a, c)) return UsageError(c, "write needs FILE and --port N or --device PATH");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    int written = 0;
    for (;;) {
        MemoryImage = setup;
        Radio radio(c);
        const bool ok = radio.transfers.WriteAllMemory(a.noGlobals);
        c.err << "\n";
        if (!ok) {
            c.out << "radio " << written + 1 << ": FAILED\n";
            c.err << "vkt: writing the radio failed" << Where(radio.link) << "\n";
            return RadioOrCompareFailure;
        }
        ++written;
        c.out << "radio " << written << ": written (" << written << " so far)\n";
        if (!a.repeat) return Done;
        c.err << "Connect the next radio and press Enter (q and Enter to stop): " << std::flush;
        std::string answer;
        if (!std::getline(c.in, answer) || answer == "q") {
            c.out << written << " radios written\n";
            return Done;
        }
    }
}

void PrintDifferences(const std::vector<FieldDifference>& d, const char* first, const char* second, Console& c) {
    for (const auto& x : d) c.out << x.field << ": " << first << " " << x.first << ", " << second << " " << x.second << "\n";
}

int Verify(const Args& a, Console& c) {
    if (a.positional.size() != 2 || !NeedPort(a, c)) return UsageError(c, "verify needs FILE and --port N or --device PATH");
    Image file;
    if (!LoadSetup(a.positional[1], file, c)) return FileFailure;
    if (!ReadWholeRadio(c)) return RadioOrCompareFailure;
    const auto d = CompareSetups(MemoryImage, file);
    PrintDifferences(d, "radio", "file", c);
    if (d.empty()) c.out << "the radio matches " << a.positional[1] << "\n";
    return d.empty() ? Done : RadioOrCompareFailure;
}

int Diff(const Args& a, Console& c) {
    if (a.positional.size() != 3) return UsageError(c, "diff needs two setup files");
    Image first, second;
    if (!LoadSetup(a.positional[1], first, c) || !LoadSetup(a.positional[2], second, c)) return FileFailure;
    const auto d = CompareSetups(first, second);
    PrintDifferences(d, a.positional[1].c_str(), a.positional[2].c_str(), c);
    return d.empty() ? Done : RadioOrCompareFailure;
}

int Report(const Args& a, Console& c) {
    if (a.positional.size() != 2) return UsageError(c, "report needs a setup file");
    if (!LoadSetup(a.positional[1], MemoryImage, c)) return FileFailure;
    if (!a.pdf.empty()) {
        std::string why;
        if (!c.writeReportPdf(a.pdf, a.positional[1], why)) {
            c.err << "vkt: cannot write " << a.pdf << ": " << why << "\n";
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
    vktstore::FileError e;
    if (!vktstore::WriteFileReplacing(a.csv, ExportCsv(setup), e)) {
        c.err << "vkt: cannot write " << a.csv << ": " << e.description << "\n";
        return FileFailure;
    }
    return Done;
}

int Import(const Args& a, Console& c) {
    if (a.positional.size() != 2 || a.csv.empty() || a.output.empty()) return UsageError(c, "import needs FILE, --csv IN.csv and -o NEW.vkt");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    std::string text;
    vktstore::FileError e;
    if (!vktstore::ReadWholeFile(a.csv, CsvMaxBytes, text, e)) {
        c.err << "vkt: cannot read " << a.csv << ": " << e.description << "; nothing was written\n";
        return FileFailure;
    }
    std::string error;
    if (!ImportCsv(text, setup, error)) {
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
