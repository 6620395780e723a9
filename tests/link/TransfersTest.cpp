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

TEST_F(LinkTest, ReadGroupOneIsBlocksEightToNineteen) {
    for (size_t a = 0; a < radio().eeprom.size(); ++a) radio().eeprom[a] = static_cast<uint8_t>(a * 7 + 3);
    ASSERT_TRUE(transfers.ReadGroupMemory(1));
    std::vector<uint8_t> expected = ReadHookBytes();
    for (int N = 8; N <= 19; ++N) Append(expected, {198, static_cast<uint8_t>(N), 255});
    Append(expected, {1});
    EXPECT_EQ(wire(), expected);
    for (int a = 0; a < VKTCore::ImageSize; ++a) {
        const bool inGroup = a >= 256 && a < 640;
        EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], inGroup ? radio().eeprom[static_cast<size_t>(a)] : 0) << a;
    }
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(proc.Prog1.Max(), 384);
    EXPECT_FALSE(proc.Loaded());
    EXPECT_TRUE(mainWindow.Enabled());
    expectReleased();
}

TEST_F(LinkTest, ReadGroupFifteenEndsAtTheLastByte) {
    radio().eeprom[6015] = 0x5A;
    radio().eeprom[5631] = 0x77;
    ASSERT_TRUE(transfers.ReadGroupMemory(15));
    EXPECT_EQ(MemoryImage[6015], 0x5A);
    EXPECT_EQ(MemoryImage[5631], 0);
    EXPECT_FALSE(transfers.ReadGroupMemory(16));
    EXPECT_FALSE(transfers.ReadGroupMemory(0));
}

TEST_F(LinkTest, SlowRadioIsReadAtFourEightyWithPacing) {
    radio().identity = vktsim::RadioModel::SlowIdentity;
    ASSERT_TRUE(transfers.ReadGlobalMemory());
    for (int a = 0; a < 256; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], radio().eeprom[static_cast<size_t>(a)]);
    std::vector<uint8_t> expected = HookBytes();
    Append(expected, IdentityBytes());
    for (int N = 0; N < 8; ++N) {
        Append(expected, {198, static_cast<uint8_t>(N)});
        Append(expected, std::vector<uint8_t>(31, 0));
    }
    Append(expected, {1});
    EXPECT_EQ(wire(), expected);
    for (const auto& s : port.sent) EXPECT_EQ(s.baud, 4800);
}

TEST_F(LinkTest, WriteGroupTwoMasksItsFirstBlock) {
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 13 + 1);
    ASSERT_TRUE(transfers.WriteGroupMemory(2));
    std::vector<uint8_t> expected = WriteHookBytes();
    Append(expected, {209, 2, 128, 32, MemoryImage[640]});
    for (int N = 21; N <= 31; ++N) Append(expected, BlockWrite(N));
    Append(expected, {1});
    EXPECT_EQ(wire(), expected);
    // The two releases go out at whatever speed the port had; the rest at 4800.
    for (size_t i = 2; i < port.sent.size(); ++i) EXPECT_EQ(port.sent[i].baud, 4800) << i;
}

TEST_F(LinkTest, WriteGlobalSendsThirtyMaskedWrites) {
    for (size_t a = 0; a < 256; ++a) MemoryImage[a] = static_cast<uint8_t>(0xA5 ^ a);
    ASSERT_TRUE(transfers.WriteGlobalMemory());
    std::vector<uint8_t> expected = WriteHookBytes();
    int writes = 0;
    for (int a = 0; a < 256; ++a) {
        const int mask = link.GlobalWriteMask[static_cast<size_t>(a)];
        if (mask == 0) continue;
        ++writes;
        Append(expected, {209, 0, static_cast<uint8_t>(a), static_cast<uint8_t>(mask), MemoryImage[static_cast<size_t>(a)]});
    }
    Append(expected, {1});
    EXPECT_EQ(writes, 30);
    EXPECT_EQ(wire(), expected);
}

TEST_F(LinkTest, WriteAllWithoutGlobalsNeverSendsPageZero) {
    MemoryImage = VKTCore::Image{};
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 31 + 5);
    int maxSeen = 0;
    platform.onEvents = [&] { maxSeen = std::max(maxSeen, proc.Prog1.Max()); };
    ASSERT_TRUE(transfers.WriteAllMemory(true));
    EXPECT_EQ(maxSeen, 5760);
    std::vector<uint8_t> expected = WriteHookBytes();
    for (int N = 8; N <= 187; ++N) {
        if ((N - 8) % 12 == 0) {
            const int a = N * 32;
            Append(expected, {209, static_cast<uint8_t>(a / 256), static_cast<uint8_t>(a % 256), 32, MemoryImage[static_cast<size_t>(a)]});
        } else {
            Append(expected, BlockWrite(N));
        }
    }
    Append(expected, {1});
    EXPECT_EQ(wire(), expected);
}

TEST(SentBits, OfAGroupOnlyTheEncodeOnlyBitOfItsFirstBlockGoesOut) {
    const std::pair<int, int> cases[] = {{6, 0x04}, {8, 0x00}, {153, 0xFE}, {256, 0x20}, {257, 0x00}, {287, 0x00},
                                         {288, 0xFF}, {639, 0xFF}, {640, 0x20}, {671, 0x00}, {672, 0xFF},
                                         {5632, 0x20}, {6015, 0xFF}, {6016, 0x00}};
    for (const auto& [address, bits] : cases) EXPECT_EQ(VKTCom::SentBits(address), bits) << address;
}

TEST_F(LinkTest, CancelDuringReadStopsAfterThatBlock) {
    int blocksAsked = 0;
    platform.onEvents = [&] {
        int n = 0;
        for (const auto& s : port.sent) n += s.byte == 198;
        if (n == 3 && blocksAsked == 0) {
            blocksAsked = n;
            proc.CancelButton_Click();
        }
    };
    EXPECT_FALSE(transfers.ReadAllMemory());
    int reads = 0;
    for (const auto& s : port.sent) reads += s.byte == 198;
    EXPECT_EQ(reads, 4);  // the block read while Cancel was pending is still stored
    for (int a = 0; a < 128; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], radio().eeprom[static_cast<size_t>(a)]);
    for (int a = 128; a < 256; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], 0);
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_FALSE(proc.Loaded());
    EXPECT_TRUE(mainWindow.Enabled());
    expectReleased();
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

TEST_F(LinkTest, ReadThatTimesOutKeepsTheBytesItGot) {
    radio().faults.dropByteInBlock = 2;
    platform.answer(Answer::OK, Transfers::ReadErrorText);
    EXPECT_FALSE(transfers.ReadGlobalMemory());
    // Blocks 0 and 1 complete, block 2 shifted by the lost byte, the rest untouched.
    for (int a = 0; a < 64; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], radio().eeprom[static_cast<size_t>(a)]);
    for (int a = 64; a < 64 + 16; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], radio().eeprom[static_cast<size_t>(a)]);
    for (int a = 96; a < 256; ++a) EXPECT_EQ(MemoryImage[static_cast<size_t>(a)], 0);
    EXPECT_EQ(platform.boxes[0].title, "VKT Read");
    expectReleased();
}

// Bytes that are not the radio's answer must never shift the image: a read
// that sees one fails as a silent block does, whatever the radio sent.
TEST_F(LinkTest, AByteTooManyInAnyBlockFailsTheRead) {
    radio().faults.extraByteEveryBlock = true;
    platform.answer(vkt::Answer::OK, VKTCom::Transfers::ReadErrorText);
    EXPECT_FALSE(transfers.ReadAllMemory());
    EXPECT_EQ(link.LastFailure, "block 0: a 33rd byte");
    for (int a = 32; a < VKTCore::RadioMemorySize; ++a) ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], 0) << a;
    expectReleased();
}

TEST_F(LinkTest, AByteWaitingBeforeABlockCommandFailsTheRead) {
    // Line noise while the radio settles after the hook.
    bool scheduled = false;
    platform.onEvents = [&] {
        if (link.RadioHooked && !scheduled) {
            scheduled = true;
            clock.at(clock.now() + 0.2, [&] { port.inject(0x55); });
        }
    };
    platform.answer(vkt::Answer::OK, VKTCom::Transfers::ReadErrorText);
    EXPECT_FALSE(transfers.ReadGroupMemory(1));
    EXPECT_EQ(link.LastFailure, "block 8: 1 stray bytes before the command");
    EXPECT_EQ(std::count_if(port.sent.begin(), port.sent.end(), [](const auto& s) { return s.byte == 198; }), 0);
    expectReleased();
}

TEST_F(LinkTest, ABytePastTheLastBlockFailsTheRead) {
    // Held back by an adapter for 10 ms: later than a block's guard, within the last one's.
    bool scheduled = false;
    platform.onEvents = [&] {
        if (proc.Prog1.Value() == VKTCore::GroupAreaSize && !scheduled) {
            scheduled = true;
            clock.at(clock.now() + 0.010, [&] { port.inject(0x55); });
        }
    };
    platform.answer(vkt::Answer::OK, VKTCom::Transfers::ReadErrorText);
    EXPECT_FALSE(transfers.ReadGroupMemory(15));
    EXPECT_EQ(link.LastFailure, "block 187: bytes after the last block");
    expectReleased();
}
