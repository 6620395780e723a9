// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's serial ports and which device each of the Comm Ports 1 ... 4
// stands for: a per-port setting ("Comm"/"Device1" ...), whose default is
// COM1 ... COM4 on Windows and elsewhere the machine's serial ports in
// order, USB adapters first. The windows that choose ports see the machine
// only through PortDirectory.

#include <string>
#include <vector>

#include "platform/System.h"

namespace vkt {

struct PortInfo {
    std::string systemLocation;  // "/dev/ttyUSB0"
    std::string description;     // "FT232R USB UART"
    bool usb = false;
};

// What the program knows of the machine's ports and of the technician's
// choice of device for each Comm Port.
class PortDirectory {
public:
    virtual ~PortDirectory() = default;
    // The machine's serial ports now.
    virtual std::vector<PortInfo> machinePorts() = 0;
    // The stored device of Comm Port n, "" when none.
    virtual std::string storedDevice(int n) = 0;
    // Comm Port n stands for this device from now on ("" for the default).
    virtual void assignDevice(int n, const std::string& device) = 0;
    // What Comm Port n stands for, in the words every port message uses.
    virtual std::string describePort(int n) = 0;
};

// The ports in the order they are offered: USB adapters first.
std::vector<PortInfo> UsbFirst(std::vector<PortInfo> ports);
// The default device of each port, index n - 1.
std::vector<std::string> DefaultDevices(const std::vector<PortInfo>& ports);
// The device of port n: the stored setting when there is one, else its
// default on that system.
std::string DeviceForPort(int n, const std::string& stored, const std::vector<PortInfo>& ports, SystemKind system);
// The settings key of port n's device.
std::string DeviceKey(int n);

// Whether the name is one Windows gives a serial port, "COM7" or "\\.\COM7"
// in any case: kept as typed, never taken for a file in the current folder.
bool IsComPortName(const std::string& device);
// Whether two names are of one device: "COM7" as the technician and the
// Comm Port default name it, "\\.\COM7" as Windows lists it.
bool SameDevice(const std::string& a, const std::string& b);

// What a Comm Port stands for: "/dev/ttyUSB0 — FT232R USB UART", or "not present".
std::string PortStatusText(const std::string& device, const std::vector<PortInfo>& ports);
// The ports in after that were not in before: the cable just plugged in.
std::vector<PortInfo> AppearedPorts(const std::vector<PortInfo>& before, const std::vector<PortInfo>& after);

} // namespace vkt
