// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/Desktop.h"

#include <QFileInfo>
#include <QSettings>

namespace vktqt {

bool HasDisplay() { return true; }

// System Information (MSINFO32.EXE), where the registry says it is.
QString SystemInformationTool() {
    const QSettings msinfo("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", QSettings::NativeFormat);
    if (const QString tool = msinfo.value("PATH").toString(); !tool.isEmpty()) return tool;
    const QSettings location("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location", QSettings::NativeFormat);
    const QString folder = location.value("MSINFO").toString();
    if (!folder.isEmpty() && QFileInfo::exists(folder + "\\MSINFO32.EXE")) return folder + "\\MSINFO32.EXE";
    return {};
}

} // namespace vktqt
