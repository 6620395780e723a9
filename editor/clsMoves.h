// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving a bank's channel programming to another bank position: the 128-byte
// blocks of channel slots rotate between the two positions, and everything
// else (group settings, labels, per-channel flags) stays where it is.

#include <array>
#include <cstdint>

namespace vkteditor {

class clsMoves {
public:
    // Banks 1 ... 15; anything else moves nothing.
    void moveGroups(int fromGroup, int toGroup);
    void leftShiftGroups(int a, int b);
    void rightShiftGroups(int a, int b);
    void copyGroup(int src, int dst);
    void copyToTemp(int bank);
    void copyFromTemp(int bank);

private:
    std::array<uint8_t, 128> MoveBuffer{};
};

// A bank number the image has a bank for.
bool IsBank(int bank);

} // namespace vkteditor
