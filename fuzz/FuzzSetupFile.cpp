// A setup file of arbitrary bytes: opened, every group and the unit-wide
// page decoded into their controls, and the report printed.

#include <cstddef>
#include <cstdint>

#include "core/GlobalsControls.h"
#include "core/GroupControls.h"
#include "core/MemoryImage.h"
#include "core/clsGlobals.h"
#include "core/clsGroup.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VKTCore::MemoryImage.fill(0);
    for (size_t i = 0; i < size && i < VKTCore::MemoryImage.size(); ++i) VKTCore::MemoryImage[i] = data[i];
    vkt::GroupControls controls;
    VKTCore::clsGroup group(controls);
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        group.Read_Group(g);
        group.Write_Group(g);
    }
    vkt::GlobalsControls globalsControls;
    VKTCore::clsGlobals globals(globalsControls);
    globals.Read_Globals();
    globals.Write_Globals();
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, "fuzz.vkt");
    (void)printer.lastDocument().text();
    return 0;
}
