// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialPorts.h"

#include <algorithm>
#include <cctype>
#include <string_view>

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

namespace {

// "COM7" of any of its names; "" when it is no COM port's.
std::string ComPortOf(std::string_view device) {
    if (device.starts_with("\\\\.\\")) device.remove_prefix(4);
    if (device.size() < 4 || device[3] == '0') return "";
    std::string name;
    for (size_t i = 0; i < device.size(); ++i) {
        const auto c = static_cast<unsigned char>(device[i]);
        if (i < 3 ? std::toupper(c) != "COM"[i] : !std::isdigit(c)) return "";
        name += static_cast<char>(std::toupper(c));
    }
    return name;
}

} // namespace

bool IsComPortName(const std::string& device) { return !ComPortOf(device).empty(); }

bool SameDevice(const std::string& a, const std::string& b) { return a == b || (IsComPortName(a) && ComPortOf(a) == ComPortOf(b)); }

std::string PortStatusText(const std::string& device, const std::vector<PortInfo>& ports) {
    if (device.empty()) return "no device";
    for (const PortInfo& p : ports)
        if (SameDevice(p.systemLocation, device)) return device + " \u2014 " + (p.description.empty() ? "serial port" : p.description);
    return device + " \u2014 not present";
}

std::vector<PortInfo> AppearedPorts(const std::vector<PortInfo>& before, const std::vector<PortInfo>& after) {
    std::vector<PortInfo> out;
    for (const PortInfo& a : after)
        if (std::none_of(before.begin(), before.end(), [&](const PortInfo& b) { return SameDevice(b.systemLocation, a.systemLocation); }))
            out.push_back(a);
    return out;
}

std::string DeviceKey(int n) { return "Device" + std::to_string(n); }

} // namespace vkt
