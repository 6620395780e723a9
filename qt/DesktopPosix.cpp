// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/Desktop.h"

#include <QStandardPaths>

namespace vktqt {

bool HasDisplay() {
    return !qgetenv("QT_QPA_PLATFORM").isEmpty() || !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

// The desktops' own tools, the most thorough first.
QString SystemInformationTool() {
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"})
        if (const QString tool = QStandardPaths::findExecutable(name); !tool.isEmpty()) return tool;
    return {};
}

} // namespace vktqt
