// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ChannelFields.h"

namespace vktstore {

void BindField(Statement& stmt, int index, const std::string& text) { stmt.bind(index, text); }

std::string FieldList(int firstCol) {
    std::string list;
    for (int c = firstCol; c < 6; ++c) list += std::string(c > firstCol ? ", " : "") + "\"" + ChannelFields[c] + "\"";
    return list;
}

} // namespace vktstore
