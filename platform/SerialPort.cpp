// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialPort.h"

#include <cstdlib>

namespace vkt {

int BaudOfSettings(const std::string& settings) {
    return std::atoi(settings.c_str());
}

} // namespace vkt
