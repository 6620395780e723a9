// SPDX-License-Identifier: GPL-3.0-or-later
// Several cables at once, with the copies of vkt played by a script: what
// the run shows, sums up, logs and returns.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/Commands.h"
#include "cli/Fleet.h"
#include "cli/Interrupts.h"
#include "cli/CommandLine.h"
#include "core/Text.h"
#include "editor/RunLog.h"
#include "sim/SimSerialPort.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/ScriptedWorkers.h"
#include "tests/support/StdinPipe.h"
#include "tests/support/SystemCalls.h"
#include "tests/support/TempFolder.h"

using namespace vktcli;

namespace {

std::string Result(const char* status, const char* detail = "", double seconds = 14.1) {
    return ResultLine({status, "2AAA0105", seconds, 0.05, detail});
}

class FleetTest : public ::testing::Test {
protected:
    FleetTest() {
        platform.setSerialPort(port);
        platform.otherwise = vkt::Answer::Cancel;
        workers.clock = &clock;
    }
    int run(std::vector<std::string> args, const std::string& input = "") {
        out.str("");
        err.str("");
        std::istringstream in(input);
        Console c{platform, in, out, err, [](int, const std::string&) {}, [](const std::string&, const std::string&, std::string&) { return true; },
                  false, onTerminal, {}, [this] { return askedToEnd; }, &workers,
                  [](const std::vector<uint8_t>& b) { return "sha-of-" + std::to_string(b.size()) + "-bytes"; }, {}};
        return RunVkt(args, c);
    }
    std::string setup() {
        const std::string path = (temp.path() / "fleet.vkt").string();
        std::ofstream(path, std::ios::binary) << std::string(6019, '\0');
        return path;
    }
    std::string read(const std::string& path) {
        std::ifstream f(path);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

    TempFolder temp{"vkt-fleet-"};
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    ScriptedWorkers workers;
    std::ostringstream out, err;
    bool onTerminal = false;
    bool askedToEnd = false;
};

} // namespace

// A copy that fails, one whose radio is not as sent and one that dies fail
// alone. The log, found empty, gets its header; a second run, on a
// terminal, shows a live line per cable and adds its rows under it.
TEST_F(FleetTest, EveryCableGetsACopyAndOneFailureFailsTheRunAlone) {
    const std::string file = setup();
    workers.scripts = {{ProgressLine("writing", 50), Result("done"), "exit 0"},
                       {Result("failed", "hook: no answer after 0.5 s", 2.1), "exit 1"},
                       {Result("unverified", "Group 3 Ch 1 Label: radio \"\", setup \"    Ch 1\" (and 3 more)"), "exit 1"},
                       {ProgressLine("writing", 3), "exit 139"}};
    const std::string log = (temp.path() / "record.csv").string();
    std::ofstream{log};
    EXPECT_EQ(run({"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1", "--port", "3", "--device", "/dev/ttyACM0",
                   "--verify", "--log", log}),
              1);
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

    workers = {};
    workers.clock = &clock;
    onTerminal = true;
    workers.scripts = {{ProgressLine("writing", 45), Result("done"), "exit 0"}, {ProgressLine("writing", 7), Result("done"), "exit 0"}};
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
    std::istringstream rows(read(log));
    std::vector<std::string> lines;
    std::string last;
    for (std::string line; std::getline(rows, line); last = line) lines.push_back(line.substr(std::min<size_t>(20, line.size())));
    const std::string by = "2AAA0105," + file + ",sha-of-6019-bytes,write,";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         std::string(LogHeader).substr(20),
                         ",/dev/ttyUSB1," + by + "failed,no,2.1,,hook: no answer after 0.5 s,",
                         ",Comm Port 3," + by + "not verified,no,14.1,\"Group 3 Ch 1 Label: radio \"\"\"\", setup \"\"    Ch 1\"\" (and 3 more)\",,",
                         ",/dev/ttyUSB0," + by + "done,yes,14.1,,,",
                         ",/dev/ttyACM0,unknown," + file + ",sha-of-6019-bytes,write,failed,no,0.0,,its copy of vkt ended without a result (exit 139),",
                         ",/dev/ttyUSB0," + by + "done,no,14.1,,,",
                         ",/dev/ttyUSB1," + by + "done,no,14.1,,,"}));
    vkt::UtcTime utc;
    ASSERT_EQ(std::sscanf(last.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ,", &utc.year, &utc.month, &utc.day, &utc.hour, &utc.minute, &utc.second), 6);
    const auto stamp = vkt::TimeOfUtc(utc);
    ASSERT_TRUE(stamp);
    EXPECT_GE(std::chrono::system_clock::to_time_t(*stamp), before);
    EXPECT_LE(std::chrono::system_clock::to_time_t(*stamp), after);
}

TEST_F(FleetTest, ASignalToThisProgramAloneIsPassedOnOnce) {
    const std::string file = setup();
    askedToEnd = true;
    workers.scripts = {{ProgressLine("writing", 10), Result("interrupted", "interrupted while writing, after 2944 of 6016 bytes"), "exit 130"},
                       {Result("interrupted", "interrupted while writing, after 96 of 6016 bytes"), "exit 130"}};
    EXPECT_EQ(run({"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1"}), 130);
    EXPECT_EQ(workers.interrupts, 1);
    EXPECT_NE(out.str().find("/dev/ttyUSB0  radio 2AAA0105  INTERRUPTED interrupted while writing, after 2944 of 6016 bytes"), std::string::npos)
        << out.str();
}

// A copy hears the run's stop line however the pipe cuts it, or the pipe's
// end when the run is gone; no other line stops it.
TEST(RunListener, StopsAtTheStopLineOrTheEndOfItsInput) {
    struct Case { std::vector<std::string> pieces; bool ended; bool stops; };
    const Case cases[] = {{{"st", "op\n"}, false, true}, {{"stop\r\n"}, false, true},
                          {{"stopped\n", "stop"}, false, false}, {{"progress\n"}, true, true}};
    for (const Case& c : cases) {
        RunListener run;
        bool stopped = false;
        for (size_t i = 0; i < c.pieces.size(); ++i) stopped = run.heard(c.pieces[i], c.ended && i + 1 == c.pieces.size());
        EXPECT_EQ(stopped, c.stops) << c.pieces[0];
    }
}

// The same through this system's own pipe, as a copy reads it.
TEST(RunListener, HearsTheRunThroughAPipe) {
    for (bool runGone : {false, true}) {
        StdinPipe run;
        RunListener copy;
        EXPECT_FALSE(copy.stopAsked());
        if (runGone) run.close();
        else run.write("progress\nstop\n");
        EXPECT_TRUE(copy.stopAsked()) << runGone;
    }
}

TEST_F(FleetTest, RepeatWorksInRounds) {
    const std::string file = setup();
    workers.scripts = {{Result("done"), "exit 0"}, {Result("done"), "exit 0"}, {Result("done"), "exit 0"}};
    EXPECT_EQ(run({"write", file, "--device", "/dev/A", "--device", "/dev/B", "--repeat"}, "\nq\n"), 1);
    EXPECT_EQ(workers.started.size(), 4u);
    EXPECT_NE(out.str().find("round 1: 2 of 2 radios written in "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("round 2: 1 of 2 radios written in "), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("Connect the next radios and press Enter (q to stop): "), std::string::npos);
}

// A device named by a relative path is in the current folder.
TEST_F(FleetTest, ReadingSeveralRadiosNeedsAFolder) {
    const std::string notAFolder = setup();
    EXPECT_EQ(run({"read", "--device", "A", "--device", "B", "-o", notAFolder}), 3);
    EXPECT_TRUE(workers.started.empty());
    workers.scripts = {{Result("done", "/tmp/r/radio-2AAA0105-20261206-235512-A.vkt", 7.6), "exit 0"}, {Result("done", "/tmp/r/b.vkt"), "exit 0"}};
    const std::string folder = (temp.path() / "radios").string();
    const std::string a = (std::filesystem::current_path() / "A").string();
    EXPECT_EQ(run({"read", "--device", "A", "--device", "./B", "-o", folder}), 0);
    EXPECT_EQ(workers.started[0], (std::vector<std::string>{"read", "-o", folder, "--device", a, "--worker"}));
    EXPECT_EQ(workers.started[1][4], (std::filesystem::current_path() / "B").string());
    EXPECT_NE(out.str().find(a + "  radio 2AAA0105  read into /tmp/r/radio-2AAA0105-20261206-235512-A.vkt  7.6 s"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("2 of 2 radios read in "), std::string::npos);
}

// One radio named twice (a port twice, a device and a link to it) would be
// written by two copies at once; verify takes one radio.
TEST_F(FleetTest, OneRadioTwiceOrVerifyOnSeveralIsAUsageError) {
    const std::string file = setup();
    const std::string link = (temp.path() / "cable").string();
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"write", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB0"}, "the same radio is given twice: /dev/ttyUSB0 and /dev/ttyUSB0"},
        {{"read", "-o", temp.path().string(), "--port", "2", "--port", "2"}, "the same radio is given twice: Comm Port 2 and Comm Port 2"},
        {{"verify", file, "--device", "/dev/ttyUSB0", "--device", "/dev/ttyUSB1"}, "verify takes one cable"},
    };
    if (vkttest::CanLink(temp.path().string())) {
        std::filesystem::create_symlink("/dev/null", link);
        cases.push_back({{"write", file, "--port", "2", "--device", "/dev/null", "--device", link},
                         "the same radio is given twice: /dev/null and " + link});
    }
    for (const auto& [args, problem] : cases) {
        EXPECT_EQ(run(args), 2) << problem;
        EXPECT_EQ(err.str().rfind("vkt: " + problem, 0), 0u) << err.str();
    }
    EXPECT_TRUE(workers.started.empty());
}

// A field is quoted when it holds a comma, a quote or a line end.
TEST(RunLog, FieldsThatNeedItAreQuoted) {
    LogRow row;
    row.cable = "a,b";
    row.radio = "say \"hi\"";
    row.setup = "two\nlines";
    EXPECT_EQ(LogLine(row), ",\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,,,no,0.0,,,");
}

// Copies of vkt append to one log at once: each row lands whole, and the
// header once, on every system.
TEST(RunLog, RowsAppendedAtOnceStayWhole) {
    TempFolder temp{"vkt-log-"};
    const std::string log = (temp.path() / "log.csv").string();
    constexpr int Copies = 4, Rows = 100;
    std::vector<std::thread> copies;
    for (int copy = 0; copy < Copies; ++copy)
        copies.emplace_back([&, copy] {
            LogRow row;
            row.cable = "Comm Port " + std::to_string(copy);
            row.reason = std::string(200, static_cast<char>('a' + copy));
            std::string why;
            for (int i = 0; i < Rows; ++i) EXPECT_TRUE(AppendLogRow(log, row, why)) << why;
        });
    for (auto& copy : copies) copy.join();
    std::ifstream in(log, std::ios::binary);
    std::map<std::string, int> lines;
    for (std::string line; std::getline(in, line);) ++lines[line];
    LogRow row;
    std::map<std::string, int> expected{{LogHeader, 1}};
    for (int copy = 0; copy < Copies; ++copy) {
        row.cable = "Comm Port " + std::to_string(copy);
        row.reason = std::string(200, static_cast<char>('a' + copy));
        expected[LogLine(row)] = Rows;
    }
    EXPECT_EQ(lines, expected);
}

// A cable's part of a file name, from its device on Linux or on Windows.
TEST(RunLog, CableTagsNameTheDeviceAlone) {
    const std::pair<const char*, const char*> tags[] = {{"/dev/ttyUSB2", "ttyUSB2"},
                                                        {"\\\\.\\COM10", "COM10"},
                                                        {"Comm Port 2", "CommPort2"},
                                                        {"/dev/serial/by-id/usb-FTDI", "serial_by-id_usb-FTDI"}};
    for (const auto& [cable, tag] : tags) EXPECT_EQ(CableTag(cable), tag) << cable;
}
