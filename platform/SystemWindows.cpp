// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/System.h"

namespace vkt {

const SystemKind ThisSystem = SystemKind::Windows;
const char* const ProgramSuffix = ".exe";

} // namespace vkt
