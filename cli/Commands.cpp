// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/ChannelCsv.h"
#include "cli/CommandLine.h"
#include "cli/RadioSession.h"
#include "core/ChannelPlan.h"
#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "editor/Version.h"
#include "link/SetupComparison.h"
#include "platform/PrintDocument.h"
#include "platform/SerialPorts.h"
#include "platform/System.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/Paths.h"

namespace vktcli {

using VKTCore::Image;
using VKTCore::MemoryImage;

const char* const VktHelp =
    "Usage: vkt COMMAND [options]\n"
    "\n"
    "  read   --port N | --device PATH -o FILE.vkt      read a whole radio into a setup file\n"
    "  write  FILE.vkt --port N | --device PATH [--no-globals] [--repeat] [--verify] [--changed-only]\n"
    "                                                   write a setup to a radio (--repeat: radio after radio;\n"
    "                                                   --verify: read each radio back and compare;\n"
    "                                                   --changed-only: read the radio first and keep it as its\n"
    "                                                   backup, write only the blocks that differ, verify them)\n"
    "         [--unit-ids FIRST|FILE | --keep-unit-ids]  each radio its own ANI/ID in every group: numbered\n"
    "                                                   on from FIRST (up to 7 digits) in the order of the\n"
    "                                                   cables, or taken from FILE, one a line; or each radio\n"
    "                                                   keeps its own, read first (the setup file stays as it is)\n"
    "  verify FILE.vkt --port N | --device PATH         read a radio and list what differs from the file\n"
    "  diff   A.vkt B.vkt                               list the fields that differ between two setups\n"
    "                                                   (verify and diff compare what a write sends, no other bytes)\n"
    "  report FILE.vkt [--pdf OUT.pdf]                  the setup report, as text or PDF\n"
    "  export FILE.vkt --csv OUT.csv                    every channel as CSV\n"
    "  import FILE.vkt --csv IN.csv -o NEW.vkt          a setup with the channels of a CSV file\n"
    "  export FILE.vkt --plan OUT.csv --format ics205|channels\n"
    "                                                   every programmed channel as an incident radio\n"
    "                                                   communications plan or a channel list\n"
    "  import FILE.vkt --plan IN.csv [--group N] [--cut-names] -o NEW.vkt\n"
    "                                                   a setup with the channels of a plan or channel list\n"
    "                                                   (--group: where the first 16 go of a plan without a\n"
    "                                                   Zone/Grp column, 1 if not given; --cut-names: cut\n"
    "                                                   names to 8 characters)\n"
    "  defaults -o FILE.vkt                             the factory setup\n"
    "\n"
    "Several cables at once: give --port or --device once for each. write then writes every radio at\n"
    "the same time (with --repeat in rounds); read -o names a folder that gets one file per radio.\n"
    "\n"
    "  --log FILE.csv  append a row for each radio read, written or verified (time, cable, radio,\n"
    "                  setup and its SHA-256, result, seconds, first difference, why it failed, and\n"
    "                  for --changed-only the blocks written, and the unit ID and fingerprint)\n"
    "  --yes           answer Retry/Cancel questions with Cancel without asking (also when not on a terminal)\n"
    "  --no-retry      the same\n"
    "  --version       print the version and exit\n"
    "\n"
    "Ctrl-C ends a transfer at the next block and releases the radio; a second Ctrl-C ends at once.\n"
    "Exit codes: 0 done, 1 radio or comparison failure, 2 usage, 3 file error, 130 interrupted.\n";

Args Parse(const std::vector<std::string>& a) {
    Args r;
    r.positional.push_back(a[0]);  // the command, so that its file is positional[1]
    for (size_t i = 1; i < a.size(); ++i) {
        auto value = [&](std::string& into) {
            if (i + 1 >= a.size()) { r.ok = false; r.problem = a[i] + " needs a value"; return; }
            into = a[++i];
        };
        if (a[i].size() > 1 && a[i][0] == '-') r.options.push_back(a[i]);
        if (a[i] == "-o") value(r.output);
        else if (a[i] == "--device") {
            std::string d;
            value(d);
            // An unset variable in a script ("--device $CABLE") must not
            // fall back on Comm Port 1 and write whatever radio is there.
            if (r.ok && d.find_first_not_of(" \t") == std::string::npos) { r.ok = false; r.problem = "--device needs a device, not a blank"; }
            // A relative path is in the current folder, as for any file; on
            // Windows "COM7" or "COM10" is a port, whatever the folder.
            std::error_code ec;
            const std::filesystem::path device = vktstore::PathOf(d);
            const bool port = vkt::ThisSystem == vkt::SystemKind::Windows && vkt::IsComPortName(d);
            if (!d.empty() && !port && !device.has_root_directory() && !device.has_root_name())
                d = vktstore::Utf8Of(std::filesystem::absolute(vktstore::PathOf(d), ec).lexically_normal());
            r.cables.push_back({d, {"--device", d}, 1, d});
        } else if (a[i] == "--log") value(r.log);
        else if (a[i] == "--unit-ids") {
            value(r.unitIds);
            if (r.ok && r.unitIds.empty()) { r.ok = false; r.problem = "--unit-ids needs a first unit ID or a file of them"; }
        } else if (a[i] == "--keep-unit-ids") r.keepUnitIds = true;
        else if (a[i] == "--worker") r.worker = true;
        else if (a[i] == "--csv") value(r.csv);
        else if (a[i] == "--pdf") value(r.pdf);
        else if (a[i] == "--plan") value(r.plan);
        else if (a[i] == "--format") value(r.format);
        else if (a[i] == "--group") value(r.group);
        else if (a[i] == "--cut-names") r.cutNames = true;
        else if (a[i] == "--port") {
            std::string p;
            value(p);
            const int port = std::atoi(p.c_str());
            if (r.ok && (port < 1 || port > 4 || p != std::to_string(port))) { r.ok = false; r.problem = "--port takes 1 ... 4"; }
            r.cables.push_back({"Comm Port " + p, {"--port", p}, port, ""});
        } else if (a[i] == "--no-globals") r.noGlobals = true;
        else if (a[i] == "--repeat") r.repeat = true;
        else if (a[i] == "--verify") r.verify = true;
        else if (a[i] == "--changed-only") r.changedOnly = r.verify = true;
        else if (a[i] == "--yes" || a[i] == "--no-retry") {}
        else if (!a[i].empty() && a[i][0] == '-') { r.ok = false; r.problem = "unknown option " + a[i]; }
        else r.positional.push_back(a[i]);
    }
    // One radio on two lines of the run would be written twice at once: a
    // port named twice, or a device by two names (a link and its target).
    for (size_t i = 0; i < r.cables.size() && r.ok; ++i)
        for (size_t j = 0; j < i && r.ok; ++j) {
            const Cable &x = r.cables[i], &y = r.cables[j];
            std::error_code ec;
            const bool same = x.device.empty() != y.device.empty() ? false
                              : x.device.empty()                   ? x.port == y.port
                                  : vkt::SameDevice(x.device, y.device) ||
                                        std::filesystem::weakly_canonical(vktstore::PathOf(x.device), ec) ==
                                            std::filesystem::weakly_canonical(vktstore::PathOf(y.device), ec);
            if (same) {
                r.ok = false;
                r.problem = "the same radio is given twice: " + y.name + " and " + x.name;
            }
        }
    return r;
}

bool LoadSetup(const std::string& path, Image& image, Console& c) {
    std::vector<uint8_t> bytes;
    vktstore::FileError e;
    if (!vktstore::ReadSetupBytes(path, bytes, e)) {
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

int UsageError(Console& c, const std::string& problem) {
    c.err << "vkt: " << problem << "\n\n" << VktHelp;
    return ExitCode::Usage;
}

const char* const NoDifferencesText = "no differences in what a write sends (other bytes are not compared)";

std::string ProgressBar(int percent, int width) {
    const auto filled = static_cast<size_t>(std::clamp(percent, 0, 100) * width / 100);
    return "[" + std::string(filled, '#') + std::string(static_cast<size_t>(width) - filled, ' ') + "]";
}

namespace {

// The help's lines for COMMAND alone, with the paragraphs after the list of
// commands, which every command shares; "" for no command of the list.
std::string CommandHelp(const std::string& command) {
    std::istringstream help(VktHelp);
    std::string line, ownLines, shared;
    int paragraph = 0;  // the usage line, the commands, what they share
    bool own = false;
    while (std::getline(help, line)) {
        if (line.empty()) ++paragraph;
        if (paragraph > 1) shared += line + "\n";
        if (paragraph != 1 || line.empty()) continue;
        // A command's first line names it; the lines that go on are indented further.
        if (line[2] != ' ') own = line.substr(2, line.find(' ', 2) - 2) == command;
        if (own) ownLines += line + "\n";
    }
    return ownLines.empty() ? "" : "Usage: vkt " + command + " [options]\n\n" + ownLines + shared;
}

int Diff(const Args& a, Console& c) {
    if (a.positional.size() != 3) return UsageError(c, "diff needs two setup files");
    Image first, second;
    if (!LoadSetup(a.positional[1], first, c) || !LoadSetup(a.positional[2], second, c)) return FileFailure;
    const auto d = VKTCom::CompareSetups(first, second);
    PrintDifferences(d, a.positional[1].c_str(), a.positional[2].c_str(), c);
    if (d.empty()) c.out << NoDifferencesText << "\n";
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
    const bool plan = !a.plan.empty();
    if (a.positional.size() != 2 || plan == !a.csv.empty())
        return UsageError(c, "export needs FILE and either --csv OUT.csv or --plan OUT.csv --format ics205|channels");
    const auto format = VKTCore::PlanFormatNamed(a.format);
    if (plan && !format) return UsageError(c, "--plan needs --format ics205 or --format channels");
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    vktstore::FileError e;
    const std::string& out = plan ? a.plan : a.csv;
    const auto written = plan ? VKTCore::WritePlan(setup, *format) : VKTCore::WrittenPlan{.text = ExportCsv(setup), .channels = 0, .leftOut = {}};
    if (!vktstore::WriteFileReplacing(out, written.text, e)) {
        c.err << "vkt: cannot write " << out << ": " << e.description << "\n";
        return FileFailure;
    }
    if (!written.leftOut.empty()) c.out << out << ": " << written.channels << " channels; left out, as the plan cannot hold them as the setup has them:\n";
    for (const std::string& line : written.leftOut) c.out << line << "\n";
    return Done;
}

// A plan's channels into a setup: all rows or none, and what it changed said.
int ImportPlan(const Args& a, Console& c) {
    VKTCore::PlanOptions options;
    options.cutNames = a.cutNames;
    if (!a.group.empty()) {
        const int g = std::atoi(a.group.c_str());
        if (g < 1 || g > VKTCore::GroupCount || a.group != std::to_string(g)) return UsageError(c, "--group takes 1 ... 15");
        options.firstGroup = g - 1;
    }
    Image setup;
    if (!LoadSetup(a.positional[1], setup, c)) return FileFailure;
    std::string text;
    vktstore::FileError e;
    if (!vktstore::ReadWholeFile(a.plan, VKTCore::PlanMaxBytes, text, e)) {
        c.err << "vkt: cannot read " << a.plan << ": " << e.description << "; nothing was written\n";
        return FileFailure;
    }
    VKTCore::ChannelPlan plan;
    std::string error;
    if (!VKTCore::ReadPlan(text, options, plan, error)) {
        c.err << "vkt: " << a.plan << ": " << error << "; nothing was written\n";
        return FileFailure;
    }
    if (plan.groupsGiven && !a.group.empty())
        return UsageError(c, "--group has no effect: the plan's Zone/Grp column gives each channel's group");
    VKTCore::ApplyPlan(plan, setup);
    if (!SaveSetup(a.output, setup, c)) return FileFailure;
    c.out << a.plan << ": " << VKTCore::PlanFormatTitle(plan.format) << ", " << plan.channels.size() << (plan.channels.size() == 1 ? " channel\n" : " channels\n");
    for (const std::string& line : VKTCore::PlanChanges(plan)) c.out << line << "\n";
    for (const std::string& line : plan.renamed) c.out << line << "\n";
    return Done;
}

int Import(const Args& a, Console& c) {
    if (a.positional.size() != 2 || a.csv.empty() == a.plan.empty() || a.output.empty())
        return UsageError(c, "import needs FILE, either --csv IN.csv or --plan IN.csv, and -o NEW.vkt");
    if (!a.plan.empty()) return ImportPlan(a, c);
    if (!a.group.empty() || a.cutNames) return UsageError(c, "--group and --cut-names are for --plan, not --csv");
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

// A command never writes over one of its own files: an export to the setup
// it reads would leave CSV where the setup was.
std::string OutputOverAnInput(const std::string& command, const Args& a) {
    std::vector<std::string> inputs(a.positional.begin() + 1, a.positional.end());
    std::vector<std::string> outputs = {a.output, a.pdf, a.log};
    for (const std::string* file : {&a.csv, &a.plan}) (command == "export" ? outputs : inputs).push_back(*file);
    for (const std::string& out : outputs)
        for (const std::string& in : inputs)
            if (!out.empty() && !in.empty() && vktstore::SameFile(out, in))
                return out + " is also the command's input " + in + "; name another file for the output";
    return "";
}

int Defaults(const Args& a, Console& c) {
    if (a.output.empty()) return UsageError(c, "defaults needs -o FILE");
    MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    return SaveSetup(a.output, MemoryImage, c) ? Done : FileFailure;
}

const std::array<std::string, 2> HelpOptions = {"--help", "-h"};

// Each command and the options it takes; any other option is a usage error,
// so that a script that asks for what a command never does ("defaults
// --verify") learns so rather than believing it was done.
struct Command {
    const char* name;
    int (*run)(const Args&, Console&);
    std::vector<std::string> options;
};
const std::vector<std::string> RadioOptions = {"--port", "--device", "--log", "--yes", "--no-retry", "--worker"};
std::vector<std::string> With(std::vector<std::string> more) {
    more.insert(more.end(), RadioOptions.begin(), RadioOptions.end());
    return more;
}
const Command Commands[] = {
    {"read", Read, With({"-o"})},
    {"write", Write, With({"--no-globals", "--repeat", "--verify", "--changed-only", "--unit-ids", "--keep-unit-ids"})},
    {"verify", Verify, RadioOptions},
    {"diff", Diff, {}},
    {"report", Report, {"--pdf"}},
    {"export", Export, {"--csv", "--plan", "--format"}},
    {"import", Import, {"--csv", "--plan", "--group", "--cut-names", "-o"}},
    {"defaults", Defaults, {"-o"}},
};

} // namespace

int RunVkt(const std::vector<std::string>& args, Console& c) {
    if (args.empty() || std::find(HelpOptions.begin(), HelpOptions.end(), args[0]) != HelpOptions.end() || args[0] == "help") {
        c.out << VktHelp;
        return args.empty() ? ExitCode::Usage : Done;
    }
    if (args[0] == "--version") {
        c.out << "vkt " << vkteditor::VersionNumber << "\n";
        return Done;
    }
    if (std::find_first_of(args.begin() + 1, args.end(), HelpOptions.begin(), HelpOptions.end()) != args.end()) {
        if (const std::string help = CommandHelp(args[0]); !help.empty()) {
            c.out << help;
            return Done;
        }
    }
    const Args a = Parse(args);
    if (!a.ok) return UsageError(c, a.problem);
    const std::string& command = args[0];
    const auto known = std::find_if(std::begin(Commands), std::end(Commands), [&](const Command& k) { return command == k.name; });
    if (known == std::end(Commands)) return UsageError(c, "unknown command " + command);
    for (const std::string& option : a.options)
        if (std::find(known->options.begin(), known->options.end(), option) == known->options.end())
            return UsageError(c, command + " does not take " + option);
    if (const std::string clash = OutputOverAnInput(command, a); !clash.empty()) return UsageError(c, clash);
    if (!a.unitIds.empty() && a.keepUnitIds) return UsageError(c, "--unit-ids and --keep-unit-ids exclude each other");
    return known->run(a, c);
}

} // namespace vktcli
