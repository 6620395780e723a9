// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channels of all groups as CSV, and back: one row per channel with its
// frequencies, channel guards, label and flags, under a header row.

#include <cstddef>
#include <string>

#include "core/MemoryImage.h"

namespace vktcli {

std::string ExportCsv(const VKTCore::Image& image);
// Takes the rows into the image: the header names the columns in any order,
// each value is read whole, and a value that reads as the image already
// reads leaves its bytes alone, so exporting and importing changes nothing.
// Every row is checked first and the image changes only when all are good;
// otherwise error names the line, the column and the value.
bool ImportCsv(const std::string& csv, VKTCore::Image& image, std::string& error);

// All 240 channels take about 15 KiB; a file many times that is no channel list.
inline constexpr size_t CsvMaxBytes = 1024 * 1024;

inline constexpr const char* CsvHeader = "group,channel,rx_freq,tx_freq,rx_cg,tx_cg,label,scan,narrow,low_power";

} // namespace vktcli
