// SPDX-License-Identifier: GPL-3.0-or-later
// A setup file of arbitrary bytes: opened, every group and the unit-wide
// page decoded into their controls, and the report printed.

#include <cstddef>
#include <cstdint>

#include "core/MemoryImage.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"
#include "tests/core/StoreEverything.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VKTCore::MemoryImage.fill(0);
    for (size_t i = 0; i < size && i < VKTCore::MemoryImage.size(); ++i) VKTCore::MemoryImage[i] = data[i];
    DecodeAndEncodeEverything();
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, "fuzz.vkt");
    (void)printer.lastDocument().text();
    return 0;
}
