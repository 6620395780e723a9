// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/SerialDevices.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

#include "platform/SerialPort.h"

namespace vktqt {

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
