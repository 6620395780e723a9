#pragma once
// The tuning window on an emulated radio in virtual time.

#include <gtest/gtest.h>

#include "sim/SimSerialPort.h"
#include "tests/support/ScriptedPlatform.h"
#include "tune/frmTune.h"

class TuneTest : public ::testing::Test {
protected:
    TuneTest() {
        platform.setSerialPort(port);
        link.InitLinkParameters();
        radio().eeprom = vktsim::RadioModel::FactorySetup();
        tune.Form_Load();
    }
    ~TuneTest() override { platform.expectNoMoreScript(); }

    vktsim::RadioModel& radio() { return port.radio(); }
    uint8_t ee(int address) { return radio().eeprom[static_cast<size_t>(address)]; }
    void released() {
        EXPECT_FALSE(link.RadioHooked);
        clock.advance(0.1);
        EXPECT_FALSE(radio().hooked());
    }

    vktsim::VirtualClock clock;
    vktsim::SimSerialPort port{clock};
    vkttest::ScriptedPlatform platform{clock};
    VKTCom::RadioLink link{platform};
    VKTTune::frmTune tune{platform, link};
};
