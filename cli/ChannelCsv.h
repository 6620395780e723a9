#pragma once
// The channels of all groups as CSV, and back: one row per channel with its
// frequencies, channel guards, label and flags, under a header row.

#include <string>

#include "core/MemoryImage.h"

namespace vktcli {

std::string ExportCsv(const VKTCore::Image& image);
// Checks every row first and changes the image only when all are good;
// otherwise error names the row (1 = the first after the header) and why.
bool ImportCsv(const std::string& csv, VKTCore::Image& image, std::string& error);

inline constexpr const char* CsvHeader = "group,channel,rx_freq,tx_freq,rx_cg,tx_cg,label,scan,narrow,low_power";

} // namespace vktcli
