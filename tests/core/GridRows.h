// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a grid row back for the codec tests.

#include <array>
#include <string>

#include "core/GroupControls.h"

inline std::array<std::string, 6> RowOf(vkt::GroupControls& c, int row) {
    std::array<std::string, 6> cells;
    for (int col = 0; col < 6; ++col) cells[static_cast<size_t>(col)] = c.grid().cellText(row, col);
    return cells;
}
