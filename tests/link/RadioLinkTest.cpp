#include "tests/link/LinkFixture.h"

using vkt::Answer;
using VKTCom::RadioLink;

namespace {

int CountHookAttempts(const std::vector<uint8_t>& w) {
    int n = 0;
    for (size_t i = 2; i < w.size(); ++i)
        if (w[i - 2] == 10 && w[i - 1] == 20 && w[i] == 40) ++n;
    return n;
}

} // namespace

TEST_F(LinkTest, SilentRadioIsTriedExactlyFourTimes) {
    radio().faults.silent = true;
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    const double start = clock.now();
    EXPECT_FALSE(link.HookRadio());
    EXPECT_EQ(CountHookAttempts(wire()), 4);
    EXPECT_EQ(wire().size(), 4u * 13u + 1u);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].title, "COMM ERROR");
    EXPECT_EQ(platform.boxes[0].buttons, vkt::Buttons::RetryCancel);
    EXPECT_NEAR(platform.boxes[0].time - start, 2.0, 0.05);
    EXPECT_FALSE(link.RadioHooked);
    EXPECT_EQ(wire().back(), 1);  // released all the same, and the port closed
    EXPECT_FALSE(port.isOpen());
}

// A radio whose answers come too late did hear the wake-up: whoever asked
// for the hook, a cancelled one lets the radio go.
TEST_F(LinkTest, ACancelledHookReleasesARadioThatHeardIt) {
    radio().faults.replyDelay = 2.5;  // the answers come after the prompt
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    EXPECT_FALSE(link.HookRadio());
    expectReleased();
}

// Whatever speed the port had in its last session, a new one starts at the
// hook's speed, so the release before a write's hook reaches the radio.
TEST_F(LinkTest, TheReleaseBeforeAWriteGoesOutAtTheHookSpeed) {
    ASSERT_TRUE(link.HookRadio());  // a fast radio, switched to 9600 baud for reading
    link.UseFastLink = true;
    ASSERT_TRUE(link.HookRadio());
    EXPECT_EQ(port.settings(), "9600,n,8,1");
    link.ClosePort();
    port.sent.clear();
    link.UnhookRadio();
    ASSERT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.sent[0].baud, 4800);
}

TEST_F(LinkTest, RetryStartsFourMoreAttempts) {
    radio().faults.silent = true;
    platform.answer(Answer::Retry, RadioLink::HookPromptText);
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    EXPECT_FALSE(link.HookRadio());
    EXPECT_EQ(CountHookAttempts(wire()), 8);
    EXPECT_EQ(port.opens, 1);
}

TEST_F(LinkTest, WrongHookByteGoesStraightToThePrompt) {
    radio().faults.hookAck = 17;
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    EXPECT_FALSE(link.HookRadio());
    EXPECT_EQ(CountHookAttempts(wire()), 1);
}

TEST_F(LinkTest, IdentityDecidesTheFastRadio) {
    const std::pair<std::array<uint8_t, 4>, bool> cases[] = {
        {{0x2A, 0xAA, 0, 0}, true}, {{0x2A, 0xA9, 0, 0}, false}, {{0xFF, 0x00, 0, 0}, true}, {{0x00, 0xFF, 0, 0}, false}};
    for (const auto& [identity, fast] : cases) {
        radio().identity = identity;
        link.UseFastLink = false;
        ASSERT_TRUE(link.HookRadio());
        EXPECT_EQ(link.FastRadio, fast);
        link.UnhookRadio();
    }
}

// A fast radio hooked at the first attempt; switched to 9600 baud only when
// the fast link is wished and the radio takes the change.
TEST_F(LinkTest, FastLinkOnlyWhenWishedAndFast) {
    for (const bool wished : {false, true}) {
        port.sent.clear();
        link.UseFastLink = wished;
        ASSERT_TRUE(link.HookRadio());
        EXPECT_TRUE(link.RadioHooked);
        std::vector<uint8_t> expected = HookBytes();
        Append(expected, IdentityBytes());
        if (wished) Append(expected, {5, 1});
        EXPECT_EQ(wire(), expected);
        EXPECT_EQ(link.RadioInfo, vktsim::RadioModel::FastIdentity);
        EXPECT_TRUE(link.FastRadio);
        EXPECT_EQ(port.settings(), wished ? "9600,n,8,1" : "4800,n,8,1");
        clock.advance(0.01);
        EXPECT_EQ(radio().baud(), wished ? 9600 : 4800);
        EXPECT_TRUE(platform.boxes.empty());
        link.UnhookRadio();
    }

    // A radio that ignores the change leaves the line at 4800 baud.
    radio().faults.refuseSpeedChange = true;
    ASSERT_TRUE(link.HookRadio());
    EXPECT_EQ(port.settings(), "4800,n,8,1");
}

TEST_F(LinkTest, UnhookOnAClosedPortOpensSendsOneAndCloses) {
    link.UnhookRadio();
    EXPECT_EQ(wire(), (std::vector<uint8_t>{1}));
    EXPECT_EQ(port.opens, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(link.RadioHooked);
}

TEST_F(LinkTest, ByteCommandsNeedAHookedRadio) {
    int v = 99;
    EXPECT_FALSE(link.ReadEEByte(0, 11, v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(link.WriteEEByte(0, 11, 255, 3));
    EXPECT_TRUE(wire().empty());
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(LinkTest, ReadEEByteInTimeAndTooLate) {
    radio().eeprom[11] = 200;
    ASSERT_TRUE(link.HookRadio());
    radio().faults.replyDelay = 0.45;
    int v = 0;
    EXPECT_TRUE(link.ReadEEByte(0, 11, v));
    EXPECT_EQ(v, 200);

    radio().faults.replyDelay = 0.6;
    platform.answer(Answer::OK, RadioLink::ReadEEByteError);
    EXPECT_FALSE(link.ReadEEByte(0, 11, v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(platform.boxes.back().systemModal);
    EXPECT_EQ(platform.boxes.back().icon, vkt::Icon::Exclamation);
    EXPECT_EQ(wire().back(), 1);  // released
    expectReleased();
}

TEST_F(LinkTest, WriteEEByteWaitsForTheOne) {
    ASSERT_TRUE(link.HookRadio());
    radio().faults.zeroBeforeOne = true;
    EXPECT_TRUE(link.WriteEEByte(0, 20, 255, 77));
    EXPECT_EQ(radio().eeprom[20], 77);

    radio().faults.nacksBeforeAck = 1000;
    platform.answer(Answer::OK, RadioLink::WriteEEByteError);
    const double start = clock.now();
    EXPECT_FALSE(link.WriteEEByte(0, 20, 255, 78));
    EXPECT_NEAR(platform.boxes.back().time - start, 0.25, 0.01);
    expectReleased();
}

TEST_F(LinkTest, StaleBytesAreNeverTakenAsReplies) {
    radio().eeprom[9] = 0x42;
    ASSERT_TRUE(link.HookRadio());
    port.inject(0x99);
    int v = 0;
    EXPECT_TRUE(link.ReadEEByte(0, 9, v));
    EXPECT_EQ(v, 0x42);
    port.inject(1);
    radio().faults.silent = true;
    platform.answer(Answer::OK, RadioLink::WriteEEByteError);
    EXPECT_FALSE(link.WriteEEByte(0, 9, 255, 0));
}

TEST_F(LinkTest, PortThatCannotOpenSaysWhyAtOnce) {
    port.setOpenFailure("Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied");
    platform.answer(Answer::OK, "Comm Port 1 (/dev/ttyUSB0) cannot be opened: Permission denied");
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    const double start = clock.now();
    EXPECT_FALSE(link.HookRadio());
    EXPECT_LT(clock.now() - start, 0.01);
    EXPECT_TRUE(wire().empty());
}

TEST_F(LinkTest, SelectCommPortChecksOneItemAndStoresIt) {
    std::array<vkt::MenuItem, 4> ports;
    vkt::MenuItem emulated;
    link.UseFastLink = false;
    ASSERT_TRUE(link.HookRadio());
    link.SelectCommPort(3, {ports, emulated});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.portNumber(), 3);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ports[static_cast<size_t>(i)].Checked(), i == 2);
    EXPECT_FALSE(emulated.Checked());
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Comm", "Port", ""), "3");

    std::array<vkt::MenuItem, 4> next;
    link.ApplyCommPortSetting({next, emulated}, true);  // a port was chosen: no emulator by itself
    EXPECT_EQ(port.portNumber(), 3);
    EXPECT_TRUE(next[2].Checked());
}

// The emulated radio stands for the radio only when chosen, or at the start
// while no port was ever chosen and no cable is at hand.
TEST_F(LinkTest, TheEmulatedRadioIsAChoiceOfItsOwn) {
    struct Case {
        const char* storedPort;
        const char* storedEmulated;
        bool noCable;
        int chosen;
    };
    const Case cases[] = {
        {"", "", true, vkt::EmulatedPort}, {"", "", false, 1}, {"2", "", true, 2},
        {"2", "1", false, vkt::EmulatedPort}, {"2", "0", true, 2}, {"", "0", true, 1},
    };
    for (const Case& c : cases) {
        platform.settings.clear();
        if (*c.storedPort) platform.SaveSetting("VKTEDWIN", "Comm", "Port", c.storedPort);
        if (*c.storedEmulated) platform.SaveSetting("VKTEDWIN", "Comm", "Emulated", c.storedEmulated);
        std::array<vkt::MenuItem, 4> ports;
        vkt::MenuItem emulated;
        link.ApplyCommPortSetting({ports, emulated}, c.noCable);
        EXPECT_EQ(port.portNumber(), c.chosen) << c.storedPort << "/" << c.storedEmulated << "/" << c.noCable;
        EXPECT_EQ(emulated.Checked(), c.chosen == vkt::EmulatedPort);
    }
    // Chosen from the menu it is remembered; a Comm Port picked ends that for good.
    std::array<vkt::MenuItem, 4> ports;
    vkt::MenuItem emulated;
    link.SelectCommPort(vkt::EmulatedPort, {ports, emulated});
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Comm", "Emulated", ""), "1");
    EXPECT_TRUE(link.Emulated());
    link.SelectCommPort(4, {ports, emulated});
    EXPECT_EQ(platform.GetSetting("VKTEDWIN", "Comm", "Emulated", ""), "0");
    link.ApplyCommPortSetting({ports, emulated}, true);
    EXPECT_EQ(port.portNumber(), 4);
}

TEST_F(LinkTest, StoredPortOutsideOneToFourCountsAsOne) {
    for (const char* stored : {"0", "5", "-1", "2.5", "abc", ""}) {
        platform.SaveSetting("VKTEDWIN", "Comm", "Port", stored);
        EXPECT_EQ(link.StoredCommPort(), 1) << stored;
    }
    platform.SaveSetting("VKTEDWIN", "Comm", "Port", "4");
    EXPECT_EQ(link.StoredCommPort(), 4);
}

// The clock every wait runs on: what falls due at the very end of an advance
// runs in it, not in the next one.
TEST(VirtualClock, AnEventDueAtTheEndOfAnAdvanceRuns) {
    vktsim::VirtualClock clock;
    bool ran = false;
    clock.at(0.5, [&] { ran = true; });
    clock.advance(0.5);
    EXPECT_TRUE(ran);
}
