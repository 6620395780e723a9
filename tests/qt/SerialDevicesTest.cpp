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

// The Linux ports, USB first, and how each is shown are in the Comm Port
// Settings test; here what differs by system, and what Find Cable sees.
TEST(SerialDevices, EachCommPortsDeviceOnEachSystemAndTheCableJustPluggedIn) {
    const std::vector<PortInfo> ports = {{"/dev/ttyS0", "", false}, {"/dev/ttyUSB0", "FT232R USB UART", true}};
    struct Case { int port; const char* stored; SystemKind system; const char* device; };
    const Case cases[] = {{2, "/dev/pts/7", SystemKind::Posix, "/dev/pts/7"}, {3, "", SystemKind::Windows, "COM3"},
                          {3, "COM12", SystemKind::Windows, "COM12"}};  // Find Cable's choice
    for (const Case& c : cases) EXPECT_EQ(DeviceForPort(c.port, c.stored, ports, c.system), c.device) << c.port << " " << c.stored;
    EXPECT_EQ(DeviceKey(2), "Device2");
    const std::vector<PortInfo> after = {ports[0], {"/dev/ttyUSB1", "CP2102", true}, ports[1]};
    const auto appeared = AppearedPorts(ports, after);
    ASSERT_EQ(appeared.size(), 1u);
    EXPECT_EQ(appeared[0].systemLocation, "/dev/ttyUSB1");
    EXPECT_TRUE(AppearedPorts(after, ports).empty());

    // Windows lists as "\\.\COM7" the port a Comm Port and the technician call COM7.
    const std::vector<PortInfo> windows = {{"\\\\.\\COM7", "USB Serial Port", true}, {"\\\\.\\COM10", "", false}};
    const std::pair<const char*, const char*> shown[] = {{"COM7", "COM7 \u2014 USB Serial Port"}, {"com10", "com10 \u2014 serial port"},
        {"\\\\.\\COM7", "\\\\.\\COM7 \u2014 USB Serial Port"}, {"COM1", "COM1 \u2014 not present"}, {"COM70", "COM70 \u2014 not present"},
        {"COM010", "COM010 \u2014 not present"}, {"/dev/COM7", "/dev/COM7 \u2014 not present"}};
    for (const auto& [device, text] : shown) EXPECT_EQ(PortStatusText(device, windows), text);
    const auto plugged = AppearedPorts({{"COM7", "", true}}, windows);
    ASSERT_EQ(plugged.size(), 1u);
    EXPECT_EQ(plugged[0].systemLocation, "\\\\.\\COM10");
}

// A port another program holds is refused as busy on Linux, as "access
// denied" on Windows; either way it is in use, not forbidden.
TEST(SerialDevices, OpenFailureNamesTheDeviceAndTheReason) {
    struct Case { bool refused, busy; SystemKind system; OpenProblem problem; };
    const Case cases[] = {
        {true, false, SystemKind::Posix, OpenProblem::PermissionDenied}, {false, true, SystemKind::Posix, OpenProblem::InUse},
        {true, false, SystemKind::Windows, OpenProblem::InUse}, {false, false, SystemKind::Windows, OpenProblem::Other}};
    for (const Case& c : cases) EXPECT_EQ(ProblemOfOpenFailure(c.refused, c.busy, c.system), c.problem) << c.refused << c.busy;
    EXPECT_EQ(OpenFailureText(2, "COM7", "Access is denied.", OpenProblem::InUse),
              "Comm Port 2 (COM7) is in use by another program. Close that program, or choose the Comm Port of another cable.");
    const std::string denied = OpenFailureText(2, "/nonexistent/ttyUSB1", "Permission denied", OpenProblem::PermissionDenied);
    EXPECT_NE(denied.find("may not use /nonexistent/ttyUSB1"), std::string::npos) << denied;
    const std::string none = OpenFailureText(3, "", "", OpenProblem::Other);
    EXPECT_NE(none.find("Comm Port 3 has no serial device"), std::string::npos);
    EXPECT_NE(none.find("Comm Port Settings"), std::string::npos);
}

TEST(SerialDevices, PermissionAdviceNamesTheGroupAndMode) {
    const auto path = std::filesystem::temp_directory_path() / ("vkt-perm-" + std::to_string(::getpid()));
    std::ofstream(path) << "x";
    for (const auto& [mode, shown] : {std::pair{0000, "(----------); join"}, std::pair{0660, "(-rw-rw----); join"}}) {
        ::chmod(path.string().c_str(), static_cast<mode_t>(mode));
        const std::string denied = OpenFailureText(2, path.string(), "Permission denied", OpenProblem::PermissionDenied);
        EXPECT_NE(denied.find(" belongs to group "), std::string::npos) << denied;
        EXPECT_NE(denied.find(shown + std::string(" that group (sudo usermod -aG ")), std::string::npos) << denied;
    }
    std::filesystem::remove(path);
}
