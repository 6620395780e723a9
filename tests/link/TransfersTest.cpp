// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <functional>
#include <numeric>

#include "core/Text.h"
#include "link/Protocol.h"
#include "tests/link/LinkFixture.h"

using vkt::Answer;
using VKTCore::MemoryImage;

static std::vector<int> Numbers(int first, int count) {
    std::vector<int> n(static_cast<size_t>(count));
    std::iota(n.begin(), n.end(), first);
    return n;
}

// The identity tells a fast radio (2AAA and up): 9600 baud if it takes the change, one trigger
// byte a block; a slow radio is read at 4800 baud with 31 pacing bytes.
TEST_F(LinkTest, AReadFetchesItsBlocksOneByOne) {
    for (size_t a = 0; a < radio().eeprom.size(); ++a) radio().eeprom[a] = static_cast<uint8_t>(a * 7 + 3);
    using R = vktsim::RadioModel;
    const std::vector<int> chosen = {3, 40, 41};
    struct Case { std::array<uint8_t, 4> identity; bool fast, refusesSpeed; std::vector<int> blocks; std::function<bool()> read; };
    const auto readChosen = [&] { return transfers.ReadBlocks(chosen); };
    const Case cases[] = {
        {R::SlowIdentity, false, false, Numbers(0, 8), [&] { return transfers.ReadGlobalMemory(); }},
        {R::FastIdentity, true, false, Numbers(176, 12), [&] { return transfers.ReadGroupMemory(15); }},
        {R::FastIdentity, true, true, chosen, readChosen},
        {{0x00, 0xFF, 0, 0}, false, false, chosen, readChosen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(vkt::Hex2(c.identity[0]) + vkt::Hex2(c.identity[1]) + (c.refusesSpeed ? " refusing 9600" : ""));
        radio().identity = c.identity;
        radio().faults.refuseSpeedChange = c.refusesSpeed;
        MemoryImage.fill(0);
        port.sent.clear();
        ASSERT_TRUE(c.read());
        std::vector<uint8_t> expected = HookBytes();
        if (c.fast) Append(expected, {5, 1});
        for (int N : c.blocks) {
            Append(expected, {198, static_cast<uint8_t>(N)});
            Append(expected, c.fast ? std::vector<uint8_t>{255} : std::vector<uint8_t>(31, 0));
        }
        Append(expected, {1});
        EXPECT_EQ(wire(), expected);
        for (size_t i = 0; i < port.sent.size(); ++i) {
            const bool changed = c.fast && !c.refusesSpeed && i >= HookBytes().size() + 2;
            ASSERT_EQ(port.sent[i].baud, changed ? 9600 : 4800) << i;
        }
        for (int a = 0; a < VKTCore::ImageSize; ++a) {
            const bool read = std::find(c.blocks.begin(), c.blocks.end(), a / 32) != c.blocks.end();
            ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], read ? radio().eeprom[static_cast<size_t>(a)] : 0) << a;
        }
        EXPECT_EQ(proc.Prog1.Max(), static_cast<int>(c.blocks.size()) * 32);
    }
    EXPECT_EQ(platform.beeps, 4);
    released();
    // 2AAA and up is fast, whatever the bytes: FF00 too.
    radio().identity = {0xFF, 0x00, 0, 0};
    ASSERT_TRUE(link.HookRadio());
    EXPECT_TRUE(link.FastRadio);
    link.UnhookRadio();
    EXPECT_FALSE(transfers.ReadGroupMemory(16));
    EXPECT_FALSE(transfers.ReadGroupMemory(0));
}

// A whole page 0 is 30 masked writes (nothing for the 226 masks of 0); a group's first block is
// one masked write of its encode-only bit. All at 4800 baud, the two releases before the hook
// too, whatever speed the port's last session had.
TEST_F(LinkTest, AWriteSendsItsBlocksThroughTheMasks) {
    struct Case { VKTCom::WriteSet set; int progressMax; std::function<bool()> write; };
    const VKTCom::WriteSet chosen{{6, 11, 153}, {20, 21, 44}};  // 11: no bit of it is written
    const Case cases[] = {{{{}, Numbers(20, 12)}, 384, [&] { return transfers.WriteGroupMemory(2); }},
                          {{Numbers(0, 256), {}}, 256, [&] { return transfers.WriteGlobalMemory(); }},
                          {{{}, Numbers(8, 180)}, 5760, [&] { return transfers.WriteAllMemory(true); }},
                          {chosen, 256 + 96, [&] { return transfers.WriteBlocks(chosen); }}};
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 13 + 1);
    link.UseFastLink = true;
    ASSERT_TRUE(link.HookRadio());
    ASSERT_EQ(port.settings(), "9600,n,8,1");
    link.ClosePort();
    radio().powerCycle();
    for (const Case& c : cases) {
        port.sent.clear();
        int maxSeen = 0;
        platform.onEvents = [&] { maxSeen = std::max(maxSeen, proc.Prog1.Max()); };
        ASSERT_TRUE(c.write());
        std::vector<uint8_t> expected = {1, 1};  // released twice first
        Append(expected, HookBytes());
        for (int a : c.set.page0)
            if (const int mask = link.GlobalWriteMask[static_cast<size_t>(a)])
                Append(expected, {209, 0, static_cast<uint8_t>(a), static_cast<uint8_t>(mask), MemoryImage[static_cast<size_t>(a)]});
        for (int N : c.set.blocks) {
            const int a = N * 32;
            const auto block = MemoryImage.begin() + a;
            if ((N - 8) % 12 == 0) {
                Append(expected, {209, static_cast<uint8_t>(a / 256), static_cast<uint8_t>(a % 256), 32, *block});
            } else {
                Append(expected, {212, static_cast<uint8_t>(N)});
                Append(expected, {block, block + 32});
            }
        }
        Append(expected, {1});
        EXPECT_EQ(wire(), expected) << c.progressMax;
        EXPECT_EQ(maxSeen, c.progressMax);
        EXPECT_EQ(transfers.BlocksWritten, c.set.blocks);
        for (size_t i = 0; i < port.sent.size(); ++i) ASSERT_EQ(port.sent[i].baud, 4800) << i;
    }
    EXPECT_EQ(transfers.Page0Written, (std::vector<int>{6, 153}));
    EXPECT_EQ(std::count_if(link.GlobalWriteMask.begin(), link.GlobalWriteMask.end(), [](uint8_t m) { return m != 0; }), 30);
}

TEST(SentBits, OfAGroupOnlyTheEncodeOnlyBitOfItsFirstBlockGoesOut) {
    const std::pair<int, int> cases[] = {{153, 0xFE}, {256, 0x20}, {257, 0x00}, {287, 0x00}, {288, 0xFF},
                                         {639, 0xFF}, {640, 0x20}, {5632, 0x20}, {6015, 0xFF}, {6016, 0x00}};
    for (const auto& [address, bits] : cases) EXPECT_EQ(VKTCom::SentBits(address), bits) << address;
}

TEST_F(LinkTest, FailedPageZeroWriteRetriesFromTheStart) {
    for (size_t a = 0; a < 256; ++a) MemoryImage[a] = static_cast<uint8_t>(a);
    radio().faults.disconnectAfterBytes = 40;  // the cable fails during the fifth masked write
    platform.answer(Answer::Retry, VKTCom::Transfers::GlobalFailedText);
    platform.onBox = [&](const vkttest::ShownBox&) {
        radio().faults.disconnectAfterBytes = -1;
        radio().powerCycle();
    };
    EXPECT_TRUE(transfers.WriteGlobalMemory());
    EXPECT_EQ(hooks(), 2);
    EXPECT_EQ(radio().eeprom[255], 255);
    released();
}

TEST_F(LinkTest, MaskedWriteGivesUpAfterTwoSecondsOfSilence) {
    ASSERT_TRUE(link.HookRadio());
    radio().faults.silent = true;
    const double start = clock.now();
    EXPECT_FALSE(transfers.WriteMaskedByte(0, 7, 0xFF, 0x13));
    EXPECT_NEAR(clock.now() - start, 2.0, 0.05);
}

// Bytes that are not the radio's answer fail a read as a silent block does: they would shift the image.
TEST_F(LinkTest, AReadThatFailsOrIsCancelledLeavesTheImageAsItWas) {
    auto blockReads = [&] { return std::ranges::count(wire(), 198); };
    auto atOnce = [&](std::function<bool()> when, double after) {
        platform.onEvents = [this, when, after, done = false]() mutable {
            if (done || !when()) return;
            done = true;
                        clock.at(clock.now() + after, [&] { port.inject(0x55); });
        };
    };
    auto heldBack = [&](double latency) {
        port.adapterLatency = latency;
        proc.Prog1.setValue(0);
        atOnce([&] { return link.RadioHooked && proc.Prog1.Value() == VKTCore::GroupAreaSize; }, latency);
    };
    // failure nullptr: cancelled at the third block
    struct Case { const char* failure; std::function<void()> fault; std::function<bool()> read; };
    const Case cases[] = {
        // What was seen and where: a block's own 33rd comes on top of the one before it.
        {"2 bytes too many after block 0's answer", [&] { radio().faults.extraByteEveryBlock = true; }, [&] { return transfers.ReadAllMemory(); }},
        {"a 33rd byte after block 3", [&] { radio().identity = vktsim::RadioModel::SlowIdentity; radio().faults.extraByteAfterBlock = 3; },
         [&] { return transfers.ReadGlobalMemory(); }},
        {"3 bytes too many after block 20's answer", [&] { radio().faults.strayBytesBeforeBlock = 20; }, [&] { return transfers.ReadAllMemory(); }},
        {"3 bytes too many after block 60's answer", [&] { radio().identity = vktsim::RadioModel::SlowIdentity; radio().faults.strayBytesBeforeBlock = 60; },
         [&] { return transfers.ReadAllMemory(); }},
        {"a 33rd byte after block 50", [&] { radio().faults.extraByteAfterBlock = 50; }, [&] { return transfers.ReadAllMemory(); }},
        // Line noise while the radio settles after the hook.
        {"a byte before block 8's command", [&] { atOnce([&] { return link.RadioHooked; }, 0.2); },
         [&] { return transfers.ReadGroupMemory(1); }},
        // Held back by an adapter for 10 ms: later than a block's guard, within the last one's.
        {"block 187: bytes after the last block", [&] { atOnce([&] { return proc.Prog1.Value() == VKTCore::GroupAreaSize; }, 0.010); },
         [&] { return transfers.ReadGroupMemory(15); }},
        // Held back longer by an adapter that passes bytes on in bursts: as long as the answers' bursts.
        {"block 187: bytes after the last block", [&] { heldBack(0.032); }, [&] { return transfers.ReadGroupMemory(15); }},
        {"block 187: bytes after the last block", [&] { heldBack(0.100); }, [&] { return transfers.ReadGroupMemory(15); }},
        {nullptr, [&] { platform.onEvents = [&] { if (blockReads() == 3 && !proc.Cancelled) proc.CancelButton_Click(); }; },
         [&] { return transfers.ReadAllMemory(); }},
    };
    for (const Case& c : cases) {
        radio().faults = {};
        port.adapterLatency = 0;
        radio().identity = vktsim::RadioModel::FastIdentity;
        radio().powerCycle();
        port.sent.clear();
        c.fault();
        if (c.failure) platform.answer(Answer::OK, VKTCom::Transfers::ReadErrorText);
        EXPECT_FALSE(c.read());
        platform.onEvents = nullptr;
        for (int a = 0; a < VKTCore::ImageSize; ++a) ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], 0) << a;
        if (c.failure) EXPECT_EQ(link.LastFailure, c.failure);
        else EXPECT_EQ(blockReads(), 4);  // the block asked for while Cancel came ends first
        released();
    }
    EXPECT_EQ(platform.boxes.at(0).title, "VKT Read");
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(LinkTest, ProgressWindowKeepsADisabledOwnerDisabled) {
    mainWindow.setEnabled(false);
    proc.ShowForm("x", false);
    proc.Unload();
    EXPECT_FALSE(mainWindow.Enabled());
}

// A machine that stalls right after sending a block's command finds the radio's honest answer
// already there when it starts to watch.
TEST_F(LinkTest, AnAnswerFoundLateAfterAStallIsTheAnswer) {
    struct StallingPort : vktsim::SimSerialPort {
        StallingPort(vktsim::VirtualClock& c) : SimSerialPort(c), clock(c) {}
        void writeByte(uint8_t b) override {
            SimSerialPort::writeByte(b);
            if (b == VKTCom::Protocol::FastBlockTrigger) clock.advance(0.01);
        }
        vktsim::VirtualClock& clock;
    } stalling{clock};
    stalling.radio().eeprom = radio().eeprom;
    platform.setSerialPort(stalling);
    EXPECT_TRUE(transfers.ReadGroupMemory(1));
    for (int a = VKTCore::GroupBase(0); a < VKTCore::GroupBase(1); ++a)
        ASSERT_EQ(VKTCore::MemoryImage[static_cast<size_t>(a)], radio().eeprom[static_cast<size_t>(a)]) << a;
}
