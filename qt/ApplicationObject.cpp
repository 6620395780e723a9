// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/ApplicationObject.h"

#include <QApplication>

namespace vktqt {

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, Needs needs) {
    switch (needs) {
    case Needs::Nothing: return std::make_unique<QCoreApplication>(argc, argv);
    case Needs::Drawing:
        // A PDF is drawn, never shown: no display is asked for, whatever the session has.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    case Needs::Windows: break;
    }
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace vktqt
