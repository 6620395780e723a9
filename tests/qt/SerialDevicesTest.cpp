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

TEST(SerialDevices, UsbAdaptersComeFirstInTheDefaults) {
    const std::vector<PortInfo> ports = {
        {"/dev/ttyS0", "16550A", false}, {"/dev/ttyUSB0", "FT232R USB UART", true},
        {"/dev/ttyS1", "16550A", false}, {"/dev/ttyACM0", "CDC", true}};
    EXPECT_EQ(DefaultDevices(ports), (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}));
    EXPECT_EQ(DeviceForPort(1, "", ports, false), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForPort(4, "", ports, false), "/dev/ttyS1");
    EXPECT_EQ(DeviceForPort(2, "/dev/pts/7", ports, false), "/dev/pts/7");
    EXPECT_EQ(DeviceForPort(3, "", {}, false), "");
    EXPECT_EQ(DeviceForPort(3, "", ports, true), "COM3");
    EXPECT_EQ(DeviceKey(2), "Device2");
}

TEST(SerialDevices, OpenFailureNamesTheDeviceAndTheReason) {
    EXPECT_EQ(OpenFailureText(1, "/dev/ttyUSB0", "Permission denied", OpenProblem::Other),
              "Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied.");
    const std::string denied = OpenFailureText(2, "/nonexistent/ttyUSB1", "Permission denied", OpenProblem::PermissionDenied);
    EXPECT_NE(denied.find("may not use /nonexistent/ttyUSB1"), std::string::npos) << denied;
    const std::string none = OpenFailureText(3, "", "", OpenProblem::Other);
    EXPECT_NE(none.find("Comm Port 3 has no serial device"), std::string::npos);
    EXPECT_NE(none.find("Comm Port Settings"), std::string::npos);
}

TEST(SerialDevices, StatusTextOfEachPort) {
    const std::vector<PortInfo> ports = {{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}};
    EXPECT_EQ(PortStatusText("/dev/ttyUSB0", ports), "/dev/ttyUSB0 \u2014 FT232R USB UART");
    EXPECT_EQ(PortStatusText("/dev/ttyS0", ports), "/dev/ttyS0 \u2014 serial port");
    EXPECT_EQ(PortStatusText("/dev/ttyUSB3", ports), "/dev/ttyUSB3 \u2014 not present");
    EXPECT_EQ(PortStatusText("", ports), "no device");
}

TEST(SerialDevices, TheReplugShowsWhichPortIsTheCable) {
    const std::vector<PortInfo> before = {{"/dev/ttyS0", "", false}, {"/dev/ttyUSB0", "GPS", true}};
    const std::vector<PortInfo> after = {{"/dev/ttyS0", "", false}, {"/dev/ttyUSB0", "GPS", true}, {"/dev/ttyUSB1", "CP2102", true}};
    const auto appeared = AppearedPorts(before, after);
    ASSERT_EQ(appeared.size(), 1u);
    EXPECT_EQ(appeared[0].systemLocation, "/dev/ttyUSB1");
    EXPECT_TRUE(AppearedPorts(after, before).empty());
    EXPECT_TRUE(AppearedPorts(after, after).empty());
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
