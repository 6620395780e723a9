// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <functional>

#include "tests/link/LinkFixture.h"

using vkt::Answer;
using VKTCom::Transfers;
using VKTCore::MemoryImage;

namespace {

std::vector<uint8_t> ReadHookBytes() {
    std::vector<uint8_t> b = HookBytes();
    Append(b, IdentityBytes());
    Append(b, {5, 1});
    return b;
}

std::vector<uint8_t> WriteHookBytes() {
    std::vector<uint8_t> b = {1, 1};  // released twice first
    Append(b, HookBytes());
    Append(b, IdentityBytes());
    return b;
}

std::vector<uint8_t> BlockWrite(int N) {
    std::vector<uint8_t> b = {212, static_cast<uint8_t>(N)};
    for (int i = 0; i < 32; ++i) b.push_back(MemoryImage[static_cast<size_t>(N * 32 + i)]);
    return b;
}

} // namespace

// A read asks for its region's blocks in order and puts exactly them into
// the image: a fast radio with one trigger byte a block, a slow one at 4800
// baud with 31 pacing bytes.
TEST_F(LinkTest, AReadFetchesItsRegionBlockByBlock) {
    for (size_t a = 0; a < radio().eeprom.size(); ++a) radio().eeprom[a] = static_cast<uint8_t>(a * 7 + 3);
    struct Case {
        bool slow;
        int first, last;
        std::function<bool()> read;
    };
    const Case cases[] = {{true, 0, 7, [&] { return transfers.ReadGlobalMemory(); }},
                          {false, 176, 187, [&] { return transfers.ReadGroupMemory(15); }},
                          {false, 8, 19, [&] { return transfers.ReadGroupMemory(1); }}};
    for (const Case& c : cases) {
        radio().identity = c.slow ? vktsim::RadioModel::SlowIdentity : vktsim::RadioModel::FastIdentity;
        MemoryImage.fill(0);
        port.sent.clear();
        ASSERT_TRUE(c.read());
        std::vector<uint8_t> expected = c.slow ? HookBytes() : ReadHookBytes();
        if (c.slow) Append(expected, IdentityBytes());
        for (int N = c.first; N <= c.last; ++N) {
            Append(expected, {198, static_cast<uint8_t>(N)});
            Append(expected, c.slow ? std::vector<uint8_t>(31, 0) : std::vector<uint8_t>{255});
        }
        Append(expected, {1});
        EXPECT_EQ(wire(), expected) << c.first;
        for (int a = 0; a < VKTCore::ImageSize; ++a) {
            const bool inRegion = a >= c.first * 32 && a <= c.last * 32 + 31;
            ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], inRegion ? radio().eeprom[static_cast<size_t>(a)] : 0) << a;
        }
        for (const auto& s : port.sent) ASSERT_TRUE(!c.slow || s.baud == 4800);
    }
    EXPECT_EQ(platform.beeps, 3);
    EXPECT_EQ(proc.Prog1.Max(), 384);
    EXPECT_FALSE(proc.Loaded());
    EXPECT_TRUE(mainWindow.Enabled());
    expectReleased();
    EXPECT_FALSE(transfers.ReadGroupMemory(16));
    EXPECT_FALSE(transfers.ReadGroupMemory(0));
}

// A write sends page 0 through its write masks (30 masked writes, nothing
// for the 226 masks of 0) and a group's area as blocks, but its first block
// as one masked write of the encode-only bit; all at 4800 baud.
TEST_F(LinkTest, AWriteSendsItsRegionThroughTheMasks) {
    struct Case {
        bool page0;
        int firstBlock, lastBlock, progressMax;
        std::function<bool()> write;
    };
    const Case cases[] = {{false, 20, 31, 384, [&] { return transfers.WriteGroupMemory(2); }},
                          {true, 0, -1, 256, [&] { return transfers.WriteGlobalMemory(); }},
                          {false, 8, 187, 5760, [&] { return transfers.WriteAllMemory(true); }}};
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 13 + 1);
    for (const Case& c : cases) {
        port.sent.clear();
        int maxSeen = 0;
        platform.onEvents = [&] { maxSeen = std::max(maxSeen, proc.Prog1.Max()); };
        ASSERT_TRUE(c.write());
        std::vector<uint8_t> expected = WriteHookBytes();
        for (int a = 0; c.page0 && a < 256; ++a)
            if (const int mask = link.GlobalWriteMask[static_cast<size_t>(a)])
                Append(expected, {209, 0, static_cast<uint8_t>(a), static_cast<uint8_t>(mask), MemoryImage[static_cast<size_t>(a)]});
        for (int N = c.firstBlock; N <= c.lastBlock; ++N) {
            const int a = N * 32;
            if ((N - 8) % 12 == 0) Append(expected, {209, static_cast<uint8_t>(a / 256), static_cast<uint8_t>(a % 256), 32, MemoryImage[static_cast<size_t>(a)]});
            else Append(expected, BlockWrite(N));
        }
        Append(expected, {1});
        EXPECT_EQ(wire(), expected) << c.progressMax;
        EXPECT_EQ(maxSeen, c.progressMax);
        // The two releases go out at whatever speed the port had; the rest at 4800.
        for (size_t i = 2; i < port.sent.size(); ++i) ASSERT_EQ(port.sent[i].baud, 4800) << i;
    }
    EXPECT_EQ(std::count_if(link.GlobalWriteMask.begin(), link.GlobalWriteMask.end(), [](uint8_t m) { return m != 0; }), 30);
}

TEST(SentBits, OfAGroupOnlyTheEncodeOnlyBitOfItsFirstBlockGoesOut) {
    const std::pair<int, int> cases[] = {{6, 0x04}, {8, 0x00}, {153, 0xFE}, {256, 0x20}, {257, 0x00}, {287, 0x00},
                                         {288, 0xFF}, {639, 0xFF}, {640, 0x20}, {671, 0x00}, {672, 0xFF},
                                         {5632, 0x20}, {6015, 0xFF}, {6016, 0x00}};
    for (const auto& [address, bits] : cases) EXPECT_EQ(VKTCom::SentBits(address), bits) << address;
}

TEST_F(LinkTest, CancelDuringWriteBlocksAsksFirst) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
        port.sent.clear();
        bool asked = false;
        platform.onEvents = [&] {
            int n = 0;
            for (const auto& s : port.sent) n += s.byte == 212;
            if (n == 3 && !asked) {
                asked = true;
                platform.answer(answer, VKTCom::frmProc::CancelWriteQuestion);
                proc.CancelButton_Click();
            }
        };
        EXPECT_TRUE(transfers.WriteGroupMemory(5));
        int blocks = 0;
        for (const auto& s : port.sent) blocks += s.byte == 212 || s.byte == 209;
        EXPECT_EQ(blocks, answer == Answer::No ? 12 : 4);
        EXPECT_EQ(platform.boxes.back().icon, vkt::Icon::Question);
        EXPECT_EQ(platform.boxes.back().buttons, vkt::Buttons::YesNo);
        EXPECT_EQ(platform.boxes.back().title, "VKT Editor");
        expectReleased();
    }
}

TEST_F(LinkTest, FailedPageZeroWriteRetriesFromTheStart) {
    for (size_t a = 0; a < 256; ++a) MemoryImage[a] = static_cast<uint8_t>(a);
    radio().faults.disconnectAfterBytes = 40;  // the cable fails during the fifth masked write
    platform.answer(Answer::Retry, Transfers::GlobalFailedText);
    platform.onBox = [&](const vkttest::ShownBox&) {
        // The technician cycles the radio's power and retries.
        radio().faults.disconnectAfterBytes = -1;
        radio().powerCycle();
    };
    EXPECT_TRUE(transfers.WriteGlobalMemory());
    int hooks = 0;
    const auto w = wire();
    for (size_t i = 2; i < w.size(); ++i) hooks += w[i - 2] == 10 && w[i - 1] == 20 && w[i] == 40;
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(radio().eeprom[7], 7);
    EXPECT_EQ(radio().eeprom[255], 255);
    EXPECT_EQ(radio().eeprom[153], (vktsim::RadioModel::FactorySetup()[153] & 1) | (153 & 0xFE));
    expectReleased();
}

TEST_F(LinkTest, MaskedWriteCountsOnlySilence) {
    ASSERT_TRUE(link.HookRadio());
    radio().faults.nacksBeforeAck = 3;
    proc.ShowForm("x", true);
    EXPECT_TRUE(transfers.WriteMaskedByte(0, 7, 0xFF, 0x12));
    EXPECT_EQ(radio().eeprom[7], 0x12);
    radio().faults.silent = true;
    const double start = clock.now();
    EXPECT_FALSE(transfers.WriteMaskedByte(0, 7, 0xFF, 0x13));
    EXPECT_NEAR(clock.now() - start, 2.0, 0.05);
    EXPECT_TRUE(transfers.WriteMaskedByte(0, 7, 0, 0x13));  // mask 0 sends nothing
}

// A read that fails or is cancelled part-way leaves the image as it was,
// whatever came, and the radio released. Bytes that are not the radio's
// answer fail it as a silent block does: they would shift the image.
TEST_F(LinkTest, AReadThatFailsOrIsCancelledLeavesTheImageAsItWas) {
    auto blockReads = [&] {
        const auto w = wire();
        return std::count(w.begin(), w.end(), 198);
    };
    auto atOnce = [&](std::function<bool()> when, double after) {
        platform.onEvents = [this, when, after, done = false]() mutable {
            if (done || !when()) return;
            done = true;
            clock.at(clock.now() + after, [&] { port.inject(0x55); });
        };
    };
    struct Case {
        const char* failure;  // nullptr: cancelled at the third block
        std::function<void()> fault;
        std::function<bool()> read;
    };
    const Case cases[] = {
        {"block 2: byte 32 missing after 0.5 s", [&] { radio().faults.dropByteInBlock = 2; }, [&] { return transfers.ReadGlobalMemory(); }},
        {"block 0: a 33rd byte", [&] { radio().faults.extraByteEveryBlock = true; }, [&] { return transfers.ReadAllMemory(); }},
        // Line noise while the radio settles after the hook.
        {"block 8: 1 stray bytes before the command", [&] { atOnce([&] { return link.RadioHooked; }, 0.2); },
         [&] { return transfers.ReadGroupMemory(1); }},
        // Held back by an adapter for 10 ms: later than a block's guard, within the last one's.
        {"block 187: bytes after the last block", [&] { atOnce([&] { return proc.Prog1.Value() == VKTCore::GroupAreaSize; }, 0.010); },
         [&] { return transfers.ReadGroupMemory(15); }},
        {nullptr, [&] { platform.onEvents = [&] { if (blockReads() == 3 && !proc.Cancelled) proc.CancelButton_Click(); }; },
         [&] { return transfers.ReadAllMemory(); }},
    };
    for (const Case& c : cases) {
        radio().faults = {};
        radio().powerCycle();
        port.sent.clear();
        c.fault();
        if (c.failure) platform.answer(Answer::OK, Transfers::ReadErrorText);
        EXPECT_FALSE(c.read());
        platform.onEvents = nullptr;
        for (int a = 0; a < VKTCore::ImageSize; ++a) ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], 0) << a;
        if (c.failure) {
            EXPECT_EQ(link.LastFailure, c.failure);
        } else {
            EXPECT_EQ(blockReads(), 4);  // the block asked for while Cancel came ends first
        }
        expectReleased();
    }
    EXPECT_EQ(platform.boxes.at(0).title, "VKT Read");
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_FALSE(proc.Loaded());
    EXPECT_TRUE(mainWindow.Enabled());
}

TEST_F(LinkTest, ProgressWindowKeepsADisabledOwnerDisabled) {
    mainWindow.setEnabled(false);
    proc.ShowForm("x", false);
    proc.Unload();
    EXPECT_FALSE(mainWindow.Enabled());
}
