// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialPorts.h"

#include <algorithm>

namespace vkt {

std::vector<PortInfo> UsbFirst(std::vector<PortInfo> ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) { return a.usb && !b.usb; });
    return ports;
}

std::vector<std::string> DefaultDevices(const std::vector<PortInfo>& ports) {
    std::vector<std::string> out;
    for (const PortInfo& p : UsbFirst(ports)) out.push_back(p.systemLocation);
    return out;
}

std::string DeviceForPort(int n, const std::string& stored, const std::vector<PortInfo>& ports, SystemKind system) {
    // The technician's choice first, everywhere: Windows numbers a USB cable
    // COM5 or higher, which no Comm Port 1 ... 4 reaches by its own number.
    if (!stored.empty()) return stored;
    if (system == SystemKind::Windows) return "COM" + std::to_string(n);
    const auto defaults = DefaultDevices(ports);
    return n >= 1 && static_cast<size_t>(n) <= defaults.size() ? defaults[static_cast<size_t>(n - 1)] : "";
}

std::string PortStatusText(const std::string& device, const std::vector<PortInfo>& ports) {
    if (device.empty()) return "no device";
    for (const PortInfo& p : ports)
        if (p.systemLocation == device) return device + " \u2014 " + (p.description.empty() ? "serial port" : p.description);
    return device + " \u2014 not present";
}

std::vector<PortInfo> AppearedPorts(const std::vector<PortInfo>& before, const std::vector<PortInfo>& after) {
    std::vector<PortInfo> out;
    for (const PortInfo& a : after)
        if (std::none_of(before.begin(), before.end(), [&](const PortInfo& b) { return b.systemLocation == a.systemLocation; }))
            out.push_back(a);
    return out;
}

std::string DeviceKey(int n) { return "Device" + std::to_string(n); }

} // namespace vkt
