// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Block transfers between the radio's EEPROM and the memory image: the whole
// memory, page 0 or one group, each on a newly hooked radio, with progress and
// Cancel in the progress window, ending with the radio released.

#include "core/MemoryImage.h"
#include "link/RadioLink.h"
#include "link/frmProc.h"

namespace VKTCom {

// The bits of a radio byte that writing the whole memory sends: the unit-wide
// settings of page 0, the encode-only bit of a group's first byte and every
// bit from a group's 33rd byte on. A radio that took the write holds exactly
// these bits of the image.
uint8_t SentBits(int address);

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

    static constexpr const char* ReadErrorText = "Error reading radio";
    static constexpr const char* WriteErrorText = "Error writing radio";
    static constexpr const char* GlobalFailedText = "Download Failed.  Cycle Radio power before Retrying";
    static constexpr const char* BlockFailedText = "Download Failed. Cycle Radio Power before Retrying.";
    static constexpr const char* DownloadErrorTitle = "DOWNLOAD ERROR";

private:
    struct Region { int firstBlock; int blocks; };
    bool readRegion(Region region, int bytes, const char* caption);
    bool readBlock(int N, VKTCore::Image& into);
    enum class WriteKind { All, Global, Group };
    bool writeRegion(WriteKind kind, bool writePage0, Region blocks, int bytes, const char* caption);

    // Shows the read error; false.
    bool readFailed();
    double byteSeconds();
    vkt::Platform& platform() { return link_.platform(); }
    vkt::SerialPort& Comm() { return link_.Comm(); }

    RadioLink& link_;
    frmProc& proc_;
    VKTCore::Image& image_;
};

} // namespace VKTCom
