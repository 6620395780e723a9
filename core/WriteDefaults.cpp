// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/WriteDefaults.h"

#include <string>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"

namespace WriteDefaults {

using namespace VKTCore;


void WriteGlobalDefaults() {
    auto put = [](const Field& f, int value) { WriteField(MemoryImage, 0, f, static_cast<uint64_t>(value)); };
    put(Page0::GroupsHeld, GroupCount);
    put(Page0::DTMFDeviation, 31);
    put(Page0::ANIRate, 0);
    put(Page0::FrontPorchTime, 0);
    // Position p + 1 on group p, channel 16; position 1 stays on group 1, channel 1.
    for (int p = 1; p < Page0::RotaryGroup.count; ++p) {
        put(Page0::RotaryGroup[p], p);
        put(Page0::RotaryChannel[p], ChannelCount - 1);
    }
    for (int p = 0; p < Page0::RotaryGroup.count; ++p) put(Page0::RotaryGroupKeypad[p], 1);
    put(Page0::LowPowerSwitch, 7);      // left toggle
    put(Page0::ChannelScanSwitch, 6);   // middle toggle
    put(Page0::PriorityScanSwitch, 5);  // right toggle
    put(Page0::TalkAroundSwitch, 0);    // keypad
    put(Page0::GroupScanSwitch, 0);     // keypad
}

void WriteGroupDefaults(int intGroup) {
    for (int c = 0; c < ChannelCount; ++c) WriteChannelDefaults(intGroup, c);
}

void WriteChannelDefaults(int intGroup, int intChan) {
    PutImageLabel(MemoryImage, GroupBase(intGroup) + GroupBlock::Label.offset, EncodeLabel("GROUP" + std::to_string(intGroup + 1)));

    const int slot = ChannelSlotAddress(intGroup, intChan);
    const std::string rx = vkt::NumberText(162.4 + (intChan % 4) * 0.05);
    WriteField(MemoryImage, slot, ChannelSlot::RxFreq, FreqTextToSteps(rx).value_or(0));
    WriteField(MemoryImage, slot, ChannelSlot::RxCG, CGTextToCode("0").value_or(0));
    WriteField(MemoryImage, slot, ChannelSlot::TxFreq, FreqTextToSteps("000.00").value_or(0));
    WriteField(MemoryImage, slot, ChannelSlot::TxCG, CGTextToCode("0").value_or(0));
    PutImageLabel(MemoryImage, LabelSlotAddress(intGroup, intChan) + LabelSlot::Label.offset, EncodeLabel("Ch " + std::to_string(intChan + 1)));
}

void WriteAllDefaults() {
    WriteGlobalDefaults();
    for (int g = 0; g < GroupCount; ++g) WriteGroupDefaults(g);
}

} // namespace WriteDefaults
