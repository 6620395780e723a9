// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/SerialDevices.h"

#include "platform/SerialPort.h"

namespace vktqt {

OpenProblem ProblemOfOpenFailure(bool accessRefused, bool busy, vkt::SystemKind system) {
    // Windows opens a serial port for one program at a time and refuses any
    // other with "access denied"; no user is kept from a port by its rights.
    if (busy || (accessRefused && system == vkt::SystemKind::Windows)) return OpenProblem::InUse;
    return accessRefused ? OpenProblem::PermissionDenied : OpenProblem::Other;
}

std::string OpenFailureText(int port, const std::string& device, const std::string& reason, OpenProblem problem,
                            const std::string& holder, bool given) {
    if (port == vkt::EmulatedPort && device.empty()) return std::string("The emulated radio cannot be used: ") + EmulatorNotRunning + ".";
    const std::string name = "Comm Port " + std::to_string(port);
    if (device.empty())
        return name + " has no serial device: none was found on this computer. Plug in the programming cable, "
                      "or choose the port's device in Comm-Port, Comm Port Settings.";
    const std::string which = given ? device : name + " (" + device + ")";
    if (problem == OpenProblem::InUse)
        return which + " is in use by another program" + (holder.empty() ? "" : " (" + holder + ")") + ". Close that program, or " +
               (given ? "give the device of another cable." : "choose the Comm Port of another cable.");
    std::string text = which + " cannot be opened: " + reason + ".";
    if (problem == OpenProblem::PermissionDenied) text += " " + PermissionAdvice(device);
    return text;
}

} // namespace vktqt
