// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/System.h"

namespace vkt {

const SystemKind ThisSystem = SystemKind::Posix;
const char* const ProgramSuffix = "";

} // namespace vkt
