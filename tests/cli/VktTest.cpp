// SPDX-License-Identifier: GPL-3.0-or-later
// vkt's commands on an emulated radio of the virtual clock; with several cables at once, the copies of vkt
// played by a script: what the run shows, sums up, logs and returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/Arguments.h"
#include "cli/ChannelCsv.h"
#include "cli/CommandLine.h"
#include "cli/Fleet.h"
#include "cli/Interrupts.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"
#include "platform/System.h"
#include "sim/SimSerialPort.h"
#include "store/Backups.h"
#include "store/Paths.h"
#include "tests/support/Fifo.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/ScriptedWorkers.h"
#include "tests/support/StdinPipe.h"
#include "tests/support/SystemCalls.h"
#include "tests/support/TempFolder.h"

using namespace vktcli;
using namespace vktfleet;

namespace {

const std::string NoDifferences = "no differences in what a write sends (other bytes are not compared)\n";

class VktTest : public ::testing::Test {
protected:
    VktTest() {
        platform.setSerialPort(port);
        platform.otherwise = vkt::Answer::Cancel;  // not on a terminal
        workers.clock = &clock;
        port.radio().eeprom = vktsim::RadioModel::FactorySetup();
        vkttest::SetEnvironment("VKT_DATA_DIR", folder.string());  // the radios' backups
        EXPECT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    }
    int run(std::vector<std::string> args, const std::string& input = "") {
        out.str("");
        err.str("");
        std::istringstream in(input);
        Console c{platform, in, out, err, [](int, const std::string&) {},
                  [](const std::string&, const std::string&, std::string&) { return true; }, false, onTerminal, interrupted,
                  &workers, [](const std::vector<uint8_t>& b) { return "sha-of-" + std::to_string(b.size()) + "-bytes"; }, {}};
        return RunVkt(args, c);
    }
    void expectRefused(const std::vector<std::string>& args, int exit, const std::string& why) {
        EXPECT_EQ(run(args), exit) << why;
        EXPECT_NE(err.str().find(why), std::string::npos) << err.str();
    }
    void expectReleased() {
        clock.advance(0.5);
        EXPECT_FALSE(port.radio().hooked());
        EXPECT_FALSE(port.isOpen());
    }
    std::string path(const std::string& name) const { return vktstore::Utf8Of(folder / vktstore::PathOf(name)); }
    std::string bytes(const std::string& name) const {
        std::ifstream f(vktstore::PathOf(path(name)), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

    TempFolder temp{"vkt-cli-"};
    const std::filesystem::path& folder = temp.path();
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    ScriptedWorkers workers;  // the copies of a fleet run
    bool onTerminal = false;
    std::function<bool()> interrupted;
    std::ostringstream out, err;
};

std::string Result(Outcome status, const char* detail = "", double seconds = 14.1, const char* written = "", const std::string& unitId = "") {
    return vktfleet::ResultLine({status, "2AAA0105", seconds, 0.05, detail, written, unitId, ""});
}

} // namespace

TEST_F(VktTest, ReadThenVerifyIsCleanAndAChangeIsNamed) {
    ASSERT_EQ(run({"read", "--port", "1", "-o", path("radio.vkt")}), 0) << err.str();
    EXPECT_EQ(bytes("radio.vkt").substr(6016), std::string(3, '\0'));
    EXPECT_EQ(run({"verify", path("radio.vkt").c_str(), "--device", "/dev/pts/9"}), 0) << err.str();
    EXPECT_EQ(out.str(), "the radio matches " + path("radio.vkt") + ": " + NoDifferences);

    // The last group, which a loop one short would never reach.
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(14, 15) + 1)] = 0x28;  // 162.45
    EXPECT_EQ(run({"verify", path("radio.vkt"), "--port", "1"}), 1);
    EXPECT_EQ(out.str(), "Group 15 Ch 16 Rec Freq: radio 162.45000, file 162.55000\n");
    // The calibration values are never written, so they are never compared.
    port.radio().eeprom[11] = 17;
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(14, 15) + 1)] = 0x78;
    EXPECT_EQ(run({"verify", path("radio.vkt"), "--port", "1"}), 0);
}

TEST_F(VktTest, WriteRepeatsRadioAfterRadio) {
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "2", "--repeat"}, "\n\nq\n"), 0) << err.str();
    EXPECT_NE(out.str().find("radio 3 (2AAA0105): written (3 so far)"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("3 radios written"), std::string::npos);
}

TEST_F(VktTest, DiffAndReport) {
    EXPECT_EQ(run({"diff", path("s.vkt"), path("s.vkt")}), 0);
    EXPECT_EQ(out.str(), NoDifferences);
    // Said as the windows say them, in their order: the rotary switch before ANI Rate, channel 1's label before
    // channel 2's frequency, though memory holds them the other way round; a UCG channel no write sends is none.
    std::string b = bytes("s.vkt");
    const int g1 = VKTCore::GroupBase(0);
    for (const auto& [at, to] : {std::pair{7, 0xFC}, {128, 0x23}, {155, 0x20}, {g1 + 38, 0x12}, {g1 + 46, 0x80}, {g1, 0x05},
                                 {VKTCore::LabelSlotAddress(0, 0) + 7, 0x02}, {VKTCore::ChannelSlotAddress(0, 1) + 1, 0x2C}})
        b[static_cast<size_t>(at)] = static_cast<char>(to);
    std::ofstream(path("b.vkt"), std::ios::binary) << b;
    EXPECT_EQ(run({"diff", path("s.vkt"), path("b.vkt")}), 1);
    const std::string s = ": " + path("s.vkt") + " ", x = ", " + path("b.vkt") + " ";
    EXPECT_EQ(out.str(), "Rotary Position 1 Group" + s + "Group 1" + x + "Group 3\nRotary Position 1 Channel" + s + "Channel 1" + x +
                             "Channel 4\nANI Rate" + s + "10" + x + "20\nTalk Back Scan" + s + "Disabled" + x + "Enabled\nGroup 1 Password" +
                             s + "000000" + x + "120000\nGroup 1 Priority 1" + s + "Ch 1" + x + "OFF\nGroup 1 Ch 1 Label" + s +
                             "\"    Ch 1\"" + x + "\"    Ch 2\"\nGroup 1 Ch 2 Rec Freq" + s + "162.45000" + x + "162.45500\n");
    // A channel under OFF shows nowhere, yet a write sends it.
    b[static_cast<size_t>(g1 + 46)] = '\x83';
    std::ofstream(path("c.vkt"), std::ios::binary) << b;
    EXPECT_EQ(run({"diff", path("b.vkt"), path("c.vkt")}), 1);
    EXPECT_EQ(out.str(), "Group 1 Priority 1 Channel: " + path("b.vkt") + " 1, " + path("c.vkt") + " 4\n");
    EXPECT_EQ(run({"report", path("b.vkt")}), 0);
    EXPECT_NE(out.str().find("Unit Password = 120000"), std::string::npos);
}

// A refused plan's options are checked in the refusals' table.
TEST_F(VktTest, CsvAndChannelPlansRoundTripThroughTheCommands) {
    const std::string fleet = std::string(VKT_TEST_DATA_DIR) + "/fleet.vkt";
    const std::string setup(std::istreambuf_iterator<char>(std::ifstream(fleet, std::ios::binary).rdbuf()), {});
    ASSERT_EQ(run({"export", fleet, "--csv", path("c.csv")}), 0);
    ASSERT_EQ(run({"import", fleet, "--csv", path("c.csv"), "-o", path("t.vkt")}), 0) << err.str();
    EXPECT_EQ(bytes("t.vkt"), setup);
    for (const char* format : {"ics205", "channels"}) {
        ASSERT_EQ(run({"export", fleet, "--plan", path("p.csv"), "--format", format}), 0) << err.str();
        ASSERT_EQ(run({"import", fleet, "--plan", path("p.csv"), "-o", path("t.vkt")}), 0) << err.str();
        EXPECT_EQ(bytes("t.vkt"), setup);
        EXPECT_NE(out.str().find(", 240 channels\ngroup 1: channels 1-16\n"), std::string::npos) << out.str();
        // The plan's own Zone/Grp column leaves --group nothing to do.
        EXPECT_EQ(run({"import", fleet, "--plan", path("p.csv"), "--group", "1", "-o", path("t.vkt")}), format[0] == 'i' ? 2 : 0);
    }
    // Channels no plan holds as the setup has them (an erased transmit frequency, a 1.25 kHz step, 101.25 MHz,
    // a tone that is not decimal) are left out and named; what is written comes back byte for byte.
    VKTCore::Image odd{};
    std::copy(setup.begin(), setup.end(), odd.begin());
    namespace CS = VKTCore::ChannelSlot;
    for (const auto& [c, field, value] : {std::tuple{0, CS::TxFreq, 0xFFFF}, {1, CS::RxFreq, 37217}, {2, CS::RxFreq, 1000}, {3, CS::RxCG, 0x0A85}})
        VKTCore::WriteField(odd, VKTCore::ChannelSlotAddress(1, c), field, value);
    std::ofstream(path("odd.vkt"), std::ios::binary).write(reinterpret_cast<const char*>(odd.data()), static_cast<std::streamsize>(setup.size()));
    for (const char* format : {"ics205", "channels"}) {
        out.str("");
        ASSERT_EQ(run({"export", path("odd.vkt"), "--plan", path("p.csv"), "--format", format}), 0) << err.str();
        const std::string said = out.str();
        for (const char* left : {"\ngroup 2 channel 1: ", "\ngroup 2 channel 2: ", "\ngroup 2 channel 3: ", "\ngroup 2 channel 4: "})
            EXPECT_NE(said.find(left), std::string::npos) << format << ": " << said;
        EXPECT_EQ(said.substr(0, said.find('\n')), path("p.csv") + ": 236 channels; left out, as the plan cannot hold them as the setup has them:");
        ASSERT_EQ(run({"import", path("odd.vkt"), "--plan", path("p.csv"), "-o", path("t.vkt")}), 0) << err.str();
        EXPECT_EQ(bytes("t.vkt"), bytes("odd.vkt")) << format;
    }
    std::ofstream(path("list.csv"), std::ios::binary) << "Location,Name,Frequency\n1,ENGINE 12 TAC,150.0\n";
    ASSERT_EQ(run({"import", fleet, "--plan", path("list.csv"), "--group", "4", "--cut-names", "-o", path("t.vkt")}), 0) << err.str();
    EXPECT_EQ(out.str(), path("list.csv") + ": channel list, 1 channel\ngroup 4: channel 1\nline 2: \"ENGINE 12 TAC\" cut to \"ENGINE 1\"\n");
    ASSERT_EQ(run({"import", fleet, "--plan", path("list.csv"), "-o", path("u.vkt")}), 3);
    EXPECT_EQ(err.str(), "vkt: " + path("list.csv") + ": line 2, column Name: \"ENGINE 12 TAC\" has more than 8 characters (or choose to cut "
                         "names to 8); nothing was written\n");
    EXPECT_FALSE(std::filesystem::exists(path("u.vkt")));
}

namespace {

const std::string Header = std::string(CsvHeader) + "\n";
const std::string Row1 = "1,1,162.40000,000.00,000.0,000.0,\"    Ch 1\",0,0,0\n";

std::string RowWith(const std::string& rx, const std::string& rxcg = "000.0", const std::string& group = "1",
                    const std::string& channel = "2") {
    return group + "," + channel + "," + rx + ",000.00," + rxcg + ",000.0,\"X\",0,0,0\n";
}

} // namespace

// Which texts are channel guards the code table's own test says.
TEST_F(VktTest, ABadCsvIsRefusedAndWritesNothing) {
    const std::pair<std::string, std::string> files[] = {
        {Row1 + RowWith("162.45"), "line 1: the first line must name the columns"},
        {"group,channel,rx_freq,tx_freq,rx_cg,tx_cg,label,scan,narrow,lowpower\n" + Row1, "line 1: unknown column \"lowpower\""},
        {"group,channel,rx_freq,tx_freq,rx_cg,tx_cg,scan,narrow,low_power\n", "line 1: column \"label\" is missing"},
        {Header + RowWith("154.5126"), "line 2, column rx_freq: \"154.5126\" is not a frequency"},
        {Header + RowWith("180"), "line 2, column rx_freq: \"180\" is not a frequency"},
        {Header + RowWith("162.4x"), "line 2, column rx_freq: \"162.4x\" is not a frequency"},
        {Header + RowWith("0", "D999"), "line 2, column rx_cg: \"D999\" is not a channel guard"},
        {Header + RowWith("0", std::string(60, '7')), "line 2, column rx_cg: \"" + std::string(40, '7') + "...\" is not"},
        {Header + RowWith("0", "000.0", "1.5"), "line 2, column group: \"1.5\" is not a group number 1 ... 15"},
        {Header + RowWith("0", "000.0", "16"), "line 2, column group: \"16\" is not a group number"},
        {Header + RowWith("0", "000.0", "1", "2.5"), "line 2, column channel: \"2.5\" is not a channel number 1 ... 16"},
        {Header + "1,2,0,0,000.0,000.0,\"ABCDEFGHI\",0,0,0\n", "line 2, column label: \"ABCDEFGHI\" has more than 8 characters"},
        {Header + "1,2,0,0,000.0,000.0,\"X\",2,0,0\n", "line 2, column scan: \"2\" is not 0 or 1"},
        {Header + "1,2,0,0,000.0,000.0,\"X\",0,0\n", "line 2: expected 10 fields, found 9"},
        {Header + Row1 + RowWith("0") + "1,1,162.40000,000.00,000.0,000.0,\"A\",0,0,0\n",
         "line 4: group 1 channel 1 appears a second time (first on line 2)"},
        {Header + "1,2,0,0,000.0,000.0,\"X,0,0,0\n", "line 2: a quote is never closed"},
        {Header + "1,2,0,0,000.0,000.0,\"X,0,0,0\n1,3,0,0,000.0,000.0,\"Y\",0,0,0\n", "line 2: a quote is never closed"},
        {"\n\r\n" + std::string(CsvHeader) + ",extra\n" + Row1, "line 3: unknown column \"extra\""},
        {Header + "1,2,0,0,000.0,000.0,\"Caf\xE9\",0,0,0\n", "line 2: byte 0xE9 is no UTF-8 text; save the file as UTF-8 text"},
        {Header + Row1 + "1,2,0,0,000.0,000.0,\"" + std::string(1, '\0') + "\",0,0,0\n", "line 3: a NUL byte"},
        {Header + "\r\n\r1,2,0,0,000.0,000.0,\"\xC0\x80\",0,0,0\n", "line 4: byte 0xC0 is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,\"\xED\xA0\x80\",0,0,0\n", "line 2: byte 0xED is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,\"\xE0\x9F\xBF\",0,0,0\n", "line 2: byte 0xE0 is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,\"\xF4\x90\x80\x80\",0,0,0\n", "line 2: byte 0xF4 is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,\"\xF5\x80\x80\x80\",0,0,0\n", "line 2: byte 0xF5 is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,\"\xE2\x82\",0,0,0\n", "line 2: byte 0xE2 is no UTF-8"},
        {Header + "1,2,0,0,000.0,000.0,X\"Y,0,0,0\n", "line 2: a quote inside a field"},
        {std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10) + Header, "line 1: a NUL byte: this is no text file"},
        {"", "the file is empty"},
    };
    for (const auto& [text, reason] : files) {
        std::ofstream(path("bad.csv"), std::ios::binary) << text;
        expectRefused({"import", path("s.vkt"), "--csv", path("bad.csv"), "-o", path("u.vkt")}, 3, reason);
        EXPECT_NE(err.str().find("nothing was written"), std::string::npos) << err.str();
    }
    EXPECT_FALSE(std::filesystem::exists(path("u.vkt")));
}

// The names come from this program's command line, as vkt's: ctest runs it as cli_tests_names_outside_ascii,
// names after "--" (under Wine's code page 1252 main() gets "caf\xE9 \xFC.vkt", "\xDCbung 1.vkt", "?? ?.vkt").
TEST_F(VktTest, NamesOutsideAsciiOnTheCommandLineReachTheirFiles) {
    std::vector<std::string> given = ::testing::internal::GetArgvs();
    std::vector<char*> argv;
    for (std::string& arg : given) argv.push_back(arg.data());
    const std::vector<std::string> args = ProgramArguments(static_cast<int>(argv.size()), argv.data());
    const auto dash = std::find(args.begin(), args.end(), "--");
    if (dash == args.end()) GTEST_SKIP() << "run by ctest as cli_tests_names_outside_ascii, with the names";
    const std::vector<std::string> names(dash + 1, args.end());
    ASSERT_EQ(names, (std::vector<std::string>{"café ü.vkt", "Übung 1.vkt", "設定 一.vkt"}));
    for (const std::string& name : names) {
        EXPECT_EQ(run({"defaults", "-o", path(name)}), 0) << name << ": " << err.str();
        EXPECT_TRUE(std::filesystem::exists(vktstore::PathOf(path(name)))) << name;
    }
}

// Misuse exits 2, a file that will not do 3. One radio named twice (a port
// twice, a device and a link to it) would be written by two copies at once.
TEST_F(VktTest, UsageAndFileErrorsChangeNothing) {
    EXPECT_EQ(run({"--help"}), 0);
    const std::vector<std::string> commands = {"read", "write", "verify", "diff", "report", "export", "import", "defaults"};
    for (const std::string& command : commands) {  // its own lines alone
        EXPECT_EQ(run({command, "--port", "1", command == "read" ? "-h" : "--help"}), 0) << command;
        EXPECT_EQ(out.str().rfind("Usage: vkt " + command + " [options]\n\n  " + command + " ", 0), 0u) << out.str();
        for (const std::string& other : commands) EXPECT_EQ(out.str().find("\n  " + other + " ") != std::string::npos, other == command) << other;
    }
    std::ofstream(path("notes.csv"), std::ios::binary) << std::string(7000, 'x');
    std::ofstream(path("ids.txt"), std::ios::binary) << "1001\n\n12a\n";
    std::ofstream(path("short.vkt"), std::ios::binary) << bytes("s.vkt").substr(0, 6015);
    std::ofstream(path("large.csv"), std::ios::binary) << Header << std::string(CsvMaxBytes, '\n');
    std::filesystem::create_directory(path("folder.csv"));
    const Fifo fifo(path("fifo.csv"));
    // Another name: a link, or where none can be made (Windows) a hard link.
    const bool canLink = vkttest::CanLink(folder.string());
    if (canLink) std::filesystem::create_symlink(path("s.vkt"), path("link.vkt"));
    else std::filesystem::create_hard_link(path("s.vkt"), path("link.vkt"));
    const std::string setup = bytes("s.vkt"), s = path("s.vkt"), notes = path("notes.csv");
    const std::string noSetup = notes + " holds 7000 bytes: a setup file holds 6016 to 6019";
    const std::string input = " is also the command's input ", twice = "vkt: the same radio is given twice: ";
    struct Case { std::vector<std::string> args; int exit; std::string why; };
    std::vector<Case> cases = {
        {{}, 2, ""}, {{"frobnicate"}, 2, ""}, {{"frobnicate", "--help"}, 2, "vkt: unknown "},
        {{"write", s, "--device", ""}, 2, "vkt: --device needs a device, not a blank"},
        {{"read", "-o", path("r.vkt"), "--device", " \t"}, 2, "vkt: --device needs a device, not a blank"},
        {{"read", "-o", path("r.vkt")}, 2, ""},  // no port
        {{"write", path("r.vkt"), "--port", "9"}, 2, ""},
        {{"diff", path("none.vkt"), path("none2.vkt")}, 3, "none.vkt"},
        {{"write", notes, "--port", "1"}, 3, noSetup}, {{"verify", notes, "--port", "1"}, 3, noSetup},
        {{"report", path("short.vkt")}, 3, "holds 6015 bytes"},
        {{"diff", s, notes}, 3, noSetup},
        {{"import", s, "--csv", path("folder.csv"), "-o", path("u.vkt")}, 3, std::strerror(EISDIR)},
        {{"import", s, "--csv", path("large.csv"), "-o", path("u.vkt")}, 3, "is larger than 1 MiB"},
        {{"export", s, "--csv", path("link.vkt")}, 2, input},
        {{"import", s, "--csv", notes, "-o", notes}, 2, input}, {{"import", s, "--csv", notes, "-o", s}, 2, input},
        {{"export", s, "--plan", s, "--format", "ics205"}, 2, input},
        {{"report", s, "--pdf", s}, 2, input},
        {{"write", s, "--port", "1", "--log", path("link.vkt")}, 2, input},
        {{"write", s, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB0"}, 2, twice + "/dev/ttyUSB0 and /dev/ttyUSB0"},
        {{"read", "-o", folder.string(), "--port", "2", "--port", "2"}, 2, twice + "Comm Port 2 and Comm Port 2"},
        {{"verify", s, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1"}, 2, "vkt: verify takes one cable"},
        {{"read", "--device", "A", "--device", "B", "-o", s}, 3, "is not a folder; reading several radios needs one"},
        {{"export", s, "--plan", path("p.csv"), "--format", "chirp"}, 2, "--plan needs --format ics205 or --format channels"},
        {{"import", s, "--plan", notes, "--group", "16", "-o", path("u.vkt")}, 2, "--group takes 1 ... 15"},
        {{"import", s, "--plan", notes, "--csv", notes, "-o", path("u.vkt")}, 2, "either --csv IN.csv or --plan"},
        {{"import", s, "--csv", notes, "--group", "2", "-o", path("u.vkt")}, 2, "--group and --cut-names are for --plan, not --csv"},
        {{"defaults", "--verify", "-o", path("u.vkt")}, 2, "vkt: defaults does not take --verify"},
        {{"diff", s, s, "--port", "1"}, 2, "vkt: diff does not take --port"},
        {{"verify", s, "--port", "1", "--changed-only"}, 2, "vkt: verify does not take --changed-only"},
        {{"write", s, "--port", "1", "--unit-ids", "12345678"}, 2, "vkt: --unit-ids 12345678: a unit ID has up to 7 digits"},
        {{"write", s, "--port", "1", "--unit-ids", path("ids.txt")}, 2, "vkt: " + path("ids.txt") + " line 3: \"12a\" is not a unit ID (up to 7 digits)"},
        {{"write", s, "--port", "1", "--unit-ids", "1", "--keep-unit-ids"}, 2, "vkt: --unit-ids and --keep-unit-ids exclude each other"},
        {{"write", s, "--device", "/dev/A", "--device", "/dev/B", "--unit-ids", "9999999"}, 2, "vkt: 2 radios but only 1 unit ID left; nothing was written\n"},
    };
    if (vkt::ThisSystem == vkt::SystemKind::Windows)  // one port as typed and as Windows lists it
        cases.push_back({{"write", s, "--device", "COM7", "--device", "\\\\.\\com7"}, 2, twice + "COM7 and \\\\.\\com7"});
    if (canLink) {
        std::filesystem::create_symlink("/dev/null", path("cable"));
        cases.push_back({{"write", s, "--port", "2", "--device", "/dev/null", "--device", path("cable")}, 2, twice + "/dev/null and " + path("cable")});
    }
    if (fifo.made())  // Windows has none
        for (const std::vector<std::string>& args : {std::vector<std::string>{"import", s, "--csv", path("fifo.csv"), "-o", path("u.vkt")},
                                                     {"report", path("fifo.csv")},
                                                     {"defaults", "-o", path("fifo.csv")},
                                                     {"export", s, "--csv", path("fifo.csv")}}) cases.push_back({args, 3, "is a FIFO, not a regular file"});
    for (const Case& c : cases) expectRefused(c.args, c.exit, c.why);
    EXPECT_TRUE(port.radio().received.empty());
    EXPECT_TRUE(workers.started.empty());
    EXPECT_EQ(bytes("s.vkt"), setup);
    EXPECT_EQ(bytes("notes.csv").size(), 7000u);
    EXPECT_FALSE(std::filesystem::exists(path("u.vkt")));
    EXPECT_EQ(std::filesystem::is_fifo(path("fifo.csv")), fifo.made());
}

// The header places the columns; any line end and a byte-order mark are read; a frequency typed without its
// point is read as the grid reads it; UTF-8 at each bound of its forms is text (U+0080, U+0800, U+D7FF, U+E000,
// U+10000, U+10FFFF).
TEST_F(VktTest, CsvColumnsAnyOrderAndAnyLineEnd) {
    const std::string swapped = "channel,group,tx_freq,rx_freq,label,rx_cg,tx_cg,low_power,narrow,scan";
    const std::string rows[] = {"2,3,000.00,154525,\"\xC3\x9C\xC3\x9C\xF0\x9F\x93\xBB FIRE\",D023-,088.5,1,0,0",
                                "1,3,146.52,162.40000,\"Ch 1\",000.0,000.0,0,0,1",
                                "3,3,0,0,\"\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\",000.0,000.0,0,0,0"};
    const std::pair<const char*, const char*> forms[] = {{"", "\n"}, {"", "\r\n"}, {"", "\r"}, {"\xEF\xBB\xBF", "\r\n"}};
    for (const auto& [bom, end] : forms) {
        std::ofstream(path("in.csv"), std::ios::binary) << bom << swapped << end << rows[0] << end << rows[1] << end << rows[2] << end;
        ASSERT_EQ(run({"import", path("s.vkt"), "--csv", path("in.csv"), "-o", path("t.vkt")}), 0) << err.str();
        const std::string t = bytes("t.vkt");
        const auto at = [&](int address) { return static_cast<uint8_t>(t.at(static_cast<size_t>(address))); };
        const int ch1 = VKTCore::ChannelSlotAddress(2, 0), ch2 = VKTCore::ChannelSlotAddress(2, 1);
        const std::pair<int, int> stored[] = {
            {ch2, 0xAA}, {ch2 + 1, 0x64},                                                         // 154.525 MHz: 43620 steps
            {ch2 + 2, 0xC8}, {ch2 + 3, 0x13}, {ch2 + 6, 0x08}, {ch2 + 7, 0x85},                   // D023-, 088.5
            {VKTCore::LabelSlotAddress(2, 1) + 4, 0x0F}, {VKTCore::GroupBase(2) + 33, 0x02},      // eight characters in 13 bytes, shown "    FIRE"; low power
            {ch1 + 4, 0x91}, {ch1 + 5, 0x60}, {VKTCore::GroupBase(2) + 37, 0x01}};                // 146.52 MHz transmit, scan
        for (const auto& [address, value] : stored) EXPECT_EQ(at(address), value) << address;
    }
}

// Nobody is there to answer: a failure (a byte refused for 2 s among them) ends with 1, an interrupt (the
// progress window's Cancel) with 130. A block acknowledged but never stored is found by reading the radio back.
// Without the unit-wide settings, verify leaves them alone.
TEST_F(VktTest, EveryEndOfATransferIsSaidAndReleasesTheRadio) {
    const auto& received = port.radio().received;
    size_t start = received.size();
    ASSERT_EQ(run({"write", path("s.vkt"), "--port", "1"}), 0);
    const size_t aWrite = received.size() - start, never = SIZE_MAX;
    const std::vector<std::string> write = {"write", path("s.vkt"), "--port", "1"}, verify = {"write", path("s.vkt"), "--port", "1", "--verify"};
    const std::vector<std::string> read = {"read", "--port", "1", "-o", path("r.vkt")};
    // interruptAfter: bytes the radio has heard when the interrupt comes; said: all that is said, or, with then, its start,
    // and then what follows how far it got.
    struct Case { std::vector<std::string> args; std::function<void(vktsim::RadioModel&)> fault; size_t interruptAfter; int exit; std::string said, then; };
    const std::string cut = "radio 1 (2AAA0105): INTERRUPTED\nvkt: interrupted while ";
    const std::string partly = " bytes; the radio was released; it may hold part of the setup";
    const Case cases[] = {
        {{"write", path("s.vkt"), "--port", "1", "--no-retry", "--verify", "--log", path("log.csv")}, [](auto& r) { r.faults.silentFromBlock = 30; },
         never, 1, "radio 1 (2AAA0105): FAILED: block 30: no acknowledgement after 0.5 s\n", ""},
        {read, [](auto& r) { r.faults.silent = true; }, never, 1, "vkt: reading the radio failed: hook: no answer after 0.5 s\n", ""},
        {verify, [](auto& r) { r.eeprom.fill(0xFF), r.faults.forgetBlockWrite = 40; }, never, 1,  // group 3, the labels of channels 1 ... 4
         "radio 1 (2AAA0105 #A6E1): written but NOT verified: Group 3 Ch 1 Label: radio \" BLANK  \", setup \"    Ch 1\" (and 3 more)\n", ""},
        {verify, {}, never, 0, "radio 1 (2AAA0105 #A6E1): written and verified (1 so far)\n", ""},  // the tag of the read-back's calibration
        {write, {}, 2000, 130, cut + "writing, after ", partly},
        {verify, {}, aWrite + 200, 130, cut + "verifying a finished write, after ",
         " of 6016 bytes read back; the radio was released; the setup was written in full, but not checked"},
        {read, {}, 300, 130, "vkt: interrupted while reading, after ", " bytes"},
        {write, [](auto& r) { r.faults.silent = true; }, 0, 130,
         "radio 1 (unknown): INTERRUPTED\nvkt: interrupted while writing: the radio did not answer and nothing was sent\n", ""},
        {write, [](auto& r) { r.faults.refuseWrites = true; }, never, 1,
         "radio 1 (2AAA0105): FAILED: masked write 0x0006: refused for 2 s\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        port.radio().faults = {};
        if (c.fault) c.fault(port.radio());
        start = received.size();
        interrupted = [&] { return received.size() - start >= c.interruptAfter; };
        EXPECT_EQ(run(c.args), c.exit);
        const std::string shown = out.str() + err.str();
        if (c.then.empty()) EXPECT_EQ(shown, c.said);
        else EXPECT_EQ(shown.rfind(c.said, 0), 0u) << shown;
        EXPECT_NE(shown.find(c.then), std::string::npos) << shown;
        EXPECT_EQ(shown.find(partly) != std::string::npos, c.then == partly) << shown;
        EXPECT_FALSE(std::filesystem::exists(path("r.vkt")));
        expectReleased();
    }
    interrupted = nullptr;
    port.radio().faults = {};
    EXPECT_TRUE(bytes("log.csv").ends_with(",write,failed,no,2.9,,block 30: no acknowledgement after 0.5 s,,,\n")) << bytes("log.csv");
    port.radio().eeprom[155] = 0x80;  // the radio's own display setting, not written
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--verify", "--no-globals"}), 0) << out.str();
    EXPECT_EQ(port.radio().eeprom[155], 0x80);
}

// On a terminal the bar moves a percent at a time and ends full (elsewhere
// there is none: the ends of a transfer are said in full).
TEST_F(VktTest, TheProgressBarIsForTerminalsAndEndsAtAHundred) {
    onTerminal = true;
    ASSERT_EQ(run({"read", "--port", "1", "-o", path("r.vkt")}), 0);
    const std::string bar = err.str();
    EXPECT_EQ(bar.rfind("\rreading   [", 0), 0u) << bar;
    std::vector<int> shown;
    for (size_t at = bar.find("] "); at != std::string::npos; at = bar.find("] ", at + 1)) shown.push_back(std::stoi(bar.substr(at + 2)));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end(), std::greater_equal<>()), shown.end()) << "drawn twice, or back";
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(bar.back(), '\n');
}

TEST_F(VktTest, AFleetCopyReportsInLines) {
    EXPECT_EQ(run({"write", path("s.vkt"), "--device", "/dev/ttyUSB0", "--verify", "--worker", "--unit-ids", "1001"}), 0);
    const std::string said = "\n" + out.str();
    // The radio's identity comes with the progress, once the radio has said it.
    EXPECT_EQ(said.rfind("\nprogress\twriting\t0\t2AAA0105\n", 0), 0u) << said;
    EXPECT_NE(said.find("\nprogress\twriting\t100\t2AAA0105\n"), std::string::npos);
    EXPECT_NE(said.find("\nprogress\tverifying\t100\t2AAA0105\n"), std::string::npos);
    EXPECT_EQ(said.find("\nresult\tdone\t2AAA0105 #5E4F\t"), said.rfind('\n', said.size() - 2)) << said;  // the last line

    std::filesystem::create_directories(path("radios"));
    EXPECT_EQ(run({"read", "--device", "/dev/ttyUSB0", "-o", path("radios"), "--worker"}), 0);
    const std::string line = out.str().substr(out.str().rfind("result\t"));
    const std::string file = std::get<WorkerResult>(ParseWorkerLine(line.substr(0, line.size() - 1))).detail;
    EXPECT_EQ(std::filesystem::path(file).parent_path(), path("radios"));
    EXPECT_EQ(std::filesystem::path(file).filename().string().rfind("radio-2AAA0105-", 0), 0u) << file;
    EXPECT_TRUE(file.ends_with("-ttyUSB0.vkt")) << file;
    const auto& radio = port.radio().eeprom;
    EXPECT_TRUE(bytes(file) == std::string(radio.begin(), radio.end()) + std::string(3, '\0'));  // and the spare bytes 0
}

namespace {

// What the radio heard since `from`: block writes (212 N), masked writes
// (209 page offset) by address, and the block reads (198 N) after a write.
struct Heard { std::vector<int> blocks = {}, masked = {}, readBack = {}; };

Heard HeardSince(const std::vector<std::pair<double, uint8_t>>& r, size_t from) {
    Heard h;
    for (size_t i = from; i + 1 < r.size(); ++i) {
        if (r[i].second == 212) h.blocks.push_back(r[i + 1].second), i += 33;
        else if (r[i].second == 209) h.masked.push_back(r[i + 1].second * 256 + r[i + 2].second), i += 4;
        else if (r[i].second == 198 && !(h.blocks.empty() && h.masked.empty())) h.readBack.push_back(r[i + 1].second), i += 2;
    }
    return h;
}

} // namespace

// --changed-only reads the radio (its backup), writes only the blocks and unit-wide bytes whose sent bits
// differ and reads exactly those back. A failing read, a radio that is not the one read (another model, or
// another unit of the model, told by its calibration), and an interrupt in any phase write nothing more.
TEST_F(VktTest, ChangedOnlyWritesOnlyWhatDiffersAndFailuresLeaveTheBackup) {
    const auto& received = port.radio().received;
    const size_t beforeRead = received.size();
    EXPECT_EQ(run({"read", "--port", "1", "-o", path("r.vkt")}), 0);
    const size_t aRead = received.size() - beforeRead;
    const int ch = VKTCore::ChannelSlotAddress(2, 0) + 1, label = VKTCore::LabelSlotAddress(2, 15), first = VKTCore::GroupBase(2);
    struct Case {
        std::vector<std::pair<int, uint8_t>> flips;  // radio bytes changed by these bits
        std::function<void(vktsim::RadioModel&)> fault = {};
        size_t interruptAfter = 0;                           // bytes heard; 0: never
        std::function<void(vktsim::RadioModel&)> swap = {};  // another radio takes its place
        size_t swapAfter = 0;                                // once this many bytes were heard
        int exit = 0;
        Heard heard = {};
        std::string said;  // all, where the write ends well
    };
    const std::vector<std::pair<int, uint8_t>> two = {{ch, 0x01}, {label, 0x01}};  // blocks 36 and 43
    const Heard both = {.blocks = {ch / 32, label / 32}, .readBack = {ch / 32, label / 32}};
    const std::string done = "radio 1 (2AAA0105 #5E4F): ", cut = "INTERRUPTED\nvkt: interrupted while ";
    const auto otherModel = [](vktsim::RadioModel& r) { r.identity = vktsim::RadioModel::SlowIdentity; };
    const auto otherUnit = [](vktsim::RadioModel& r) { r.eeprom[VKTCore::Page0::HighPowerDAC.offset] ^= 0x5A; };
    const std::string otherUnitSaid = "the radio on the cable is not the one that was read (its calibration differs); ";
    const Case cases[] = {
        // Bits never sent; one of them a calibration value, which the radio's tag shows.
        {.flips = {{11, 0x11}, {first, 0x01}}, .said = "radio 1 (2AAA0105 #2428): already holds the setup: nothing written (1 so far)\n"},
        {.flips = {{ch, 0x01}, {label, 0x20}, {first, 0x20}}, .heard = {.blocks = {ch / 32, label / 32}, .masked = {first}, .readBack = {32, ch / 32, label / 32}},
         .said = done + "3 blocks written and verified (1 so far)\n"},
        {.flips = {{6, 0x04}, {153, 0x02}}, .heard = {.masked = {6, 153}, .readBack = {0, 1, 2, 3, 4, 5, 6, 7}}, .said = done + "2 unit-wide bytes written and verified (1 so far)\n"},
        {.flips = two, .fault = [ch](vktsim::RadioModel& r) { r.faults.forgetBlockWrite = ch / 32; }, .exit = 1, .heard = both, .said = "written but NOT verified: Group 3 Ch 1 Rec Freq: radio "},
        {.flips = two, .fault = [](vktsim::RadioModel& r) { r.faults.silentFromBlock = 100; }, .exit = 1,
         .said = "FAILED: reading it first: block 100: byte 1 missing after 0.5 s, asked again 3 times; nothing was written\n"},
        {.flips = two, .swap = otherModel, .swapAfter = aRead, .exit = 1,
         .said = "FAILED: the radio on the cable is 2AA90103, not 2AAA0105 that was read; nothing had been written; its backup is "},
        {.flips = two, .swap = otherUnit, .swapAfter = aRead, .exit = 1, .said = "FAILED: " + otherUnitSaid + "nothing was written; its backup is "},
        {.flips = two, .swap = otherUnit, .swapAfter = aRead + 130, .exit = 1, .heard = {.blocks = both.blocks},
         .said = "FAILED: reading it back: " + otherUnitSaid + "nothing was compared; blocks 36, 43 had been written; its backup is "},
        {.flips = two, .interruptAfter = 300, .exit = 130, .said = cut + "reading, after "},
        {.flips = two, .interruptAfter = aRead + 60, .exit = 130, .heard = {.blocks = {ch / 32}}, .said = cut + "writing, after "},
        {.flips = two, .interruptAfter = aRead + 170, .exit = 130, .heard = both, .said = cut + "verifying a finished write, after "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        port.radio().eeprom = vktsim::RadioModel::FactorySetup();
        port.radio().identity = vktsim::RadioModel::FastIdentity;
        port.radio().faults = {};
        ASSERT_EQ(run({"write", path("s.vkt"), "--port", "1"}), 0);
        if (c.fault) c.fault(port.radio());
        for (const auto& [address, bits] : c.flips) port.radio().eeprom[static_cast<size_t>(address)] ^= bits;
        const vktsim::Eeprom before = port.radio().eeprom;
        const size_t start = received.size();
        interrupted = [&, swapped = false]() mutable {
            if (c.swap && !swapped && received.size() - start > c.swapAfter) c.swap(port.radio()), swapped = true;
            return c.interruptAfter && received.size() - start >= c.interruptAfter;
        };
        EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--changed-only", "--log", path("log.csv")}), c.exit);
        interrupted = nullptr;
        const std::string shown = out.str() + err.str();
        EXPECT_TRUE(c.exit == 0 ? shown == c.said : shown.find(c.said) != std::string::npos) << shown;
        const Heard h = HeardSince(received, start);
        EXPECT_EQ(h.blocks, c.heard.blocks);
        EXPECT_EQ(h.masked, c.heard.masked);
        EXPECT_EQ(h.readBack, c.heard.readBack);
        expectReleased();
        // The read came whole: it is on disk as the backup, and what went is said.
        if (c.said.find("reading") != std::string::npos) continue;
        const auto backup = vktstore::Backups((folder / "backups").string()).latestFor(vktsim::RadioModel::FastIdentity);
        ASSERT_TRUE(backup);
        EXPECT_TRUE(backup->ends_with("-all-CommPort1.vkt")) << *backup;
        EXPECT_EQ(bytes(*backup).substr(0, 6016), std::string(before.begin(), before.end()));
        if (c.exit != 130) continue;
        EXPECT_NE(shown.find(h.blocks.size() == 1 ? "; block 36 had been written; its backup is " + folder.string()
                                                  : "; blocks 36, 43 had been written; its backup is " + folder.string()), std::string::npos) << shown;
    }
    EXPECT_NE(bytes("log.csv").find(",Comm Port 1,2AAA0105 #5E4F,"), std::string::npos) << bytes("log.csv");
    EXPECT_NE(bytes("log.csv").find(",,,2 unit-wide bytes written and verified,,2AAA0105 #5E4F\n"), std::string::npos) << bytes("log.csv");
    EXPECT_NE(bytes("log.csv").find(",,,\"blocks 32, 36, 43 written and verified\",,"), std::string::npos);
    // A write that did not get there says what it had sent, as its reason does.
    EXPECT_NE(bytes("log.csv").find("-all-CommPort1.vkt\",block 36 written,,"), std::string::npos) << bytes("log.csv");
    EXPECT_NE(bytes("log.csv").find(",\"blocks 36, 43 written\",,"), std::string::npos);
}

// Every group's ANI/ID given (from a start or a file) or kept, read first; the rest written, the setup file unchanged.
TEST_F(VktTest, EachRadioGetsItsOwnUnitIdOrKeepsItsOwn) {
    std::ofstream(path("ids.txt"), std::ios::binary) << "42\r\n\n 7654321 \n";
    const std::string setup = bytes("s.vkt"), tag = "2AAA0105 #5E4F", kept = "0000555/0000777";
    const int ch = VKTCore::ChannelSlotAddress(2, 0) + 1;
    // A group's ANI/ID as the radio holds it, seven digits.
    const auto idIn = [this](int g) { std::string h; for (int i = 0; i < 4; ++i) h += vkt::Hex2(port.radio().eeprom[static_cast<size_t>(VKTCore::GroupBase(g) + 41 + i)]); return h.substr(1); };
    struct Case { std::vector<std::string> options; std::string input; int exit; std::string said, id, last, log; };
    const Case cases[] = {
        {{"--unit-ids", "1001", "--verify"}, "", 0, "radio 1 (" + tag + ", unit ID 0001001): written and verified (1 so far)\n", "0001001", "0001001", ",0001001," + tag},
        {{"--unit-ids", path("ids.txt"), "--repeat"}, "\n\n", 2, "radio 1 (2AAA0105, unit ID 0000042): written (1 so far)\nradio 2 (2AAA0105, unit ID 7654321): written (2 so far)\n", "7654321", "7654321", ",7654321,"},
        {{"--unit-ids", "9999999", "--changed-only"}, "", 0, "radio 1 (" + tag + ", unit ID 9999999): 16 blocks written and verified (1 so far)\n", "9999999", "9999999", ",9999999," + tag},
        {{"--keep-unit-ids"}, "", 0, "radio 1 (" + tag + ", unit ID " + kept + "): written (1 so far)\n", "0000555", "0000777", "," + kept + "," + tag},
        {{"--keep-unit-ids", "--changed-only"}, "", 0, "radio 1 (" + tag + ", unit ID " + kept + "): 1 block written and verified (1 so far)\n", "0000555", "0000777", "," + kept + "," + tag},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        port.radio().eeprom = vktsim::RadioModel::FactorySetup();
        ASSERT_EQ(run({"write", path("s.vkt"), "--port", "1"}), 0);
        auto& radio = port.radio().eeprom;
        for (int g = 0; g < VKTCore::GroupCount; ++g) radio[static_cast<size_t>(VKTCore::GroupBase(g) + 43)] = g < 14 ? 0x05 : 0x07, radio[static_cast<size_t>(VKTCore::GroupBase(g) + 44)] = g < 14 ? 0x55 : 0x77;
        radio[static_cast<size_t>(ch)] ^= 0x01;
        std::vector<std::string> args = {"write", path("s.vkt"), "--port", "1", "--log", path("ids.csv")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(run(args, c.input), c.exit) << err.str();
        EXPECT_EQ(out.str(), c.said);
        for (int g = 0; g < VKTCore::GroupCount; ++g) EXPECT_EQ(idIn(g), g < 14 ? c.id : c.last) << g;
        EXPECT_EQ(radio[static_cast<size_t>(ch)], static_cast<uint8_t>(setup[static_cast<size_t>(ch)]));
        EXPECT_EQ(bytes("s.vkt"), setup);
        EXPECT_TRUE(bytes("ids.csv").ends_with(c.log + "\n")) << bytes("ids.csv");
        if (c.exit) { EXPECT_TRUE(err.str().ends_with(": vkt: 1 radio but only 0 unit IDs left in " + path("ids.txt") + "; nothing was written to radio 3\n")) << err.str(); }
    }
    // Kept IDs go to the unit they were read from alone: another unit on the cable by then gets nothing.
    const auto& received = port.radio().received;
    const size_t start = received.size();
    const auto dac = static_cast<size_t>(VKTCore::Page0::HighPowerDAC.offset);
    const auto blocksRead = [&] { return std::count_if(received.begin() + static_cast<long>(start), received.end(), [](const auto& b) { return b.second == 198; }); };
    interrupted = [&, other = static_cast<uint8_t>(port.radio().eeprom[dac] ^ 0x5A)] { return blocksRead() >= VKTCore::BlockCount && (port.radio().eeprom[dac] = other, false); };
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--keep-unit-ids"}), 1);
    EXPECT_NE(out.str().find("FAILED: the radio on the cable is not the one that was read (its calibration differs); nothing was written"), std::string::npos) << out.str();
    EXPECT_EQ(HeardSince(received, start).blocks, std::vector<int>{});
}

// A copy that fails, one whose radio is not as sent and one that dies fail alone. The log, found empty, gets
// its header; a second run, on a terminal, shows a live line per cable and adds its rows under it.
TEST_F(VktTest, EveryCableGetsACopyAndOneFailureFailsTheRunAlone) {
    const std::string file = path("s.vkt");
    workers.scripts = {{ProgressLine("writing", 50), Result(Outcome::Done), "exit 0"},
                       {Result(Outcome::Failed, "hook: no answer after 0.5 s", 2.1), "exit 1"},
                       {Result(Outcome::Unverified, "Group 3 Ch 1 Label: radio \"\", setup \"    Ch 1\" (and 3 more)"), "exit 1"},
                       {ProgressLine("writing", 3), "exit 139"}};
    const std::string log = path("record.csv");
    std::ofstream{log};
    EXPECT_EQ(run({"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1", "--port", "3", "--device", "/dev/ttyACM0",
                   "--verify", "--log", log}), 1);
    ASSERT_EQ(workers.started.size(), 4u);
    EXPECT_EQ(workers.started[0], (std::vector<std::string>{"write", file, "--verify", "--device", "/dev/ttyUSB0", "--worker"}));
    EXPECT_EQ(workers.started[2], (std::vector<std::string>{"write", file, "--verify", "--port", "3", "--worker"}));
    EXPECT_EQ(out.str(),
              "/dev/ttyUSB1  radio 2AAA0105  FAILED: hook: no answer after 0.5 s  2.1 s\n"
              "Comm Port 3   radio 2AAA0105  written but NOT verified: Group 3 Ch 1 Label: radio \"\", setup \"    Ch 1\" (and 3 more)  14.1 s\n"
              "/dev/ttyUSB0  radio 2AAA0105  written and verified  14.1 s\n"
              "/dev/ttyACM0  radio unknown  FAILED: its copy of vkt ended without a result (exit 139)  0.0 s\n"
              "1 of 4 radios written and verified in 0.3 s; not done: /dev/ttyUSB1, Comm Port 3, /dev/ttyACM0\n");
    EXPECT_EQ(err.str(), "");  // not a terminal: no live lines

    workers.started.clear();
    onTerminal = true;
    workers.scripts = {{ProgressLine("writing", 45), Result(Outcome::Done), "exit 0"}, {ProgressLine("writing", 7), Result(Outcome::Done), "exit 0"}};
    // The second run's rows are stamped in UTC whatever zone the machine keeps.
    const char* zone = std::getenv("TZ");
    const std::optional<std::string> machineZone = zone ? std::optional<std::string>(zone) : std::nullopt;
    vkttest::SetTimeZone("XST-5");  // five hours east of Greenwich
    // The log's clock: std::time() may read a coarser one, a tick behind.
    const auto now = [] { return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()); };
    const std::time_t before = now();
    EXPECT_EQ(run({"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1", "--log", log}), 0);
    const std::time_t after = now();
    vkttest::SetTimeZone(machineZone ? machineZone->c_str() : nullptr);
    EXPECT_NE(err.str().find("/dev/ttyUSB0  [#############                 ]  45% writing\n"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("/dev/ttyUSB1  [##                            ]   7% writing\n"), std::string::npos);
    EXPECT_NE(err.str().find("\033[2F\033[J"), std::string::npos);  // the two lines redrawn in place
    std::istringstream rows(bytes("record.csv"));
    std::vector<std::string> lines;
    std::string last;
    for (std::string line; std::getline(rows, line); last = line) lines.push_back(line.substr(std::min<size_t>(20, line.size())));
    const std::string by = "2AAA0105," + file + ",sha-of-6019-bytes,write,";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         std::string(LogHeader).substr(20),
                         ",/dev/ttyUSB1," + by + "failed,no,2.1,,hook: no answer after 0.5 s,,,",
                         ",Comm Port 3," + by + "not verified,no,14.1,\"Group 3 Ch 1 Label: radio \"\"\"\", setup \"\"    Ch 1\"\" (and 3 more)\",,,,",
                         ",/dev/ttyUSB0," + by + "done,yes,14.1,,,,,",
                         ",/dev/ttyACM0,unknown," + file + ",sha-of-6019-bytes,write,failed,no,0.0,,its copy of vkt ended without a result (exit 139),,,",
                         ",/dev/ttyUSB0," + by + "done,no,14.1,,,,,", ",/dev/ttyUSB1," + by + "done,no,14.1,,,,,"}));
    vkt::UtcTime utc;
    ASSERT_EQ(std::sscanf(last.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ,", &utc.year, &utc.month, &utc.day, &utc.hour, &utc.minute, &utc.second), 6);
    const auto stamp = vkt::TimeOfUtc(utc);
    ASSERT_TRUE(stamp);
    EXPECT_GE(std::chrono::system_clock::to_time_t(*stamp), before);
    EXPECT_LE(std::chrono::system_clock::to_time_t(*stamp), after);

    // Every copy writes only what differs, as the run was told; radios that held the setup are not said written.
    workers.started.clear();
    const auto held = Result(Outcome::Done, vktfleet::AlreadyHeld, 9.0, vktfleet::AlreadyHeld);
    workers.scripts = {{held, "exit 0"}, {held, "exit 0"}};
    out.str("");
    EXPECT_EQ(run({"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1", "--changed-only", "--no-globals"}), 0);
    EXPECT_EQ(workers.started[1], (std::vector<std::string>{"write", file, "--verify", "--no-globals", "--changed-only", "--device", "/dev/ttyUSB1", "--worker"}));
    EXPECT_EQ(out.str().substr(out.str().rfind('\n', out.str().size() - 2) + 1), "2 radios already held the setup: nothing written\n") << out.str();
}

// Ctrl-C reaches every copy; a signal to the run alone reaches none: either way each copy is told, once.
TEST_F(VktTest, AnInterruptIsPassedOnToEveryCopyOnce) {
    interrupted = [] { return true; };
    workers.scripts = {{ProgressLine("writing", 10), Result(Outcome::Interrupted, "interrupted while writing, after 2944 of 6016 bytes"), "exit 130"},
                       {Result(Outcome::Done), "exit 0"}};
    EXPECT_EQ(run({"write", path("s.vkt"), "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1"}), 130);
    EXPECT_EQ(workers.interrupts, 1);
    EXPECT_NE(out.str().find("/dev/ttyUSB0  radio 2AAA0105  interrupted while writing, after 2944 of 6016 bytes  14.1 s\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\ncancelled: 1 of 2 radios written, 1 released unwritten; not done: /dev/ttyUSB0\n"), std::string::npos) << out.str();
}

// However the pipe cuts it; and through this system's own pipe, as a copy reads it.
TEST(RunListener, StopsAtTheStopLineOrTheEndOfItsInput) {
    struct Case { std::vector<std::string> pieces; bool ended; bool stops; };
    const Case cases[] = {{{"st", "op\n"}, false, true}, {{"stop\r\n"}, false, true}, {{"stopped\n", "stop"}, false, false}, {{"progress\n"}, true, true}};
    for (const Case& c : cases) {
        RunListener run;
        bool stopped = false;
        for (size_t i = 0; i < c.pieces.size(); ++i) stopped = run.heard(c.pieces[i], c.ended && i + 1 == c.pieces.size());
        EXPECT_EQ(stopped, c.stops) << c.pieces[0];
    }
    for (bool runGone : {false, true}) {
        StdinPipe run;
        RunListener copy;
        EXPECT_FALSE(copy.stopAsked());
        if (runGone) run.close();
        else run.write("progress\nstop\n");
        EXPECT_TRUE(copy.stopAsked()) << runGone;
    }
}

TEST_F(VktTest, RepeatWorksInRounds) {
    workers.scripts = {{Result(Outcome::Done), "exit 0"}, {Result(Outcome::Done), "exit 0"}, {Result(Outcome::Done), "exit 0"}};
    EXPECT_EQ(run({"write", path("s.vkt"), "--device", "/dev/A", "--device", "/dev/B", "--repeat"}, "\nq\n"), 1);
    EXPECT_EQ(workers.started.size(), 4u);
    EXPECT_NE(out.str().find("round 1: 2 of 2 radios written in "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("round 2: 1 of 2 radios written in "), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("Connect the next radios and press Enter (q to stop): "), std::string::npos);

    // Numbered on in cable order, round after round, until too few are left for a round.
    workers.started.clear();
    workers.scripts = {{Result(Outcome::Done, "", 14.1, "", "9999996"), "exit 0"}, {Result(Outcome::Done, "", 14.1, "", "9999997"), "exit 0"},
                       {Result(Outcome::Done, "", 14.1, "", "9999998"), "exit 0"}, {"exit 139"}};
    EXPECT_EQ(run({"write", path("s.vkt"), "--device", "/dev/A", "--device", "/dev/B", "--repeat", "--unit-ids", "9999996", "--log", path("ids.csv")}, "\n\n"), 2);
    ASSERT_EQ(workers.started.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(workers.started[i].back(), "999999" + std::to_string(6 + i));
    EXPECT_NE(out.str().find("/dev/A  radio 2AAA0105  unit ID 9999998  written  14.1 s\n"), std::string::npos) << out.str();
    EXPECT_TRUE(err.str().ends_with("vkt: 2 radios but only 0 unit IDs left; nothing was written in round 3\n")) << err.str();
    EXPECT_TRUE(bytes("ids.csv").ends_with(",its copy of vkt ended without a result (exit 139),,9999999,\n")) << bytes("ids.csv");  // said by no copy
}

// A device named by a relative path is in the current folder, where on Windows a COM port's name, COM10 and
// above too, is kept as typed (and several radios are read into a folder, not a file: the refusals' table).
TEST_F(VktTest, SeveralRadiosAreReadIntoTheFolderGiven) {
    const auto here = [](const char* name) { return vktstore::Utf8Of(std::filesystem::current_path() / name); };
    struct Row { const char* typed; std::string posix, windows; };
    const Row rows[] = {{"A", here("A"), here("A")}, {"./B", here("B"), here("B")}, {"COM7", here("COM7"), "COM7"},
                        {"COM10", here("COM10"), "COM10"}, {"\\\\.\\COM11", here("\\\\.\\COM11"), "\\\\.\\COM11"}};
    std::vector<std::string> args = {"read", "-o", path("radios")};
    for (const Row& row : rows) {
        args.insert(args.end(), {"--device", row.typed});
        workers.scripts.push_back({Result(Outcome::Done, "/tmp/r/b.vkt"), "exit 0"});
    }
    workers.scripts[0] = {Result(Outcome::Done, "/tmp/r/radio-2AAA0105-20261206-235512-A.vkt", 7.6), "exit 0"};
    EXPECT_EQ(run(args), 0) << err.str();
    ASSERT_EQ(workers.started.size(), std::size(rows));
    EXPECT_EQ(workers.started[0], (std::vector<std::string>{"read", "-o", path("radios"), "--device", here("A"), "--worker"}));
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(workers.started[i][4], vkt::ThisSystem == vkt::SystemKind::Windows ? rows[i].windows : rows[i].posix) << rows[i].typed;
    const std::string first = out.str().substr(0, out.str().find('\n'));  // the cable padded to the longest
    EXPECT_TRUE(first.starts_with(here("A") + " ") && first.ends_with("  radio 2AAA0105  read into /tmp/r/radio-2AAA0105-20261206-235512-A.vkt  7.6 s")) << first;
    EXPECT_NE(out.str().find("5 of 5 radios read in "), std::string::npos);
}

TEST(RunLog, FieldsThatNeedItAreQuoted) {
    LogRow row;
    row.cable = "a,b";
    row.radio = "say \"hi\"";
    row.setup = "two\nlines";
    EXPECT_EQ(LogLine(row), ",\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,write,done,no,0.0,,,,,");
}

TEST_F(VktTest, RowsAppendedAtOnceStayWhole) {
    constexpr int Copies = 4, Rows = 100;
    const auto rowOf = [](int copy) {
        LogRow row;
        row.cable = "Comm Port " + std::to_string(copy);
        row.reason = std::string(200, static_cast<char>('a' + copy));
        return row;
    };
    std::vector<std::thread> copies;
    for (int copy = 0; copy < Copies; ++copy)
        copies.emplace_back([&, copy] {
            std::string why;
            for (int i = 0; i < Rows; ++i) EXPECT_TRUE(AppendLogRow(path("log.csv"), rowOf(copy), why)) << why;
        });
    for (auto& copy : copies) copy.join();
    std::ifstream in(path("log.csv"), std::ios::binary);
    std::map<std::string, int> lines, expected{{LogHeader, 1}};
    for (std::string line; std::getline(in, line);) ++lines[line];
    for (int copy = 0; copy < Copies; ++copy) expected[LogLine(rowOf(copy))] = Rows;
    EXPECT_EQ(lines, expected);
}

// (A Linux device's and a Comm Port's are in the names of the reads and backups above.)
TEST(RunLog, CableTagsNameTheDeviceAlone) {
    const std::pair<const char*, const char*> tags[] = {{"\\\\.\\COM10", "COM10"}, {"/dev/serial/by-id/usb-FTDI", "serial_by-id_usb-FTDI"}};
    for (const auto& [cable, tag] : tags) EXPECT_EQ(CableTag(cable), tag) << cable;
}
