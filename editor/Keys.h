// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key codes the window models see; the views translate their toolkit's keys
// into these. Letters are their upper-case character codes, Shift or not.

namespace vkteditor {

enum Key : int {
    KeyBack = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeySpace = 32,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyF1 = 112,
};

} // namespace vkteditor
