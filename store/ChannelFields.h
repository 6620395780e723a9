// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six fields of tblChannel, in grid column order, and how a grid text is
// stored in one of them.

#include <string>

#include "store/Sqlite.h"

namespace vktstore {

inline constexpr const char* ChannelFields[6] = {"CHAN", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"};
inline constexpr int ChannelRows = 16;

// A grid text is stored as the text it is, so the cell shows it back as it was.
void BindField(Statement& stmt, int index, const std::string& text);

// "SELECT rowid, <the five editable fields> FROM tblChannel ORDER BY rowid" and alike.
std::string FieldList(int firstCol);

} // namespace vktstore
