#include "qt/SerialDevices.h"

#include <algorithm>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

#include "platform/SerialPort.h"

namespace vktqt {

std::vector<PortInfo> UsbFirst(std::vector<PortInfo> ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) { return a.usb && !b.usb; });
    return ports;
}

std::vector<std::string> DefaultDevices(const std::vector<PortInfo>& ports) {
    std::vector<std::string> out;
    for (const PortInfo& p : UsbFirst(ports)) out.push_back(p.systemLocation);
    return out;
}

std::string DeviceForPort(int n, const std::string& stored, const std::vector<PortInfo>& ports, bool windows) {
    if (windows) return "COM" + std::to_string(n);
    if (!stored.empty()) return stored;
    const auto defaults = DefaultDevices(ports);
    return n >= 1 && static_cast<size_t>(n) <= defaults.size() ? defaults[static_cast<size_t>(n - 1)] : "";
}

std::string PortStatusText(const std::string& device, const std::vector<PortInfo>& ports) {
    if (device.empty()) return "no device: not present";
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

std::string PermissionAdvice(const std::string& device) {
#ifdef _WIN32
    return "Another program may be using " + device + ".";
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return "Your user may not use " + device + ".";
    const group* g = ::getgrgid(st.st_gid);
    const std::string groupName = g ? g->gr_name : std::to_string(st.st_gid);
    std::string mode = S_ISCHR(st.st_mode) ? "c" : "-";
    const char* rwx = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) mode += (st.st_mode & (0400 >> i)) ? rwx[i] : '-';
    return device + " belongs to group " + groupName + " (" + mode + "); join that group (sudo usermod -aG " + groupName +
           " $USER) and log in again, or install the udev rule that comes with the program.";
#endif
}

std::string DeviceKey(int n) { return "Device" + std::to_string(n); }

std::string OpenFailureText(int port, const std::string& device, const std::string& reason, OpenProblem problem,
                            const std::string& holder) {
    if (port == vkt::EmulatedPort && device.empty()) return std::string("The emulated radio cannot be used: ") + EmulatorNotRunning + ".";
    const std::string name = "Comm Port " + std::to_string(port);
    if (device.empty())
        return name + " has no serial device: none was found on this computer. Plug in the programming cable, "
                      "or choose the port's device in Comm-Port, Comm Port Settings.";
    if (problem == OpenProblem::InUse)
        return name + " (" + device + ") is in use by another program" + (holder.empty() ? "" : " (" + holder + ")") +
               ". Close that program, or choose the Comm Port of another cable.";
    std::string text = name + " (" + device + ") cannot be opened: " + reason + ".";
    if (problem == OpenProblem::PermissionDenied) text += " " + PermissionAdvice(device);
    return text;
}

} // namespace vktqt
