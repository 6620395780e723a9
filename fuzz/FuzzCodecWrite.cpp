// SPDX-License-Identifier: GPL-3.0-or-later
// The codecs' write side with arbitrary cell and text-box strings.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/GroupControls.h"
#include "core/MemoryImage.h"
#include "core/clsGroup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vkt::GroupControls c;
    VKTCore::clsGroup group(c);
    // Pieces of the input go into every text a codec reads.
    std::vector<std::string> parts(1);
    for (char ch : text) {
        if (ch == '\n') parts.emplace_back();
        else parts.back() += ch;
    }
    auto part = [&](size_t i) { return parts[i % parts.size()]; };
    c.txtPassWord.setText(part(0));
    c.txtID.setText(part(1));
    c.txtGrpLab.setText(part(2));
    c.cboTOT.setEditText(part(3));
    c.cboScan.setEditText(part(4));
    for (int r = 0; r < 16; ++r)
        for (int col = 1; col < 6; ++col) c.grid().setCellText(r, col, part(static_cast<size_t>(5 + r * 5 + col)));
    const int g = size > 0 ? data[0] % VKTCore::GroupCount : 0;
    group.Write_Group(g);
    group.Read_Group(g);
    return 0;
}
