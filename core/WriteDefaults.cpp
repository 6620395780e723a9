#include "core/WriteDefaults.h"

#include <string>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/Text.h"

namespace WriteDefaults {

using namespace VKTCore;


void WriteGlobalDefaults() {
    MemoryImage[5] = 0x0F;
    MemoryImage[7] = 0xF8;
    for (int i = 1; i <= 15; ++i) MemoryImage[static_cast<size_t>(128 + i)] = static_cast<uint8_t>(i * 16 + 15);
    MemoryImage[148] |= 0xFF;
    MemoryImage[149] |= 0xFF;
    MemoryImage[152] = 0xFA;
    MemoryImage[153] = 0x80;
}

void WriteGroupDefaults(int intGroup) {
    for (int c = 0; c < ChannelCount; ++c) WriteChannelDefaults(intGroup, c);
}

void WriteChannelDefaults(int intGroup, int intChan) {
    const PageOffset label = GroupBlockByte(intGroup, 51);
    PutImageLabel(label.page * 256 + label.offset, EncodeLabel("GROUP" + std::to_string(intGroup + 1)));

    const int slot = ChannelSlotAddress(intGroup, intChan);
    const std::string rx = vkt::NumberText(162.4 + (intChan % 4) * 0.05);
    PutImageWord(slot + 0, FreqTextToSteps(rx).value_or(0));
    PutImageWord(slot + 2, CGTextToCode("0").value_or(0));
    PutImageWord(slot + 4, FreqTextToSteps("000.00").value_or(0));
    PutImageWord(slot + 6, CGTextToCode("0").value_or(0));
    PutImageLabel(LabelSlotAddress(intGroup, intChan), EncodeLabel("Ch " + std::to_string(intChan + 1)));
}

void WriteAllDefaults() {
    WriteGlobalDefaults();
    for (int g = 0; g < GroupCount; ++g) WriteGroupDefaults(g);
}

} // namespace WriteDefaults
