#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

#include "cli/ChannelCsv.h"
#include "cli/Commands.h"
#include "link/SetupComparison.h"
#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "sim/SimSerialPort.h"
#include "tests/support/ScriptedPlatform.h"

using namespace vktcli;

namespace {

class VktTest : public ::testing::Test {
protected:
    VktTest() {
        std::random_device rd;
        folder = std::filesystem::temp_directory_path() / ("vkt-cli-" + std::to_string(rd()));
        std::filesystem::create_directories(folder);
        platform.setSerialPort(port);
        platform.otherwise = vkt::Answer::Cancel;  // not on a terminal
        port.radio().eeprom = vktsim::RadioModel::FactorySetup();
    }
    ~VktTest() override {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    int run(std::vector<std::string> args, const std::string& input = "") {
        out.str("");
        err.str("");
        std::istringstream in(input);
        Console c{platform, in, out, err, [](int, const std::string&) {}, [](const std::string&, const std::string&) { return true; },
                  false, onTerminal, interrupted};
        return RunVkt(args, c);
    }
    void expectReleased() {
        clock.advance(0.5);
        EXPECT_FALSE(port.radio().hooked());
        EXPECT_FALSE(port.isOpen());
    }
    std::string path(const char* name) { return (folder / name).string(); }
    std::string bytes(const char* name) {
        std::ifstream f(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder;
    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    bool onTerminal = false;
    std::function<bool()> interrupted;
    std::ostringstream out, err;
};

} // namespace

TEST_F(VktTest, ReadThenVerifyIsCleanAndAChangeIsNamed) {
    ASSERT_EQ(run({"read", "--port", "1", "-o", path("radio.vkt")}), 0) << err.str();
    EXPECT_EQ(bytes("radio.vkt").size(), 6019u);
    EXPECT_EQ(bytes("radio.vkt").substr(6016), std::string(3, '\0'));
    EXPECT_EQ(run({"verify", path("radio.vkt").c_str(), "--device", "/dev/pts/9"}), 0) << err.str();
    EXPECT_NE(out.str().find("matches"), std::string::npos);

    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(2, 4) + 1)] = 0x28;  // Group 3 Ch 5: 162.45
    EXPECT_EQ(run({"verify", path("radio.vkt"), "--port", "1"}), 1);
    EXPECT_EQ(out.str(), "Group 3 Ch 5 Rec Freq: radio 162.45000, file 162.40000\n");
    // The calibration values are never written, so they are never compared.
    port.radio().eeprom[11] = 17;
    port.radio().eeprom[static_cast<size_t>(VKTCore::ChannelSlotAddress(2, 4) + 1)] = 0x00;
    EXPECT_EQ(run({"verify", path("radio.vkt"), "--port", "1"}), 0);
}

TEST_F(VktTest, WriteRepeatsRadioAfterRadio) {
    ASSERT_EQ(run({"defaults", "-o", path("fleet.vkt")}), 0);
    EXPECT_EQ(run({"write", path("fleet.vkt"), "--port", "2", "--repeat"}, "\n\nq\n"), 0) << err.str();
    EXPECT_NE(out.str().find("radio 1 (2AAA0105): written (1 so far)"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("radio 3 (2AAA0105): written (3 so far)"), std::string::npos);
    EXPECT_NE(out.str().find("3 radios written"), std::string::npos);
    VKTCore::Image radio{};
    std::copy(port.radio().eeprom.begin(), port.radio().eeprom.end(), radio.begin());
    VKTCore::Image file{};
    const std::string f = bytes("fleet.vkt");
    std::copy(f.begin(), f.end(), file.begin());
    EXPECT_TRUE(VKTCom::CompareSetups(radio, file).empty());
}

TEST_F(VktTest, NonInteractiveFailureEndsWithOneAndTheRadioReleased) {
    ASSERT_EQ(run({"defaults", "-o", path("x.vkt")}), 0);
    port.radio().faults.silentFromBlock = 30;
    EXPECT_EQ(run({"write", path("x.vkt"), "--port", "1", "--no-retry"}), 1);
    EXPECT_EQ(out.str(), "radio 1 (2AAA0105): FAILED: block 30: no acknowledgement after 0.5 s\n");
    clock.advance(0.5);
    EXPECT_FALSE(port.radio().hooked());
    EXPECT_FALSE(port.isOpen());
    port.radio().faults.silent = true;
    EXPECT_EQ(run({"read", "--port", "1", "-o", path("y.vkt")}), 1);
    EXPECT_NE(err.str().find("reading the radio failed: hook: no answer after 0.5 s"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(path("y.vkt")));
}

TEST_F(VktTest, UsageAndFileErrors) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(run({"read", "-o", path("r.vkt")}), 2);  // no port
    EXPECT_EQ(run({"write", path("r.vkt"), "--port", "9"}), 2);
    EXPECT_EQ(run({"diff", path("none.vkt"), path("none2.vkt")}), 3);
    EXPECT_NE(err.str().find("none.vkt"), std::string::npos);
    EXPECT_EQ(run({"--help"}), 0);
}

TEST_F(VktTest, DiffAndReport) {
    ASSERT_EQ(run({"defaults", "-o", path("a.vkt")}), 0);
    EXPECT_EQ(run({"diff", path("a.vkt"), path("a.vkt")}), 0);
    EXPECT_EQ(out.str(), "");
    std::string b = bytes("a.vkt");
    b[VKTCore::GroupBase(0) + 38] = '\x12';
    b[155] = '\x20';
    std::ofstream(path("b.vkt"), std::ios::binary) << b;
    EXPECT_EQ(run({"diff", path("a.vkt"), path("b.vkt")}), 1);
    EXPECT_NE(out.str().find("Talk Back Scan: " + path("a.vkt") + " 0, " + path("b.vkt") + " 1\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Group 1 Password: " + path("a.vkt") + " 000000, " + path("b.vkt") + " 120000\n"), std::string::npos);
    EXPECT_EQ(run({"report", path("b.vkt")}), 0);
    EXPECT_NE(out.str().find("Unit Password = 120000"), std::string::npos);
}

TEST_F(VktTest, CsvRoundTripsAndRefusesABadRow) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    ASSERT_EQ(run({"export", path("s.vkt"), "--csv", path("s.csv")}), 0);
    ASSERT_EQ(run({"import", path("s.vkt"), "--csv", path("s.csv"), "-o", path("t.vkt")}), 0) << err.str();
    EXPECT_EQ(bytes("s.vkt"), bytes("t.vkt"));

    // An edited image, all field kinds, exported and imported over the factory setup.
    VKTCore::Image edited{};
    const std::string s = bytes("s.vkt");
    std::copy(s.begin(), s.end(), edited.begin());
    const int slot = VKTCore::ChannelSlotAddress(9, 11);
    edited[static_cast<size_t>(slot + 2)] = 0xC8;
    edited[static_cast<size_t>(slot + 3)] = 0x13;
    edited[static_cast<size_t>(slot + 4)] = 0xC3;
    edited[static_cast<size_t>(slot + 5)] = 0x10;
    edited[static_cast<size_t>(VKTCore::GroupBase(9) + 36)] = 0x08;
    VKTCore::Image back{};
    std::copy(s.begin(), s.end(), back.begin());
    std::string why;
    ASSERT_TRUE(ImportCsv(ExportCsv(edited), back, why)) << why;
    EXPECT_EQ(back, edited);

    std::string csv = ExportCsv(edited);
    std::istringstream lines(csv);
    std::string rebuilt, line;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n == 7) line = "1,7,154.5126,000.00,000.0,000.0,\"    Ch 7\",0,0,0";
        rebuilt += line + "\n";
    }
    std::ofstream(path("bad.csv")) << rebuilt;
    EXPECT_EQ(run({"import", path("s.vkt"), "--csv", path("bad.csv"), "-o", path("u.vkt")}), 3);
    EXPECT_NE(err.str().find("row 7: frequency 154.5126 is not on a 2.5 or 6.25 kHz channel step"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(path("u.vkt")));
    const std::pair<const char*, const char*> rows[] = {{"1,1,180,0,000.0,000.0,\"X\",0,0,0", "outside 136"},
                                                        {"1,1,0,0,D02,000.0,\"X\",0,0,0", "channel guard \"D02\""},
                                                        {"1,1,0,0,000.0,000.0,\"A&B\",0,0,0", "label \"A&B\""},
                                                        {"16,1,0,0,000.0,000.0,\"X\",0,0,0", "group \"16\""},
                                                        {"1,1,0,0,000.0,000.0,\"X\",2,0,0", "flag \"2\""}};
    for (const auto& [row, reason] : rows) {
        VKTCore::Image im{};
        EXPECT_FALSE(ImportCsv(std::string(CsvHeader) + "\n" + row + "\n", im, why));
        EXPECT_NE(why.find(reason), std::string::npos) << why;
        EXPECT_EQ(why.rfind("row 1: ", 0), 0u);
    }
}

// What a write says it did, the radio holds: a block the radio acknowledged
// but never stored is found by reading the radio back.
TEST_F(VktTest, WriteVerifyReadsTheRadioBack) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    port.radio().eeprom.fill(0xFF);
    port.radio().faults.forgetBlockWrite = 40;  // group 3, the labels of channels 1 ... 4
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--verify"}), 1);
    EXPECT_EQ(out.str(), "radio 1 (2AAA0105): written but NOT verified: Group 3 Ch 1 Label: radio \"\", setup \"    Ch 1\" (and 3 more)\n");
    expectReleased();

    port.radio().faults.forgetBlockWrite = -1;
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--verify"}), 0) << err.str();
    EXPECT_EQ(out.str(), "radio 1 (2AAA0105): written and verified (1 so far)\n");
    expectReleased();
}

TEST_F(VktTest, WithoutTheUnitWideSettingsVerifyLeavesThemAlone) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    port.radio().eeprom[155] = 0x80;  // the radio's own display setting, not written
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--verify", "--no-globals"}), 0) << out.str();
    EXPECT_EQ(port.radio().eeprom[155], 0x80);
}

// Nobody is there to press Cancel: a radio that refuses a byte for two
// seconds ends the write, which says so and lets the radio go.
TEST_F(VktTest, EndlessRefusalsEndTheWrite) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    port.radio().faults.refuseWrites = true;
    const double start = clock.now();
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1", "--yes"}), 1);
    EXPECT_LT(clock.now() - start, 5.0);
    EXPECT_EQ(out.str(), "radio 1 (2AAA0105): FAILED: masked write 0x0006: refused for 2 s\n");
    expectReleased();
}

// The first interrupt is the progress window's Cancel: the transfer ends at
// the next block, the radio is released and the run says how far it got.
TEST_F(VktTest, AnInterruptReleasesTheRadioAndEndsWith130) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    interrupted = [this] { return port.radio().received.size() > 2000; };
    EXPECT_EQ(run({"write", path("s.vkt"), "--port", "1"}), 130);
    EXPECT_EQ(out.str(), "radio 1 (2AAA0105): INTERRUPTED\n");
    EXPECT_NE(err.str().find("interrupted while writing, after "), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(" of 6016 bytes; the radio was released"), std::string::npos) << err.str();
    expectReleased();

    interrupted = [this] { return port.radio().received.size() > 300; };
    EXPECT_EQ(run({"read", "--port", "1", "-o", path("r.vkt")}), 130);
    EXPECT_NE(err.str().find("interrupted while reading"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(path("r.vkt")));
    expectReleased();
}

// On a terminal the bar moves a percent at a time and ends full; elsewhere
// there is none.
TEST_F(VktTest, TheProgressBarIsForTerminalsAndEndsAtAHundred) {
    ASSERT_EQ(run({"read", "--port", "1", "-o", path("r.vkt")}), 0);
    EXPECT_EQ(err.str().find('['), std::string::npos) << err.str();
    onTerminal = true;
    ASSERT_EQ(run({"read", "--port", "1", "-o", path("r.vkt")}), 0);
    const std::string bar = err.str();
    std::vector<int> shown;
    for (size_t at = bar.find("] "); at != std::string::npos; at = bar.find("] ", at + 1)) shown.push_back(std::stoi(bar.substr(at + 2)));
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(std::adjacent_find(shown.begin(), shown.end()), shown.end()) << "a percentage drawn twice";
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(bar.back(), '\n');
}

// A copy serving one cable of a fleet run says how far it is and how it
// ended, a line at a time, for the run that started it.
TEST_F(VktTest, AFleetCopyReportsInLines) {
    ASSERT_EQ(run({"defaults", "-o", path("s.vkt")}), 0);
    EXPECT_EQ(run({"write", path("s.vkt"), "--device", "/dev/ttyUSB0", "--verify", "--worker"}), 0);
    std::istringstream lines(out.str());
    std::vector<std::string> said;
    for (std::string line; std::getline(lines, line);) said.push_back(line);
    ASSERT_GE(said.size(), 3u);
    EXPECT_EQ(said.front(), "progress\twriting\t0");
    EXPECT_NE(std::find(said.begin(), said.end(), "progress\twriting\t100"), said.end());
    EXPECT_NE(std::find(said.begin(), said.end(), "progress\tverifying\t100"), said.end());
    EXPECT_EQ(said.back().rfind("result\tdone\t2AAA0105\t", 0), 0u) << said.back();

    // A read goes into the run's folder, named as the backups are.
    std::filesystem::create_directories(path("radios"));
    EXPECT_EQ(run({"read", "--device", "/dev/ttyUSB0", "-o", path("radios"), "--worker"}), 0);
    const std::string result = out.str().substr(out.str().rfind("result\t"));
    const std::string file = result.substr(result.rfind('\t') + 1, result.size() - result.rfind('\t') - 2);
    EXPECT_EQ(std::filesystem::path(file).parent_path(), path("radios"));
    EXPECT_NE(file.find("radio-2AAA0105-"), std::string::npos) << file;
    EXPECT_NE(file.find("-ttyUSB0.vkt"), std::string::npos) << file;
    std::ifstream saved(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 6019u);
    EXPECT_TRUE(std::equal(port.radio().eeprom.begin(), port.radio().eeprom.end(), bytes.begin(),
                           [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); }));
}
