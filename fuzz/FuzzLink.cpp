// SPDX-License-Identifier: GPL-3.0-or-later
// The link against a radio that answers arbitrary bytes: every transfer must
// end, and end with the radio released.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/MemoryImage.h"
#include "fuzz/QuietPlatform.h"
#include "link/Transfers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietPlatform platform;
    vkt::Window main("main");
    VKTCom::frmProc proc(platform, main);
    VKTCom::RadioLink link(platform);
    VKTCom::Transfers transfers(link, proc);
    link.InitLinkParameters();
    platform.port.answers.assign(data, data + size);
    const int which = size > 0 ? data[0] % 6 : 0;
    switch (which) {
    case 0: transfers.ReadAllMemory(); break;
    case 1: transfers.ReadGlobalMemory(); break;
    case 2: transfers.ReadGroupMemory(1 + (size > 1 ? data[1] % 15 : 0)); break;
    case 3: transfers.WriteAllMemory(size > 1 && data[1] & 1); break;
    case 4: transfers.WriteGlobalMemory(); break;
    default: transfers.WriteGroupMemory(1 + (size > 1 ? data[1] % 15 : 0)); break;
    }
    // Never left in programming mode, nor with the progress window up.
    if (link.RadioHooked || proc.Loaded() || !main.Enabled()) std::abort();
    return 0;
}
