// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>

#include "tests/tune/TuneFixture.h"

TEST_F(TuneTest, AccessorsHookFirstAndReleaseAsTheySay) {
    VKTCom::TuneAccess& a = tune.access();
    EXPECT_EQ(a.ReadHighPowerDAC(false), 200);
    EXPECT_TRUE(link.RadioHooked);
    EXPECT_EQ(a.ReadLowPowerDAC(true), 120);
    EXPECT_FALSE(link.RadioHooked);
    EXPECT_TRUE(a.WriteModulation(0x55));
    EXPECT_FALSE(link.RadioHooked);
    EXPECT_TRUE(a.WriteNarrowFlag(0, 9, "N"));
    EXPECT_EQ(ee(256 + 34), 0x02);
    EXPECT_TRUE(link.RadioHooked);  // flag accessors never release
    VKTCom::ChannelSettings data;
    EXPECT_TRUE(a.ReadChannelData(0, 9, data, true));
    EXPECT_EQ(data.Narrow, "N");
    EXPECT_FALSE(link.RadioHooked);
}

TEST_F(TuneTest, EveryAccessorOnARadioThatDiesAfterTheHook) {
    using A = VKTCom::TuneAccess;
    int hi = 0, lo = 0;
    const std::vector<std::pair<const char*, std::function<bool(A&)>>> accessors = {
        {"ReadHighPowerDAC", [](A& a) { return a.ReadHighPowerDAC(false) >= 0; }},
        {"WriteLowPowerDAC", [](A& a) { return a.WriteLowPowerDAC(1, true); }},
        {"ReadPullCorrection", [&](A& a) { return a.ReadPullCorrection(hi, lo); }},
        {"WriteCrystalCorrection", [](A& a) { return a.WriteCrystalCorrection(0, 0); }},
        {"ReadNarrowFlag", [](A& a) { return !a.ReadNarrowFlag(0, 0).empty(); }},
        {"WriteLowPowerFlag", [](A& a) { return a.WriteLowPowerFlag(0, 3, "L"); }},
        {"ReadChannelData", [&](A& a) { VKTCom::ChannelSettings out; return a.ReadChannelData(0, 0, out, true); }},
        {"WriteChannelData", [](A& a) { return a.WriteChannelData(0, 0, {}, true); }},
    };
    platform.otherwise = vkt::Answer::OK;
    for (const auto& [name, call] : accessors) {
        SCOPED_TRACE(name);
        platform.boxes.clear();
        radio().faults.disconnectAfterBytes = -1;
        radio().powerCycle();
        ASSERT_TRUE(link.HookRadio());
        radio().faults.disconnectAfterBytes = static_cast<int>(radio().received.size());
        const double start = clock.now();
        EXPECT_FALSE(call(tune.access()));
        ASSERT_EQ(platform.boxes.size(), 2u);
        EXPECT_NE(platform.boxes[0].text.find("A COMM ERROR occurred in sub routine"), std::string::npos);
        EXPECT_EQ(platform.boxes[1].text, VKTCom::RadioLink::HookErrorText);
        EXPECT_LT(clock.now() - start, 1.0);
        // Let go as far as the program can: the release byte sent, the port closed.
        EXPECT_FALSE(link.RadioHooked);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.sent.back().byte, 1);
    }
}
