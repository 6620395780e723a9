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

std::vector<int> WriteSet::readBack() const {
    std::vector<int> out;
    if (!page0.empty())
        for (int N = 0; N < FirstGroupBlock; ++N) out.push_back(N);
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

WriteSet WholeWrite(bool skipGlobals) {
    WriteSet set;
    for (int i = 0; i < 256 && !skipGlobals; ++i) set.page0.push_back(i);
    for (int N = FirstGroupBlock; N < VKTCore::BlockCount; ++N) set.blocks.push_back(N);
    return set;
}

WriteSet ChangedBlocks(const VKTCore::Image& radio, const VKTCore::Image& setup, bool skipGlobals) {
    auto differs = [&](int a) { return ((radio[static_cast<size_t>(a)] ^ setup[static_cast<size_t>(a)]) & SentBits(a)) != 0; };
    WriteSet set;
    for (int i = 0; i < 256 && !skipGlobals; ++i)
        if (differs(i)) set.page0.push_back(i);
    for (int N = FirstGroupBlock; N < VKTCore::BlockCount; ++N)
        for (int a = N * BlockBytes; a < (N + 1) * BlockBytes; ++a)
            if (differs(a)) {
                set.blocks.push_back(N);
                break;
            }
    return set;
}

namespace {

std::string Counted(size_t n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

std::string Written(const std::string& blocks, size_t page0Bytes) {
    const std::string bytes = page0Bytes ? Counted(page0Bytes, "unit-wide byte", "unit-wide bytes") : "";
    if (blocks.empty()) return bytes.empty() ? "nothing" : bytes;
    return bytes.empty() ? blocks : blocks + " and " + bytes;
}

} // namespace

std::string WrittenCount(const std::vector<int>& blocks, size_t page0Bytes) {
    return Written(blocks.empty() ? "" : Counted(blocks.size(), "block", "blocks"), page0Bytes);
}

std::string WrittenList(const std::vector<int>& blocks, size_t page0Bytes) {
    std::vector<int> sorted = blocks;
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1) ++j;
        text += (text.empty() ? "" : ", ") + std::to_string(sorted[i]) + (j > i ? "-" + std::to_string(sorted[j]) : "");
        i = j + 1;
    }
    return Written(sorted.empty() ? "" : (sorted.size() == 1 ? "block " : "blocks ") + text, page0Bytes);
}

double Transfers::byteSeconds() { return 10.0 / std::max(1, vkt::BaudOfSettings(Comm().settings())); }

// What was measured falls short of the adapter's timer by as much as the
// command and the radio's first byte took: twice it is ample.
double Transfers::guardedHoldBack() const { return 2 * holdBack_; }

bool Transfers::readFailed() {
    platform().MsgBox(ReadErrorText, Buttons::OK, Icon::Exclamation, "VKT Read");
    return false;
}

bool Transfers::isExpectedRadio(const char* untouched) {
    OtherUnit = false;
    if (!ExpectedRadio) return true;
    auto otherRadio = [this](const std::string& why) {
        link_.failed(why);
        link_.UnhookRadio();
        proc_.Unload();
        platform().MsgBox(OtherRadioText, Buttons::OK, Icon::Exclamation, DownloadErrorTitle);
        return false;
    };
    if (link_.RadioInfo != ExpectedRadio->identity)
        return otherRadio("the radio on the cable is " + vkt::IdentityText(link_.RadioInfo) + ", not " +
                          vkt::IdentityText(ExpectedRadio->identity) + " that was read");
    for (size_t i = 0; i < CalibrationAddresses.size(); ++i) {
        int value = 0;
        if (!link_.ReadEEByte(0, CalibrationAddresses[i], value)) {  // it said why and released the radio
            proc_.Unload();
            return false;
        }
        if (value != ExpectedRadio->calibration[i]) {
            OtherUnit = true;
            return otherRadio(std::string(OtherUnitText) + "; " + untouched);
        }
    }
    return true;
}

bool Transfers::ReadBlock(int N) { return readBlock(N, image_, -1); }

double Transfers::quietTime() { return std::max(AdapterLatency, guardedHoldBack()) + 2 * byteSeconds(); }

int Transfers::dropUntilQuiet() {
    size_t dropped = Comm().readAll().size();
    while (link_.byteBefore(link_.deadline(quietTime()))) dropped += Comm().readAll().size();
    return static_cast<int>(dropped);
}

// A stall is not a failure: a loaded machine or a busy adapter can keep an
// honest answer waiting past the time-out. Once the line has been quiet for
// the guard time, whatever came of the stalled answer is dropped and the
// block asked again, as often as a write is.
bool Transfers::readBlock(int N, VKTCore::Image& into, int previous) {
    const int progress = proc_.Prog1.Value();
    for (int retries = 0;; ++retries) {
        const Asked asked = askBlock(N, into, previous);
        if (asked == Asked::Whole) return true;
        if (asked == Asked::Stalled && retries < link_.LinkRetries) {
            link_.note("retry: block " + std::to_string(N));
            dropUntilQuiet();
            proc_.Prog1.setValue(progress);
            continue;
        }
        if (asked == Asked::Stalled) link_.failed(link_.LastFailure + ", asked again " + Counted(static_cast<size_t>(retries), "time", "times"));
        return readFailed();
    }
}

Transfers::Asked Transfers::askBlock(int N, VKTCore::Image& into, int previous) {
    const std::string block = "block " + std::to_string(N);
    // Bytes that are no block's, said as what was seen and where: all of
    // them, counted once the line is quiet. Right behind a block's answer
    // one byte is most likely its 33rd; more came with it, before or inside
    // it (the last of its own bytes then come after it).
    auto surplus = [&](const char* before) {
        const auto count = static_cast<size_t>(dropUntilQuiet());
        if (previous < 0) return (count == 1 ? std::string("a byte") : Counted(count, "byte", "bytes")) + " before " + block + before;
        const std::string last = "block " + std::to_string(previous);
        return count == 1 ? "a 33rd byte after " + last : Counted(count, "byte", "bytes") + " too many after " + last + "'s answer";
    };
    // A byte waiting before the command belongs to no block: taken as this
    // block's, it would shift every byte after it (a slow radio's whole
    // answer is waiting by the time its pacing is sent).
    if (Comm().inBufferCount() > 0) {
        link_.failed(surplus("'s command"));
        return Asked::Failed;
    }
    // No honest radio answers before it has heard the whole command: two
    // bytes (three with a fast radio's trigger) going out, and one more byte
    // time for its first byte to come in. A byte in that window is the
    // previous block's 33rd (sent right behind the 32nd, it is whole one
    // byte time after it) or line noise, and taken for this block's it
    // would shift every byte after it. Watching the window costs nothing:
    // the answer cannot come sooner. It is two byte times long, and a fast
    // radio's first byte is due at four, a slow one's at three; for a slow
    // radio the first pacing pause (3 ms, under its three byte times of
    // 6.2 ms) is the window.
    // A byte seen in the window only raises the suspicion: a machine that
    // stalled between sending the command and starting to watch sees an
    // honest first byte there too. So the block is read, and a stray shows
    // as one byte too many right behind it; an honest radio sends no 33rd.
    // Bytes a USB adapter holds back longer still show: a read never throws
    // received bytes away, so they are waiting before a later block's
    // command or after the last block.
    Comm().writeByte(Protocol::ReadBlock);
    Comm().writeByte(static_cast<uint8_t>(N));
    bool early = false;
    if (link_.FastRadio) {
        Comm().writeByte(Protocol::FastBlockTrigger);
        early = link_.byteBefore(link_.deadline(2 * byteSeconds()));
    } else {
        for (int i = 0; i < PacingBytes; ++i) {
            if (i > 0) platform().Sleep(PacingPauseMs);
            else early = link_.byteBefore(link_.deadline(PacingPauseMs / 1000.0));
            Comm().writeByte(0);
        }
    }
    // The adapter's hold-back shows as a gap inside the answer, or, where
    // its bursts have fallen in step with the blocks, as a wait for the
    // answer's first byte; a radio that answers late or a stalled machine
    // counts too, and only makes the guards wait longer.
    double previousByteAt = platform().Timer();
    for (int i = 0; i < BlockBytes; ++i) {
        int b = 0;
        if (!link_.WaitForByte(b, block + ": byte " + std::to_string(i + 1) + " missing")) return Asked::Stalled;
        const double at = platform().Timer();
        holdBack_ = std::max(holdBack_, at - previousByteAt);
        previousByteAt = at;
        into[static_cast<size_t>(N * BlockBytes + i)] = static_cast<uint8_t>(b);
        proc_.Prog1.setValue(proc_.Prog1.Value() + 1);
    }
    if (early && link_.byteBefore(link_.deadline(guardedHoldBack() + 2 * byteSeconds()))) {
        link_.failed(surplus("'s answer"));
        return Asked::Failed;
    }
    return Asked::Whole;
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

bool Transfers::readBlocks(const std::vector<int>& blocks, const char* caption) {
    link_.UseFastLink = true;
    if (!link_.HookRadio()) return false;
    if (!isExpectedRadio("nothing was compared")) return false;
    proc_.Prog1.setMin(0);
    proc_.Prog1.setMax(static_cast<int>(blocks.size()) * BlockBytes);
    proc_.ShowForm(caption, false);
    proc_.EnableCancel();
    platform().Sleep(SettleMs);
    holdBack_ = 0;
    auto abandon = [this] {
        link_.UnhookRadio();
        proc_.Unload();
        return false;
    };
    // The blocks are read aside and go into the image only once all came:
    // a read that fails or is cancelled part-way leaves the setup being
    // edited as it was (the serial trace still has what came).
    const auto scratch = std::make_unique<VKTCore::Image>();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const bool cancelled = proc_.Cancelled;
        if (!readBlock(blocks[i], *scratch, i == 0 ? -1 : blocks[i - 1]) || cancelled) return abandon();
    }
    // After the last block, the time a USB adapter may hold bytes back (its
    // latency timer: 16 ms on the common chips, up to 255 ms when set so, and
    // longer through a virtual machine) plus two byte times.
    if (!blocks.empty() && !link_.staysQuiet(link_.deadline(quietTime()),
                                             "block " + std::to_string(blocks.back()) + ": bytes after the last block")) {
        readFailed();
        return abandon();
    }
    for (int N : blocks) {
        const auto from = static_cast<std::ptrdiff_t>(N * BlockBytes);
        std::copy(scratch->begin() + from, scratch->begin() + from + BlockBytes, image_.begin() + from);
    }
    platform().Beep();
    proc_.Prog1.setValue(0);
    proc_.Unload();
    link_.UnhookRadio();
    return true;
}

namespace {

std::vector<int> BlockRange(int first, int count) {
    std::vector<int> blocks;
    for (int N = first; N < first + count; ++N) blocks.push_back(N);
    return blocks;
}

} // namespace

bool Transfers::ReadAllMemory() { return readBlocks(BlockRange(0, VKTCore::BlockCount), "Reading VKT Memory"); }
bool Transfers::ReadGlobalMemory() { return readBlocks(BlockRange(0, 8), "Reading VKT Global"); }
bool Transfers::ReadGroupMemory(int g) {
    if (g < 1 || g > VKTCore::GroupCount) return false;
    return readBlocks(BlockRange(GroupFirstBlock(g), BlocksPerGroup), "Reading VKT Group");
}
bool Transfers::ReadBlocks(const std::vector<int>& blocks) { return readBlocks(blocks, "Reading VKT Memory"); }

bool Transfers::writeSet(WriteKind kind, const WriteSet& set, const char* caption) {
    BlocksWritten.clear();
    Page0Written.clear();
    const int page0Units = set.page0.empty() ? 0 : 256;
    proc_.Prog1.setMin(0);
    proc_.Prog1.setMax(page0Units + static_cast<int>(set.blocks.size()) * BlockBytes);
    if (kind != WriteKind::Global) {
        proc_.ShowForm(caption, true);
        proc_.EnableCancel();
    }
    auto noted = [](std::vector<int>& list, int n) {
        if (std::find(list.begin(), list.end(), n) == list.end()) list.push_back(n);
    };
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
        if (!isExpectedRadio("nothing was written")) return false;
        if (kind == WriteKind::Global || !proc_.Loaded()) {
            proc_.ShowForm(caption, true);
            proc_.EnableCancel();
        }
        // A retry starts the bar over rather than running it past its end.
        proc_.Prog1.setValue(0);

        bool failed = false;
        for (size_t k = 0; k < set.page0.size() && !failed; ++k) {
            const auto i = static_cast<size_t>(set.page0[k]);
            if (WriteMaskedByte(0, set.page0[k], link_.GlobalWriteMask[i], image_[i])) {
                if (link_.GlobalWriteMask[i]) noted(Page0Written, set.page0[k]);
                proc_.Prog1.setValue(static_cast<int>(k) * 256 / static_cast<int>(set.page0.size()));
            } else {
                failed = true;
            }
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
        if (!set.page0.empty()) proc_.Prog1.setValue(page0Units);
        for (int N : set.blocks) {
            if (!WriteBlock(N)) {
                if (platform().MsgBox(BlockFailedText, Buttons::RetryCancel, Icon::None, DownloadErrorTitle) == Answer::Retry) {
                    link_.note("retry: the whole write again");
                    again = true;
                }
                else
                    result = false;
                break;
            }
            noted(BlocksWritten, N);
            if (proc_.Cancelled) break;
        }
    }
    platform().Beep();
    proc_.Prog1.setValue(0);
    proc_.Unload();
    link_.UnhookRadio();
    return result;
}

bool Transfers::WriteAllMemory(bool skipGlobals) { return writeSet(WriteKind::All, WholeWrite(skipGlobals), "Writing VKT Memory"); }

bool Transfers::WriteGlobalMemory() { return writeSet(WriteKind::Global, {WholeWrite(false).page0, {}}, "Writing VKT Global"); }

bool Transfers::WriteGroupMemory(int g) {
    if (g < 1 || g > VKTCore::GroupCount) return false;
    return writeSet(WriteKind::Group, {{}, BlockRange(GroupFirstBlock(g), BlocksPerGroup)}, "Writing VKT Group");
}

bool Transfers::WriteBlocks(const WriteSet& set) { return writeSet(WriteKind::All, set, "Writing VKT Memory"); }

} // namespace VKTCom
