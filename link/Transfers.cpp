// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Transfers.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"
#include "link/Protocol.h"

namespace VKTCom {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;

namespace {

constexpr double AdapterLatency = 0.016;
constexpr int PacingBytes = 31;
constexpr int PacingPauseMs = 3;
constexpr int SettleMs = 500;
constexpr int BlockBytes = VKTCore::BlockSize;
constexpr int FirstGroupBlock = 8;
constexpr int BlocksPerGroup = 12;
// Of a group's first 32 bytes only the encode-only bit of the first is sent.
constexpr uint8_t GroupFirstByteMask = VKTCore::FieldBitsAt(VKTCore::GroupBlock::UCGEncodeOnly, 0);

bool IsGroupFirstBlock(int N) { return (N - FirstGroupBlock) % BlocksPerGroup == 0; }
int GroupFirstBlock(int g) { return (g - 1) * BlocksPerGroup + FirstGroupBlock; }

} // namespace

uint8_t SentBits(int address) {
    if (address < 0 || address >= VKTCore::RadioMemorySize) return 0;
    if (address < FirstGroupBlock * BlockBytes) return VKTCore::UnitWideBits(address);
    const int inGroup = (address - VKTCore::GroupBase(0)) % VKTCore::GroupAreaSize;
    if (inGroup == 0) return GroupFirstByteMask;
    return inGroup < BlockBytes ? 0 : 0xFF;
}

double Transfers::byteSeconds() { return 10.0 / std::max(1, vkt::BaudOfSettings(Comm().settings())); }

bool Transfers::readFailed() {
    platform().MsgBox(ReadErrorText, Buttons::OK, Icon::Exclamation, "VKT Read");
    return false;
}

bool Transfers::ReadBlock(int N) { return readBlock(N, image_); }

bool Transfers::readBlock(int N, VKTCore::Image& into) {
    const std::string block = "block " + std::to_string(N);
    // A byte waiting before the command belongs to no block: taken as this
    // block's, it would shift every byte after it.
    if (const int waiting = Comm().inBufferCount(); waiting > 0) {
        link_.failed(block + ": " + std::to_string(waiting) + " stray bytes before the command");
        return readFailed();
    }
    Comm().writeByte(Protocol::ReadBlock);
    Comm().writeByte(static_cast<uint8_t>(N));
    if (link_.FastRadio) {
        Comm().writeByte(Protocol::FastBlockTrigger);
    } else {
        for (int i = 0; i < PacingBytes; ++i) {
            platform().Sleep(PacingPauseMs);
            Comm().writeByte(0);
        }
    }
    for (int i = 0; i < BlockBytes; ++i) {
        int b = 0;
        if (!link_.WaitForByte(b, block + ": byte " + std::to_string(i + 1) + " missing")) return readFailed();
        into[static_cast<size_t>(N * BlockBytes + i)] = static_cast<uint8_t>(b);
        proc_.Prog1.setValue(proc_.Prog1.Value() + 1);
    }
    // A 33rd byte means a byte inside the answer was not the radio's. On a
    // built-in port or a pseudo-terminal a byte sent right after the 32nd is
    // whole one byte time later; a second byte time covers the scheduling of
    // this program. Bytes a USB adapter holds back longer still show: a read
    // never throws received bytes away, so they are waiting before the next
    // block's command or after the last block.
    if (!link_.staysQuiet(link_.deadline(2 * byteSeconds()), block + ": a 33rd byte")) return readFailed();
    return true;
}

bool Transfers::WriteBlock(int N) {
    if (IsGroupFirstBlock(N)) {
        const int address = N * BlockBytes;
        const bool ok = WriteMaskedByte(address / 256, address % 256, GroupFirstByteMask, image_[static_cast<size_t>(address)]);
        proc_.Prog1.setValue(proc_.Prog1.Value() + BlockBytes);
        return ok;
    }
    Comm().writeByte(Protocol::WriteBlock);
    Comm().writeByte(static_cast<uint8_t>(N));
    for (int i = 0; i < BlockBytes; ++i) Comm().writeByte(image_[static_cast<size_t>(N * BlockBytes + i)]);
    proc_.Prog1.setValue(proc_.Prog1.Value() + BlockBytes);
    int b = 0;
    if (link_.WaitForByte(b, "block " + std::to_string(N) + ": no acknowledgement")) return true;
    platform().MsgBox(WriteErrorText, Buttons::OK, Icon::Exclamation, "VKT Write");
    return false;
}

bool Transfers::WriteMaskedByte(int page, int offset, int mask, int value) {
    if (mask == 0) return true;
    std::string reply = "0";
    int attempts = 0;
    std::optional<RadioLink::Deadline> refusing;
    for (;;) {
        for (int b : {static_cast<int>(Protocol::WriteByte), page, offset, mask, value}) Comm().writeByte(static_cast<uint8_t>(b));
        Comm().discardInput();
        const auto waited = link_.awaitBytes(1, link_.deadline(link_.LinkTimeout),
                                             "masked write " + AddressText(page, offset) + ": no answer",
                                             [this] { return proc_.Cancelled; });
        if (waited == RadioLink::WaitResult::Cancelled) {
            proc_.Unload();
            return false;
        }
        if (waited == RadioLink::WaitResult::Arrived) reply = std::to_string(Comm().readByte());
        else ++attempts;
        // Wrong answers are sent again without counting; only silence counts.
        if (reply == "1") return true;
        if (waited == RadioLink::WaitResult::Arrived && RefusalLimit > 0) {
            if (!refusing) refusing = link_.deadline(RefusalLimit);
            if (link_.passed(*refusing)) {
                link_.failed("masked write " + AddressText(page, offset) + ": refused for " + vkt::NumberText(RefusalLimit) + " s");
                proc_.Unload();
                return false;
            }
        }
        if (attempts > link_.LinkRetries) return false;
    }
}

bool Transfers::readRegion(Region region, int bytes, const char* caption) {
    link_.UseFastLink = true;
    if (!link_.HookRadio()) return false;
    proc_.Prog1.setMin(0);
    proc_.Prog1.setMax(bytes);
    proc_.ShowForm(caption, false);
    proc_.EnableCancel();
    platform().Sleep(SettleMs);
    auto abandon = [this] {
        link_.UnhookRadio();
        proc_.Unload();
        return false;
    };
    // The region is read aside and goes into the image only once it is
    // whole: a read that fails or is cancelled part-way leaves the setup
    // being edited as it was (the serial trace still has what came).
    const auto scratch = std::make_unique<VKTCore::Image>();
    const int last = region.firstBlock + region.blocks - 1;
    for (int N = region.firstBlock; N <= last; ++N) {
        const bool cancelled = proc_.Cancelled;
        if (!readBlock(N, *scratch) || cancelled) return abandon();
    }
    // After the last block, the time a USB adapter may hold bytes back (its
    // latency timer, 16 ms on the common chips) plus two byte times.
    if (!link_.staysQuiet(link_.deadline(AdapterLatency + 2 * byteSeconds()),
                          "block " + std::to_string(last) + ": bytes after the last block")) {
        readFailed();
        return abandon();
    }
    const auto from = static_cast<std::ptrdiff_t>(region.firstBlock * BlockBytes);
    const auto to = from + region.blocks * BlockBytes;
    std::copy(scratch->begin() + from, scratch->begin() + to, image_.begin() + from);
    platform().Beep();
    proc_.Prog1.setValue(0);
    proc_.Unload();
    link_.UnhookRadio();
    return true;
}

bool Transfers::ReadAllMemory() { return readRegion({0, VKTCore::BlockCount}, VKTCore::RadioMemorySize, "Reading VKT Memory"); }
bool Transfers::ReadGlobalMemory() { return readRegion({0, 8}, 256, "Reading VKT Global"); }
bool Transfers::ReadGroupMemory(int g) {
    if (g < 1 || g > VKTCore::GroupCount) return false;
    return readRegion({GroupFirstBlock(g), BlocksPerGroup}, VKTCore::GroupAreaSize, "Reading VKT Group");
}

bool Transfers::writeRegion(WriteKind kind, bool writePage0, Region blocks, int bytes, const char* caption) {
    proc_.Prog1.setMin(0);
    proc_.Prog1.setMax(bytes);
    if (kind != WriteKind::Global) {
        proc_.ShowForm(caption, true);
        proc_.EnableCancel();
    }
    bool result = true;
    for (bool again = true; again;) {
        again = false;
        link_.UnhookRadio();
        link_.UnhookRadio();
        platform().Sleep(SettleMs);
        link_.UseFastLink = false;
        if (!link_.HookRadio()) {
            proc_.Unload();
            return false;
        }
        if (kind == WriteKind::Global || !proc_.Loaded()) {
            proc_.ShowForm(caption, true);
            proc_.EnableCancel();
        }
        // A retry starts the bar over rather than running it past its end.
        proc_.Prog1.setValue(0);

        if (writePage0) {
            bool failed = false;
            for (int i = 0; i < 256 && !failed; ++i) {
                if (WriteMaskedByte(0, i, link_.GlobalWriteMask[static_cast<size_t>(i)], image_[static_cast<size_t>(i)]))
                    proc_.Prog1.setValue(i);
                else
                    failed = true;
            }
            if (failed) {
                if (platform().MsgBox(GlobalFailedText, Buttons::RetryCancel, Icon::None, DownloadErrorTitle) == Answer::Retry) {
                    link_.note("retry: the whole write again");
                    again = true;
                    continue;
                }
                result = false;
                break;
            }
        }
        for (int N = blocks.firstBlock; N < blocks.firstBlock + blocks.blocks; ++N) {
            if (!WriteBlock(N)) {
                if (platform().MsgBox(BlockFailedText, Buttons::RetryCancel, Icon::None, DownloadErrorTitle) == Answer::Retry) {
                    link_.note("retry: the whole write again");
                    again = true;
                }
                else
                    result = false;
                break;
            }
            if (proc_.Cancelled) break;
        }
    }
    platform().Beep();
    proc_.Prog1.setValue(0);
    proc_.Unload();
    link_.UnhookRadio();
    return result;
}

bool Transfers::WriteAllMemory(bool skipGlobals) {
    return writeRegion(WriteKind::All, !skipGlobals, {FirstGroupBlock, VKTCore::BlockCount - FirstGroupBlock},
                       skipGlobals ? 5760 : VKTCore::RadioMemorySize, "Writing VKT Memory");
}

bool Transfers::WriteGlobalMemory() { return writeRegion(WriteKind::Global, true, {0, 0}, 256, "Writing VKT Global"); }

bool Transfers::WriteGroupMemory(int g) {
    if (g < 1 || g > VKTCore::GroupCount) return false;
    return writeRegion(WriteKind::Group, false, {GroupFirstBlock(g), BlocksPerGroup}, VKTCore::GroupAreaSize,
                       "Writing VKT Group");
}

} // namespace VKTCom
