// SPDX-License-Identifier: GPL-3.0-or-later
// What a POSIX system tells about a serial device: its owner group and mode,
// and the lock file the serial programs keep while they hold it.
#include "qt/SerialDevices.h"

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace vktqt {

std::string PermissionAdvice(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return "Your user may not use " + device + ".";
    const group* g = ::getgrgid(st.st_gid);
    const std::string groupName = g ? g->gr_name : std::to_string(st.st_gid);
    std::string mode = S_ISCHR(st.st_mode) ? "c" : "-";
    const char* rwx = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) mode += (st.st_mode & (0400 >> i)) ? rwx[i] : '-';
    return device + " belongs to group " + groupName + " (" + mode + "); join that group (sudo usermod -aG " + groupName +
           " $USER) and log in again, or install the udev rule that comes with the program.";
}

// The lock is named as QSerialPort and the classic serial programs name it
// ("LCK..ttyUSB0", "LCK..pts_3") and holds the process id, then, from
// QSerialPort, the program's name.
std::string LockHolder(const std::string& device) {
    std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
    for (char& ch : name)
        if (ch == '/') ch = '_';
    for (const char* dir : {"/run/lock", "/var/lock", "/var/lock/lockdev", "/var/spool/locks", "/tmp"}) {
        std::ifstream lock(std::string(dir) + "/LCK.." + name);
        std::string pidLine, program;
        if (!lock || !std::getline(lock, pidLine)) continue;
        std::getline(lock, program);
        const long long pid = std::strtoll(pidLine.c_str(), nullptr, 10);
        if (pid <= 0) continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) continue;  // a stale lock
        return "process " + std::to_string(pid) + (program.empty() ? "" : ", " + program);
    }
    return "";
}

} // namespace vktqt
