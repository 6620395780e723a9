// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channel plans as others publish them: an incident radio communications
// plan (the "Basic Radio Channel Use" table as CSV) and the channel-list CSV
// of the open-source programming tools. Both read into one model of the
// channels they set, checked by the grid's rules, and are written from a setup.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"

namespace VKTCore {

enum class PlanFormat { IncidentPlan, ChannelList };

// "ics205" and "channels", as the command line names them.
std::optional<PlanFormat> PlanFormatNamed(const std::string& name);
const char* PlanFormatTitle(PlanFormat format);

// One channel as a plan sets it: every value already in the radio's encoding.
struct PlanChannel {
    int line = 0;  // of the file, for what is said about the row
    int group = 0, channel = 0;
    uint16_t rx = 0, tx = 0, rxcg = 0, txcg = 0;
    LabelCodes label{};
    // Flags the format does not carry, or the row does not state, leave the setup's as they are.
    std::optional<bool> narrow, scan, lowPower;
};

struct ChannelPlan {
    PlanFormat format = PlanFormat::IncidentPlan;
    // The plan names its groups (an incident plan's Zone/Grp column): the
    // chosen first group plays no part. Known once the columns are, even when
    // a row is refused.
    bool groupsGiven = false;
    std::vector<PlanChannel> channels;
    // Names changed to fit the radio, one line each: `line 4: "ENGINE 12 TAC" cut to "ENGINE 1"`,
    // `line 5: "Fire,Tac" becomes "FIRE TAC"`.
    std::vector<std::string> renamed;
};

struct PlanOptions {
    // Where the first 16 channels of a plan without groups go (0 = group 1);
    // the rest fill the groups after it.
    int firstGroup = 0;
    // Names over 8 characters are cut rather than refused.
    bool cutNames = false;
};

// Which plan the file is, by the columns its header names.
std::optional<PlanFormat> DetectPlanFormat(const std::string& text);
// Reads every row; false, with the line, the column and the value in error,
// when any row breaks a rule.
bool ReadPlan(const std::string& text, const PlanOptions& options, ChannelPlan& plan, std::string& error);
// One row per programmed channel of the setup that the plan can hold as the
// setup has it: read back, every row sets the very bytes it came from. The
// others (an erased frequency, a step or tone the plans cannot write) are
// left out, a line each: `group 3 channel 5: column TX Freq N or W: "181.91875W" is not a frequency: ...`.
struct WrittenPlan {
    std::string text;
    size_t channels = 0;
    std::vector<std::string> leftOut;
};
WrittenPlan WritePlan(const Image& image, PlanFormat format);

std::vector<PlanChannel> ProgrammedChannels(const Image& image);
void ApplyPlan(const ChannelPlan& plan, Image& image);
// The groups and channels the plan sets, a line a group: "group 3: channels 1-5, 9".
std::vector<std::string> PlanChanges(const ChannelPlan& plan);

// A plan of all 240 channels is some 40 KiB; a file many times that is no plan.
inline constexpr size_t PlanMaxBytes = 1024 * 1024;

} // namespace VKTCore
