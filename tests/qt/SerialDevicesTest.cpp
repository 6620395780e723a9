// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/SerialPorts.h"
#include "qt/SerialDevices.h"

using namespace vkt;
using namespace vktqt;

TEST(SerialDevices, EachCommPortsDeviceOnEachSystem) {
    const std::vector<PortInfo> ports = {
        {"/dev/ttyS0", "16550A", false}, {"/dev/ttyUSB0", "FT232R USB UART", true},
        {"/dev/ttyS1", "16550A", false}, {"/dev/ttyACM0", "CDC", true}};
    EXPECT_EQ(DefaultDevices(ports), (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}));
    struct Case { int port; const char* stored; bool machineHasPorts; SystemKind system; const char* device; };
    const Case cases[] = {
        {1, "", true, SystemKind::Posix, "/dev/ttyUSB0"},  {4, "", true, SystemKind::Posix, "/dev/ttyS1"},
        {2, "/dev/pts/7", true, SystemKind::Posix, "/dev/pts/7"}, {3, "", false, SystemKind::Posix, ""},
        {3, "", true, SystemKind::Windows, "COM3"},  {3, "COM12", true, SystemKind::Windows, "COM12"},  // Find Cable's choice
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceForPort(c.port, c.stored, c.machineHasPorts ? ports : std::vector<PortInfo>{}, c.system), c.device)
            << c.port << " " << c.stored;
    EXPECT_EQ(DeviceKey(2), "Device2");
}

// A port another program holds is refused as busy on Linux, as "access
// denied" on Windows; either way it is in use, not forbidden.
TEST(SerialDevices, OpenFailureNamesTheDeviceAndTheReason) {
    struct Case { bool refused, busy; SystemKind system; OpenProblem problem; };
    const Case cases[] = {
        {true, false, SystemKind::Posix, OpenProblem::PermissionDenied}, {false, true, SystemKind::Posix, OpenProblem::InUse},
        {true, false, SystemKind::Windows, OpenProblem::InUse}, {false, false, SystemKind::Windows, OpenProblem::Other}};
    for (const Case& c : cases) EXPECT_EQ(ProblemOfOpenFailure(c.refused, c.busy, c.system), c.problem) << c.refused << c.busy;
    EXPECT_EQ(OpenFailureText(1, "/dev/ttyUSB0", "Permission denied", OpenProblem::Other),
              "Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied.");
    EXPECT_EQ(OpenFailureText(6, "COM6", "Access is denied.", OpenProblem::InUse),
              "Comm Port 6 (COM6) is in use by another program. Close that program, or choose the Comm Port of another cable.");
    const std::string denied = OpenFailureText(2, "/nonexistent/ttyUSB1", "Permission denied", OpenProblem::PermissionDenied);
    EXPECT_NE(denied.find("may not use /nonexistent/ttyUSB1"), std::string::npos) << denied;
    const std::string none = OpenFailureText(3, "", "", OpenProblem::Other);
    EXPECT_NE(none.find("Comm Port 3 has no serial device"), std::string::npos);
    EXPECT_NE(none.find("Comm Port Settings"), std::string::npos);
}

TEST(SerialDevices, StatusTextOfEachPortAndTheCableJustPluggedIn) {
    const std::vector<PortInfo> ports = {{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}};
    EXPECT_EQ(PortStatusText("/dev/ttyUSB0", ports), "/dev/ttyUSB0 \u2014 FT232R USB UART");
    EXPECT_EQ(PortStatusText("/dev/ttyS0", ports), "/dev/ttyS0 \u2014 serial port");
    EXPECT_EQ(PortStatusText("/dev/ttyUSB3", ports), "/dev/ttyUSB3 \u2014 not present");
    EXPECT_EQ(PortStatusText("", ports), "no device");
    const std::vector<PortInfo> after = {ports[0], {"/dev/ttyUSB1", "CP2102", true}, ports[1]};
    const auto appeared = AppearedPorts(ports, after);
    ASSERT_EQ(appeared.size(), 1u);
    EXPECT_EQ(appeared[0].systemLocation, "/dev/ttyUSB1");
    EXPECT_TRUE(AppearedPorts(after, ports).empty());
}

TEST(SerialDevices, PermissionAdviceNamesTheGroupAndMode) {
    const auto path = std::filesystem::temp_directory_path() / ("vkt-perm-" + std::to_string(::getpid()));
    std::ofstream(path) << "x";
    ::chmod(path.c_str(), 0000);
    const std::string advice = PermissionAdvice(path.string());
    EXPECT_NE(advice.find("(----------)"), std::string::npos) << advice;
    EXPECT_NE(advice.find("belongs to group "), std::string::npos);
    EXPECT_NE(advice.find("sudo usermod -aG "), std::string::npos);
    ::chmod(path.c_str(), 0660);
    EXPECT_NE(PermissionAdvice(path.string()).find("(-rw-rw----)"), std::string::npos);
    std::filesystem::remove(path);
}
