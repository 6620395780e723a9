// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Block transfers between the radio's EEPROM and the memory image: the whole
// memory, page 0 or one group, each on a newly hooked radio, with progress and
// Cancel in the progress window, ending with the radio released.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/MemoryImage.h"
#include "link/Fingerprint.h"
#include "link/RadioLink.h"
#include "link/frmProc.h"

namespace VKTCom {

// The bits of a radio byte that writing the whole memory sends: the unit-wide
// settings of page 0, the encode-only bit of a group's first byte and every
// bit from a group's 33rd byte on. A radio that took the write holds exactly
// these bits of the image.
uint8_t SentBits(int address);

// What one write sends: page-0 bytes, each through its write mask, and
// blocks from 8 on (a group's first block as its one masked byte), in
// memory order. A whole write is the set of every one of them.
struct WriteSet {
    std::vector<int> page0;   // offsets 0 ... 255
    std::vector<int> blocks;  // 8 ... 187
    bool empty() const { return page0.empty() && blocks.empty(); }
    // The blocks a read-back of this write reads: page 0's too when any of its bytes went.
    std::vector<int> readBack() const;
};

// Every block of the memory, the unit-wide bytes unless skipGlobals.
WriteSet WholeWrite(bool skipGlobals);
// Only what differs between the radio and the setup in the bits a whole
// write sends: the blocks with a differing sent bit and the page-0 bytes
// (unless skipGlobals) whose masked bits differ.
WriteSet ChangedBlocks(const VKTCore::Image& radio, const VKTCore::Image& setup, bool skipGlobals);
// "12 blocks and 2 unit-wide bytes", "nothing".
std::string WrittenCount(const std::vector<int>& blocks, size_t page0Bytes);
// "blocks 20-31, 44 and 2 unit-wide bytes", "nothing".
std::string WrittenList(const std::vector<int>& blocks, size_t page0Bytes);

class Transfers {
public:
    // image: where reads put the radio's bytes and writes take them from.
    Transfers(RadioLink& link, frmProc& proc, VKTCore::Image& image = VKTCore::MemoryImage)
        : link_(link), proc_(proc), image_(image) {}

    // Seconds of answers other than 1 to one masked write that count as a
    // Cancel, where nobody is there to press it; 0: refusals never end it.
    double RefusalLimit = 0;

    RadioLink& link() { return link_; }

    bool ReadBlock(int N);
    bool WriteBlock(int N);
    bool WriteMaskedByte(int page, int offset, int mask, int value);

    bool ReadAllMemory();
    bool ReadGlobalMemory();
    // g: the group number 1 ... 15.
    bool ReadGroupMemory(int g);
    bool WriteAllMemory(bool skipGlobals);
    bool WriteGlobalMemory();
    bool WriteGroupMemory(int g);
    // The chosen part of the memory, as a whole write sends it (same
    // commands, retries, Cancel and release).
    bool WriteBlocks(const WriteSet& set);
    // These blocks of the radio into the image, nothing else of it.
    bool ReadBlocks(const std::vector<int>& blocks);

    // When set, a hook that finds another radio ends the transfer before it
    // sends or reads anything: another model by its identity bytes, another
    // unit of the model by its calibration, read with byte reads first.
    std::optional<Fingerprint> ExpectedRadio;
    // The last transfer ended because the radio's calibration was not the expected one.
    bool OtherUnit = false;
    // What the last write had sent and seen acknowledged, retries
    // included: blocks in the order they went, and page-0 bytes.
    std::vector<int> BlocksWritten;
    std::vector<int> Page0Written;

    static constexpr const char* ReadErrorText = "Error reading radio";
    static constexpr const char* WriteErrorText = "Error writing radio";
    static constexpr const char* GlobalFailedText = "Download Failed.  Cycle Radio power before Retrying";
    static constexpr const char* BlockFailedText = "Download Failed. Cycle Radio Power before Retrying.";
    static constexpr const char* DownloadErrorTitle = "DOWNLOAD ERROR";
    static constexpr const char* OtherRadioText = "This is not the radio that was read. Nothing was sent to it.";
    static constexpr const char* OtherUnitText = "the radio on the cable is not the one that was read (its calibration differs)";

private:
    bool readBlocks(const std::vector<int>& blocks, const char* caption);
    // previous: the block read just before on this hook, -1 for none.
    bool readBlock(int N, VKTCore::Image& into, int previous);
    // One asking of a block: its whole answer, an answer that stalled, or a
    // fault that asking again would not mend (said in LastFailure).
    enum class Asked { Whole, Stalled, Failed };
    Asked askBlock(int N, VKTCore::Image& into, int previous);
    enum class WriteKind { All, Global, Group };
    bool writeSet(WriteKind kind, const WriteSet& set, const char* caption);
    // False, with the radio released, when the hooked radio is not
    // ExpectedRadio; untouched says what that spared ("nothing was written").
    bool isExpectedRadio(const char* untouched);

    // Shows the read error; false.
    bool readFailed();
    double byteSeconds();
    // How long a guard waits for bytes an adapter may still be holding back.
    double guardedHoldBack() const;
    // How long the line stays quiet before a read trusts that nothing more comes.
    double quietTime();
    // Drops what comes in until the line has been quiet for the guard time;
    // how many bytes that was.
    int dropUntilQuiet();
    vkt::Platform& platform() { return link_.platform(); }
    vkt::SerialPort& Comm() { return link_.Comm(); }

    RadioLink& link_;
    frmProc& proc_;
    VKTCore::Image& image_;
    // The longest a byte of a block's answer kept the host waiting in this
    // read: what the adapter holds bytes back for, measured.
    double holdBack_ = 0;
};

} // namespace VKTCom
