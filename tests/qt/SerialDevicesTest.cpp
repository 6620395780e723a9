#include <gtest/gtest.h>

#include "qt/SerialDevices.h"

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
    EXPECT_EQ(OpenFailureText(1, "/dev/ttyUSB0", "Permission denied", false),
              "Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied.");
    const std::string denied = OpenFailureText(2, "/dev/ttyUSB1", "Permission denied", true);
    EXPECT_NE(denied.find("dialout"), std::string::npos);
    const std::string none = OpenFailureText(3, "", "", false);
    EXPECT_NE(none.find("Comm Port 3 has no serial device"), std::string::npos);
    EXPECT_NE(none.find("Device3"), std::string::npos);
}
