// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plan reader with arbitrary rows under its header: whatever it takes must
// come back the same through the writer, or the round trip of a setup is broken.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ChannelPlan.h"

inline int ReadPlanRows(const std::string& header, const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the options: the list's first group and whether names are cut.
    const VKTCore::PlanOptions options{.firstGroup = data[0] % VKTCore::GroupCount, .cutNames = (data[0] & 0x80) != 0};
    const std::string text = header + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    VKTCore::ChannelPlan plan;
    std::string error;
    if (!VKTCore::ReadPlan(text, options, plan, error)) return 0;
    VKTCore::Image image{};
    VKTCore::ApplyPlan(plan, image);
    if (VKTCore::ProgrammedChannels(image).empty()) return 0;
    VKTCore::ChannelPlan back;
    if (!VKTCore::ReadPlan(VKTCore::WritePlan(image, plan.format).text, {}, back, error)) __builtin_trap();
    VKTCore::Image again = image;
    VKTCore::ApplyPlan(back, again);
    if (again != image) __builtin_trap();
    return 0;
}
