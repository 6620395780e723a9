// Every transfer against every fault the emulator can inject: the messages
// shown, the radio released, a bounded run, and which image bytes changed.
// The matrix is printed to the test log.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "core/MemoryImage.h"
#include "link/Transfers.h"
#include "sim/SimSerialPort.h"
#include "tests/support/ScriptedPlatform.h"

using vkt::Answer;
using VKTCom::RadioLink;
using VKTCom::Transfers;
using VKTCore::MemoryImage;

namespace {

struct Transfer {
    const char* name;
    bool write;
    int firstBlock, blocks;
    std::function<bool(Transfers&)> run;
};

struct Fault {
    const char* name;
    std::function<void(vktsim::RadioModel&, int middleBlock)> inject;
    bool cancelAtMiddle = false;
};

const std::vector<Transfer>& AllTransfers() {
    static const std::vector<Transfer> t = {
        {"ReadAllMemory", false, 0, 188, [](Transfers& x) { return x.ReadAllMemory(); }},
        {"ReadGlobalMemory", false, 0, 8, [](Transfers& x) { return x.ReadGlobalMemory(); }},
        {"ReadGroupMemory(7)", false, 80, 12, [](Transfers& x) { return x.ReadGroupMemory(7); }},
        {"WriteAllMemory", true, 0, 188, [](Transfers& x) { return x.WriteAllMemory(false); }},
        {"WriteGlobalMemory", true, 0, 8, [](Transfers& x) { return x.WriteGlobalMemory(); }},
        {"WriteGroupMemory(7)", true, 80, 12, [](Transfers& x) { return x.WriteGroupMemory(7); }},
    };
    return t;
}

const std::vector<Fault>& AllFaults() {
    static const std::vector<Fault> f = {
        {"none", [](vktsim::RadioModel&, int) {}},
        {"silent", [](vktsim::RadioModel& r, int) { r.faults.silent = true; }},
        {"silent from block k", [](vktsim::RadioModel& r, int k) { r.faults.silentFromBlock = k; }},
        {"wrong hook byte", [](vktsim::RadioModel& r, int) { r.faults.hookAck = 0x55; }},
        {"stray bytes at block k", [](vktsim::RadioModel& r, int k) { r.faults.strayBytesBeforeBlock = k; }},
        {"extra byte after block k", [](vktsim::RadioModel& r, int k) { r.faults.extraByteAfterBlock = k; }},
        {"byte lost in block k", [](vktsim::RadioModel& r, int k) { r.faults.dropByteInBlock = k; }},
        // Time-outs run from when the bytes are handed to the port, so a block
        // write's answer must come within 0.5 s less its 70 ms on the line.
        {"replies 0.40 s late", [](vktsim::RadioModel& r, int) { r.faults.replyDelay = 0.40; }},
        {"replies 0.55 s late", [](vktsim::RadioModel& r, int) { r.faults.replyDelay = 0.55; }},
        {"masked writes nacked 3x", [](vktsim::RadioModel& r, int) { r.faults.nacksBeforeAck = 3; }},
        {"cable pulled mid-way", [](vktsim::RadioModel& r, int) { r.faults.disconnectAfterBytes = 400; }},
        {"Cancel at block k", [](vktsim::RadioModel&, int) {}, true},
    };
    return f;
}

} // namespace

TEST(FaultMatrix, EveryTransferAgainstEveryFault) {
    std::printf("\n%-22s %-26s %-6s %6s %s\n", "transfer", "fault", "result", "secs", "messages");
    int cells = 0;
    for (const Transfer& t : AllTransfers()) {
        for (const Fault& f : AllFaults()) {
            SCOPED_TRACE(std::string(t.name) + " / " + f.name);
            vktsim::VirtualClock clock;
            vktsim::SimSerialPort port(clock);
            vkttest::ScriptedPlatform platform(clock);
            platform.setSerialPort(port);
            platform.otherwise = Answer::Cancel;  // every prompt is answered Cancel
            vkt::Window main("main");
            VKTCom::frmProc proc(platform, main);
            RadioLink link(platform);
            Transfers transfers(link, proc);
            link.InitLinkParameters();
            port.radio().eeprom = vktsim::RadioModel::FactorySetup();
            for (size_t a = 0; a < port.radio().eeprom.size(); ++a) port.radio().eeprom[a] ^= static_cast<uint8_t>(a * 5 + 1);
            for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 3);
            const VKTCore::Image before = MemoryImage;
            const vktsim::Eeprom radioBefore = port.radio().eeprom;
            const int middle = t.firstBlock + t.blocks / 2;
            f.inject(port.radio(), middle);
            if (f.cancelAtMiddle) {
                platform.onEvents = [&] {
                    int n = 0;
                    for (const auto& s : port.sent) n += s.byte == (t.write ? 212 : 198);
                    if (n >= (t.write ? 3 : t.blocks / 2) && proc.Loaded() && !proc.Cancelled) {
                        platform.answer(Answer::Yes);
                        proc.CancelButton_Click();
                    }
                };
            }
            const bool ok = t.run(transfers);
            const double seconds = clock.now();
            ++cells;

            std::string messages;
            for (const auto& b : platform.boxes) messages += (messages.empty() ? "" : " | ") + b.text;
            std::printf("%-22s %-26s %-6s %6.1f %s\n", t.name, f.name, ok ? "ok" : "FALSE", seconds, messages.c_str());

            // Released, and the progress window gone, whatever happened.
            EXPECT_FALSE(link.RadioHooked);
            EXPECT_FALSE(port.isOpen() && link.RadioHooked);
            clock.advance(0.5);
            EXPECT_FALSE(port.radio().hooked() && !port.radio().disconnected());
            EXPECT_FALSE(proc.Loaded());
            EXPECT_TRUE(main.Enabled());
            EXPECT_LT(seconds, 120.0);

            if (t.write) {
                EXPECT_EQ(MemoryImage, before);  // a write never changes the image
            } else {
                // A read changes nothing outside its region.
                const int from = t.firstBlock * 32, to = (t.firstBlock + t.blocks) * 32;
                for (int a = 0; a < VKTCore::ImageSize; ++a) {
                    if (a < from || a >= to) {
                        ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], before[static_cast<size_t>(a)]) << a;
                    }
                }
                if (ok && f.name == std::string("none")) {
                    for (int a = from; a < to; ++a) ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], radioBefore[static_cast<size_t>(a)]);
                }
                // Blocks before the fault's block were read as the radio holds them.
                if (std::string(f.name).find("block k") != std::string::npos || f.cancelAtMiddle) {
                    for (int a = from; a < middle * 32; ++a)
                        ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], radioBefore[static_cast<size_t>(a)]) << a;
                }
            }
            // Expected messages for the faults whose course is certain.
            const std::string name = f.name;
            if (name == "none" || name == "replies 0.40 s late" || name == "masked writes nacked 3x") {
                EXPECT_TRUE(ok);
                EXPECT_TRUE(platform.boxes.empty());
            }
            if (name == "silent" || name == "wrong hook byte") {
                EXPECT_FALSE(ok);
                ASSERT_EQ(platform.boxes.size(), 1u);
                EXPECT_EQ(platform.boxes[0].text, RadioLink::HookPromptText);
            }
            // A read whose bytes came shifted fails; the write side never
            // reads blocks, so these faults do not touch it.
            if (!t.write && (name == "silent from block k" || name == "byte lost in block k" ||
                             name == "stray bytes at block k" || name == "extra byte after block k")) {
                EXPECT_FALSE(ok);
                ASSERT_EQ(platform.boxes.size(), 1u);
                EXPECT_EQ(platform.boxes[0].text, Transfers::ReadErrorText);
            }
            if (t.write && name == "silent from block k" && t.name != std::string("WriteGlobalMemory")) {
                EXPECT_FALSE(ok);
                ASSERT_FALSE(platform.boxes.empty());
                EXPECT_EQ(platform.boxes.front().title, "VKT Write");
                EXPECT_EQ(platform.boxes.back().text, Transfers::BlockFailedText);
                EXPECT_EQ(platform.boxes.back().title, "DOWNLOAD ERROR");
            }
            // Cancel ends a read with False and a write's block phase with True.
            if (f.cancelAtMiddle) {
                EXPECT_EQ(ok, t.write);
            }
        }
    }
    std::printf("%d cells\n", cells);
    EXPECT_EQ(cells, 72);
}
