// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>
#include <sstream>

#include "link/SerialTrace.h"
#include "tests/link/LinkFixture.h"

using vkt::Answer;
using VKTCom::RadioLink;

// A hook that fails asks Retry or Cancel: after four silent attempts (2 s), at once after a wrong
// answer. Retry starts four more on the open port; Cancel lets go of a radio that heard it late.
TEST_F(LinkTest, AFailedHookAsksAfterItsAttempts) {
    struct Case { const char* name; std::function<void()> fault; std::vector<Answer> answers; int attempts; };
    const auto silent = [&] { radio().faults.silent = true; };
    const Case cases[] = {
        {"silent", silent, {Answer::Cancel}, 4},
        {"retried", silent, {Answer::Retry, Answer::Cancel}, 8},
        {"wrong answer", [&] { radio().faults.hookAck = 17; }, {Answer::Cancel}, 1},
        {"late answers", [&] { radio().faults.replyDelay = 2.5; }, {Answer::Cancel}, 4},
    };
    for (const Case& c : cases) {
        radio().faults = {};
        radio().powerCycle();
        clock.advance(3);
        port.sent.clear();
        port.opens = 0;
        platform.boxes.clear();
        std::ostringstream log;
        VKTCom::SerialTrace trace(port, log, [this] { return clock.now(); });
        platform.setSerialPort(trace);
        link.onNote = [&trace](const std::string& t) { trace.note(t); };
        c.fault();
        for (const Answer a : c.answers) platform.answer(a, RadioLink::HookPromptText);
        const double start = clock.now();
        EXPECT_FALSE(link.HookRadio()) << c.name;
        EXPECT_EQ(hooks(), c.attempts) << c.name;
        EXPECT_EQ(port.opens, 1) << c.name;
        ASSERT_EQ(platform.boxes.size(), c.answers.size()) << c.name;
        EXPECT_EQ(platform.boxes[0].title, "COMM ERROR");
        if (c.name == std::string("silent")) {
            EXPECT_NEAR(platform.boxes[0].time - start, 2.0, 0.05);
            EXPECT_EQ(wire().size(), 4 * 13 + 1u);  // four wake-ups and the release
            const std::string text = log.str();
            EXPECT_NE(text.find("-- hook attempt 4"), std::string::npos) << text;
            size_t timeouts = 0;
            for (size_t at = text.find("time-out"); at != std::string::npos; at = text.find("time-out", at + 1)) ++timeouts;
            EXPECT_EQ(timeouts, 4u);
            EXPECT_NE(text.find("> 00 00 00 00 00 00 00 00 00 00 0A 14 28\n"), std::string::npos) << text;
            EXPECT_NE(text.find("    5.00"), std::string::npos) << text;  // the fourth time-out, 2 s after the start at 3 s
        }
        released();
        platform.setSerialPort(port);
        link.onNote = nullptr;
    }
}

// Nothing without a hook; an answer within 0.5 s (a read) or 0.25 s (a write), however many bytes
// came before the command or wrong answers before the 1; else their box, the radio released.
TEST_F(LinkTest, ByteCommandsTakeOnlyTheirOwnAnswerInTime) {
    int v = 99;
    EXPECT_FALSE(link.ReadEEByte(0, 11, v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(link.WriteEEByte(0, 11, 255, 3));
    EXPECT_TRUE(wire().empty());
    radio().eeprom[11] = 200;
    struct Case { bool write; std::function<void()> fault; double failsAfter; };  // failsAfter 0: answered
    const Case cases[] = {
        {false, [&] { radio().faults.replyDelay = 0.45; }, 0},
        {false, [&] { port.inject(0x99); }, 0},  // stale, never taken for the answer
        {false, [&] { radio().faults.replyDelay = 0.6; }, 0.5},
        {true, [&] { radio().faults.zeroBeforeOne = true; }, 0},
        {true, [&] { port.inject(1); radio().faults.silent = true; }, 0.25},
        {true, [&] { radio().faults.nacksBeforeAck = 1000; }, 0.25},
    };
    for (const Case& c : cases) {
        radio().faults = {};
        radio().powerCycle();
        clock.advance(1);  // a late answer of the case before is gone
        ASSERT_TRUE(link.HookRadio());
        c.fault();
        if (c.failsAfter) platform.answer(Answer::OK, c.write ? RadioLink::WriteEEByteError : RadioLink::ReadEEByteError);
        const double start = clock.now();
        const bool ok = c.write ? link.WriteEEByte(0, 11, 255, 77) : link.ReadEEByte(0, 11, v);
        EXPECT_EQ(ok, !c.failsAfter) << c.write << " " << c.failsAfter;
        if (ok) {
            EXPECT_EQ(c.write ? radio().eeprom[11] : v, c.write ? 77 : 200);
            continue;
        }
        EXPECT_NEAR(platform.boxes.back().time - start, c.failsAfter, 0.01);
        EXPECT_TRUE(platform.boxes.back().systemModal);
        EXPECT_EQ(platform.boxes.back().icon, vkt::Icon::Exclamation);
        released();
    }
}

TEST_F(LinkTest, PortThatCannotOpenSaysWhyAtOnce) {
    port.setOpenFailure("Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied");
    platform.answer(Answer::OK, "Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied");
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    EXPECT_FALSE(link.HookRadio());
    EXPECT_LT(clock.now(), 0.01);
    EXPECT_TRUE(wire().empty());
}

// Only when chosen, or at the start while no port was ever chosen and no cable is at hand.
TEST_F(LinkTest, TheEmulatedRadioIsAChoiceOfItsOwn) {
    struct Case { const char* storedPort; const char* storedEmulated; bool noCable; int chosen; };
    const Case cases[] = {
        {"", "", true, vkt::EmulatedPort}, {"", "", false, 1}, {"2", "", true, 2}, {"2", "1", false, vkt::EmulatedPort},
        {"2", "0", true, 2}, {"", "0", true, 1}, {"4", "", false, 4},
        // A stored port outside 1 ... 4 counts as 1.
        {"0", "", false, 1}, {"5", "", false, 1}, {"-1", "", false, 1}, {"2.5", "", false, 1}, {"abc", "", false, 1},
    };
    std::array<vkt::MenuItem, 4> ports;
    vkt::MenuItem emulated;
    for (const Case& c : cases) {
        platform.settings.clear();
        if (*c.storedPort) platform.SaveSetting("VKTEDWIN", "Comm", "Port", c.storedPort);
        if (*c.storedEmulated) platform.SaveSetting("VKTEDWIN", "Comm", "Emulated", c.storedEmulated);
        link.ApplyCommPortSetting({ports, emulated}, c.noCable);
        EXPECT_EQ(port.portNumber(), c.chosen) << c.storedPort << "/" << c.storedEmulated << "/" << c.noCable;
        EXPECT_EQ(emulated.Checked(), c.chosen == vkt::EmulatedPort);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ports[static_cast<size_t>(i)].Checked(), i + 1 == c.chosen);
    }
    // Chosen from the menu it is remembered and the port let go; a Comm Port picked ends that.
    ASSERT_TRUE(link.HookRadio());
    link.SelectCommPort(vkt::EmulatedPort, {ports, emulated});
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(link.Emulated());
    link.SelectCommPort(4, {ports, emulated});
    link.ApplyCommPortSetting({ports, emulated}, true);
    EXPECT_EQ(port.portNumber(), 4);
}

TEST(VirtualClock, AnEventDueAtTheEndOfAnAdvanceRuns) {
    vktsim::VirtualClock clock;
    bool ran = false;
    clock.at(0.5, [&] { ran = true; });
    clock.advance(0.5);
    EXPECT_TRUE(ran);
}
