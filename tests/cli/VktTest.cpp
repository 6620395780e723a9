#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/ChannelCsv.h"
#include "cli/Commands.h"
#include "cli/SetupFields.h"
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
        Console c{platform, in, out, err, [](int, const std::string&) {}, [](const std::string&, const std::string&, std::string&) { return true; }};
        return RunVkt(args, c);
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
    EXPECT_NE(out.str().find("radio 1: written (1 so far)"), std::string::npos);
    EXPECT_NE(out.str().find("radio 3: written (3 so far)"), std::string::npos);
    EXPECT_NE(out.str().find("3 radios written"), std::string::npos);
    VKTCore::Image radio{};
    std::copy(port.radio().eeprom.begin(), port.radio().eeprom.end(), radio.begin());
    VKTCore::Image file{};
    const std::string f = bytes("fleet.vkt");
    std::copy(f.begin(), f.end(), file.begin());
    EXPECT_TRUE(CompareSetups(radio, file).empty());
}

TEST_F(VktTest, NonInteractiveFailureEndsWithOneAndTheRadioReleased) {
    ASSERT_EQ(run({"defaults", "-o", path("x.vkt")}), 0);
    port.radio().faults.silentFromBlock = 30;
    EXPECT_EQ(run({"write", path("x.vkt"), "--port", "1", "--no-retry"}), 1);
    EXPECT_NE(out.str().find("radio 1: FAILED"), std::string::npos);
    EXPECT_NE(err.str().find("writing the radio failed: block 30: no acknowledgement after 0.5 s"), std::string::npos) << err.str();
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
