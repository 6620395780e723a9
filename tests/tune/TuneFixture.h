// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tuning window on an emulated radio in virtual time.

#include "core/MemoryMap.h"
#include "core/Text.h"
#include "link/Protocol.h"
#include "tests/link/LinkFixture.h"
#include "tune/frmTune.h"

class TuneTest : public RadioOnClock {
protected:
    TuneTest() {
        link.InitLinkParameters();
        tune.Form_Load();
    }

    uint8_t ee(int address) { return radio().eeprom[static_cast<size_t>(address)]; }
    void expectOtherControlsUsable(bool usable) {
        EXPECT_EQ(tune.TabStrip1.Enabled(), usable);
        EXPECT_EQ(tune.cmdTuneQuit.Enabled(), usable);
        EXPECT_EQ(tune.cmdSetHighPower.Visible(), usable);
    }

    // The values of every byte write to a page-0 address, in order.
    std::vector<int> writtenTo(int address) {
        std::vector<int> values;
        for (size_t i = 0; i + 4 < port.sent.size(); ++i)
            if (port.sent[i].byte == VKTCom::Protocol::WriteByte && port.sent[i + 1].byte == 0 && port.sent[i + 2].byte == address)
                values.push_back(port.sent[i + 4].byte);
        return values;
    }
    int bursts() { return static_cast<int>(std::ranges::count(wire(), VKTCom::Protocol::SquelchReadings)); }

    // Everything the tuning window may change in the radio, in hexadecimal: the alignment values in
    // memory order, channel 1's slot, and the low power and narrow flag pairs of group 1.
    std::string calibration() {
        auto bytes = [this](int address, int count) {
            std::string text;
            for (int i = 0; i < count; ++i) text += (i ? " " : "") + vkt::Hex2(ee(address + i));
            return text;
        };
        std::string text = "alignment";
        for (const auto& f : VKTCore::Page0::Alignment) text += " " + bytes(f.offset, f.size);
        text += " | channel 1 " + bytes(VKTCore::ChannelSlotAddress(0, 0), VKTCom::ChannelSlotBytes);
        for (const auto& f : {VKTCore::GroupBlock::LowPower, VKTCore::GroupBlock::Narrow})
            text += " | " + std::string(f.name) + " " + bytes(VKTCore::GroupBase(0) + f.offset, f.size);
        return text;
    }

    VKTTune::frmTune tune{platform, link};
};
