// SPDX-License-Identifier: GPL-3.0-or-later
// Every transfer against every fault the emulator can inject: the messages shown, the radio
// released, a bounded run, and which image bytes changed: none unless a read came back whole.

#include <functional>
#include <string>

#include "tests/link/LinkFixture.h"

using vkt::Answer;
using VKTCom::Transfers;
using VKTCore::MemoryImage;

namespace {

struct Transfer { const char* name; bool write = false; int firstBlock = 0, blocks = 0; std::function<bool(Transfers&)> run; };

// What a read and a write come to where their course is certain: "" done without a box, a text
// failed with that last box; nothing when uncertain.
struct Fault {
    const char* name;
    std::function<void(vktsim::RadioModel&, int middleBlock)> inject = [](vktsim::RadioModel&, int) {};
    const char *read = nullptr, *write = nullptr;
    bool cancelAtMiddle = false;
    Answer toCancelWrite = Answer::Yes;  // the answer to a write's question
};

const std::vector<Transfer>& AllTransfers() {
    static const std::vector<Transfer> t = {
        {.name = "ReadAllMemory", .blocks = 188, .run = [](Transfers& x) { return x.ReadAllMemory(); }},
        {.name = "ReadGlobalMemory", .blocks = 8, .run = [](Transfers& x) { return x.ReadGlobalMemory(); }},
        {.name = "ReadGroupMemory(7)", .firstBlock = 80, .blocks = 12, .run = [](Transfers& x) { return x.ReadGroupMemory(7); }},
        {.name = "WriteAllMemory", .write = true, .blocks = 188, .run = [](Transfers& x) { return x.WriteAllMemory(false); }},
        {.name = "WriteGlobalMemory", .write = true, .blocks = 8, .run = [](Transfers& x) { return x.WriteGlobalMemory(); }},
        {.name = "WriteGroupMemory(7)", .write = true, .firstBlock = 80, .blocks = 12, .run = [](Transfers& x) { return x.WriteGroupMemory(7); }},
        // Two unit-wide bytes and a group's blocks, as a write of only the changes sends them.
        {.name = "WriteBlocks", .write = true, .firstBlock = 80, .blocks = 12,
         .run = [](Transfers& x) { return x.WriteBlocks({{6, 153}, {80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91}}); }},
    };
    return t;
}

const std::vector<Fault>& AllFaults() {
    using R = vktsim::RadioModel;
    const char *hook = VKTCom::RadioLink::HookPromptText, *read = Transfers::ReadErrorText;
    static const std::vector<Fault> f = {
        {.name = "none", .read = "", .write = ""},
        {.name = "silent", .inject = [](R& r, int) { r.faults.silent = true; }, .read = hook, .write = hook},
        // A read whose bytes came shifted fails; writes never read blocks, so these do not touch them.
        {.name = "silent from block k", .inject = [](R& r, int k) { r.faults.silentFromBlock = k; }, .read = read, .write = Transfers::BlockFailedText},
        {.name = "stray bytes at block k", .inject = [](R& r, int k) { r.faults.strayBytesBeforeBlock = k; }, .read = read},
        {.name = "extra byte after block k", .inject = [](R& r, int k) { r.faults.extraByteAfterBlock = k; }, .read = read},
        {.name = "byte lost in block k", .inject = [](R& r, int k) { r.faults.dropByteInBlock = k; }, .read = read},
        // A stalled answer is asked for again.
        {.name = "block k unanswered once", .inject = [](R& r, int k) { r.faults.unansweredOnce = k; }, .read = "", .write = ""},
        // Time-outs run from when the bytes are handed to the port, so a block
        // write's answer must come within 0.5 s less its 70 ms on the line.
        {.name = "replies 0.40 s late", .inject = [](R& r, int) { r.faults.replyDelay = 0.40; }, .read = "", .write = ""},
        {.name = "replies 0.55 s late", .inject = [](R& r, int) { r.faults.replyDelay = 0.55; }},
        {.name = "masked writes nacked 3x", .inject = [](R& r, int) { r.faults.nacksBeforeAck = 3; }, .read = "", .write = ""},
        {.name = "cable pulled mid-way", .inject = [](R& r, int) { r.faults.disconnectAfterBytes = 400; }},
        {.name = "Cancel at block k", .cancelAtMiddle = true},
        // Cancel answered No at the write's question: the write goes on to its end.
        {.name = "Cancel refused at block k", .cancelAtMiddle = true, .toCancelWrite = Answer::No},
    };
    return f;
}

struct Cell : LinkBench { void check(const Transfer& t, const Fault& f); };

} // namespace

TEST(FaultMatrix, EveryTransferAgainstEveryFault) {
    for (const Transfer& t : AllTransfers()) {
        for (const Fault& f : AllFaults()) {
            SCOPED_TRACE(std::string(t.name) + " / " + f.name);
            Cell().check(t, f);
        }
    }
}

void Cell::check(const Transfer& t, const Fault& f) {
    platform.otherwise = Answer::Cancel;  // every prompt is answered Cancel
    vktsim::Eeprom& eeprom = radio().eeprom;
    for (size_t a = 0; a < eeprom.size(); ++a) eeprom[a] ^= static_cast<uint8_t>(a * 5 + 1);
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 3);
    const VKTCore::Image before = MemoryImage;
    const vktsim::Eeprom radioBefore = eeprom;
    const int middle = t.firstBlock + t.blocks / 2;
    f.inject(radio(), middle);
    bool asked = false;
    if (f.cancelAtMiddle) {
        platform.onEvents = [&] {
            const auto n = std::ranges::count(wire(), t.write ? 212 : 198);
            if (n >= (t.write ? 3 : t.blocks / 2) && proc.Loaded() && !proc.Cancelled && !asked) {
                asked = true;
                if (t.write) platform.answer(f.toCancelWrite, VKTCom::frmProc::CancelWriteQuestion);
                proc.CancelButton_Click();
            }
        };
    }
    const bool ok = t.run(transfers);

    EXPECT_FALSE(link.RadioHooked);
    EXPECT_LT(clock.now(), 120.0);
    clock.advance(0.5);
    EXPECT_FALSE(radio().hooked() && !radio().disconnected());
    EXPECT_FALSE(proc.Loaded());
    EXPECT_TRUE(mainWindow.Enabled());

    const int from = t.firstBlock * 32, to = (t.firstBlock + t.blocks) * 32;
    // Only a read that came back whole changes the image: its region, to the radio's bytes.
    for (int a = 0; a < VKTCore::ImageSize; ++a) {
        const bool taken = !t.write && ok && a >= from && a < to;
        ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], taken ? radioBefore[static_cast<size_t>(a)] : before[static_cast<size_t>(a)]) << a;
    }

    // Cancel ends a read with False and a write's block phase with True.
    if (f.cancelAtMiddle) { EXPECT_EQ(ok, t.write); }
    // A write done holds what it sent, and only that, in its region; one cancelled at its third
    // block holds no more than two blocks of it.
    if (t.write && ok) {
        int blocksChanged = 0;
        for (int N = t.firstBlock; N < t.firstBlock + t.blocks; ++N) {
            bool changed = false;
            for (int a = N * 32; a < N * 32 + 32; ++a) {
                const int sent = VKTCom::SentBits(a), got = eeprom[static_cast<size_t>(a)];
                changed = changed || got != radioBefore[static_cast<size_t>(a)];
                if (f.toCancelWrite == Answer::No || !f.cancelAtMiddle) {
                    ASSERT_EQ(got, (radioBefore[static_cast<size_t>(a)] & ~sent) | (before[static_cast<size_t>(a)] & sent)) << a;
                }
            }
            blocksChanged += changed && N >= 8;
        }
        if (f.cancelAtMiddle && f.toCancelWrite == Answer::Yes) { EXPECT_LE(blocksChanged, 3); }
    }
    const char* expected = t.write ? f.write : f.read;
    // The unit-wide write has no blocks for a silence from block k to meet.
    if (!expected || (t.write && t.blocks == 8 && expected == Transfers::BlockFailedText)) return;
    EXPECT_EQ(ok, !*expected);
    if (!*expected) {
        EXPECT_TRUE(platform.boxes.empty());
        return;
    }
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(platform.boxes.back().text, expected);
    if (expected != Transfers::BlockFailedText) {
        EXPECT_EQ(platform.boxes.size(), 1u);
        return;
    }
    EXPECT_EQ(platform.boxes.front().title, "VKT Write");
    EXPECT_EQ(platform.boxes.back().title, "DOWNLOAD ERROR");
}
