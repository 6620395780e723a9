// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A link on an emulated radio in virtual time, with the scripted platform.

#include <gtest/gtest.h>

#include <algorithm>

#include "core/MemoryImage.h"
#include "link/RadioLink.h"
#include "link/Transfers.h"
#include "link/frmProc.h"
#include "sim/SimSerialPort.h"
#include "tests/support/ScriptedPlatform.h"

struct RadioBench {
    RadioBench() {
        platform.setSerialPort(port);
        radio().eeprom = vktsim::RadioModel::FactorySetup();
    }
    ~RadioBench() { platform.expectNoMoreScript(); }

    vktsim::RadioModel& radio() { return port.radio(); }
    std::vector<uint8_t> wire() const {
        std::vector<uint8_t> out;
        for (const auto& s : port.sent) out.push_back(s.byte);
        return out;
    }
    // How many times the wake-up went out.
    int hooks() const {
        const auto w = wire();
        int n = 0;
        for (size_t i = 2; i < w.size(); ++i) n += w[i - 2] == 10 && w[i - 1] == 20 && w[i] == 40;
        return n;
    }
    void released() {
        EXPECT_FALSE(link.RadioHooked);
        EXPECT_FALSE(port.isOpen());
        clock.advance(0.1);
        EXPECT_FALSE(radio().hooked());
    }

    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    VKTCom::RadioLink link{platform};
};

struct LinkBench : RadioBench {
    LinkBench() {
        link.InitLinkParameters();
        VKTCore::MemoryImage.fill(0);
    }

    vkt::Window mainWindow{"main"};
    VKTCom::frmProc proc{platform, mainWindow};
    VKTCom::Transfers transfers{link, proc};
};

class RadioOnClock : public ::testing::Test, protected RadioBench {};
class LinkTest : public ::testing::Test, protected LinkBench {};

inline std::vector<uint8_t> HookBytes() {
    std::vector<uint8_t> b(10, 0);
    b.insert(b.end(), {10, 20, 40, 43, 0, 0, 0});  // the wake-up and the identity queries
    return b;
}
inline void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& more) { to.insert(to.end(), more.begin(), more.end()); }
