#pragma once
// Which serial device each of the Comm Ports 1 ... 4 stands for. On Windows
// they are COM1 ... COM4; elsewhere a per-port setting ("Comm"/"Device1" ...),
// whose default is the machine's serial ports in order, USB adapters first.

#include <string>
#include <vector>

namespace vktqt {

struct PortInfo {
    std::string systemLocation;  // "/dev/ttyUSB0"
    std::string description;     // "FT232R USB UART"
    bool usb = false;
};

// The ports in the order they are offered: USB adapters first.
std::vector<PortInfo> UsbFirst(std::vector<PortInfo> ports);
// The default device of each port, index n - 1.
std::vector<std::string> DefaultDevices(const std::vector<PortInfo>& ports);
// The device of port n: the stored setting when there is one, else its default.
std::string DeviceForPort(int n, const std::string& stored, const std::vector<PortInfo>& ports, bool windows);
// The settings key of port n's device.
std::string DeviceKey(int n);

// What a Comm Port stands for: "/dev/ttyUSB0 — FT232R USB UART", or "not present".
std::string PortStatusText(const std::string& device, const std::vector<PortInfo>& ports);
// The ports in after that were not in before: the cable just plugged in.
std::vector<PortInfo> AppearedPorts(const std::vector<PortInfo>& before, const std::vector<PortInfo>& after);
// Who may use a device: its group and mode, and the group to join.
std::string PermissionAdvice(const std::string& device);

// What the emulated radio's port says when the emulator could not be started.
inline constexpr const char* EmulatorNotRunning = "the built-in radio emulator is not running: it could not be started";

enum class OpenProblem { Other, PermissionDenied, InUse };
// Why a port would not open, in words a technician can act on; holder: who
// has it open, where the system tells ("process 4242, minicom").
std::string OpenFailureText(int port, const std::string& device, const std::string& reason, OpenProblem problem,
                            const std::string& holder = "");

} // namespace vktqt
