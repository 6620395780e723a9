#include "qt/SerialDevices.h"

#include <algorithm>

namespace vktqt {

std::vector<std::string> DefaultDevices(std::vector<PortInfo> ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) { return a.usb && !b.usb; });
    std::vector<std::string> out;
    for (const PortInfo& p : ports) out.push_back(p.systemLocation);
    return out;
}

std::string DeviceForPort(int n, const std::string& stored, const std::vector<PortInfo>& ports, bool windows) {
    if (windows) return "COM" + std::to_string(n);
    if (!stored.empty()) return stored;
    const auto defaults = DefaultDevices(ports);
    return n >= 1 && static_cast<size_t>(n) <= defaults.size() ? defaults[static_cast<size_t>(n - 1)] : "";
}

std::string DeviceKey(int n) { return "Device" + std::to_string(n); }

std::string OpenFailureText(int port, const std::string& device, const std::string& reason, bool permissionDenied) {
    const std::string name = "Comm Port " + std::to_string(port);
    if (device.empty())
        return name + " has no serial device: none was found on this computer. Plug in the programming cable, "
                      "or set " + DeviceKey(port) + " in the \"Comm\" settings.";
    std::string text = name + " (" + device + ") cannot be opened: " + reason + ".";
    if (permissionDenied)
        text += " Your user may not use this device; on Linux, join the group that owns it (usually dialout) "
                "and log in again.";
    return text;
}

} // namespace vktqt
