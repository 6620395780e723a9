// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/clsMoves.h"

#include <algorithm>

#include "core/MemoryImage.h"

namespace vkteditor {

namespace {

constexpr int BankBytes = 128;

// The channel slots of bank b (group index b - 1) start at 384 * b.
uint8_t* Bank(int bank) { return VKTCore::MemoryImage.data() + 384 * bank; }

} // namespace

bool IsBank(int bank) { return bank >= 1 && bank <= VKTCore::GroupCount; }

void clsMoves::moveGroups(int fromGroup, int toGroup) {
    if (!IsBank(fromGroup) || !IsBank(toGroup)) return;
    if (fromGroup < toGroup) leftShiftGroups(fromGroup, toGroup);
    else if (fromGroup > toGroup) rightShiftGroups(toGroup, fromGroup);
}

void clsMoves::leftShiftGroups(int a, int b) {
    copyToTemp(a);
    for (int k = a; k <= b - 1; ++k) copyGroup(k + 1, k);
    copyFromTemp(b);
}

void clsMoves::rightShiftGroups(int a, int b) {
    copyToTemp(b);
    for (int k = b; k >= a + 1; --k) copyGroup(k - 1, k);
    copyFromTemp(a);
}

void clsMoves::copyGroup(int src, int dst) { std::copy_n(Bank(src), BankBytes, Bank(dst)); }

void clsMoves::copyToTemp(int bank) { std::copy_n(Bank(bank), BankBytes, MoveBuffer.begin()); }

void clsMoves::copyFromTemp(int bank) { std::copy_n(MoveBuffer.begin(), BankBytes, Bank(bank)); }

} // namespace vkteditor
