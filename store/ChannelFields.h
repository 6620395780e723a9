#pragma once
// The six fields of tblChannel, in grid column order, and how a grid text is
// stored in one of them.

#include <string>

#include "store/Sqlite.h"

namespace vktstore {

inline constexpr const char* ChannelFields[6] = {"CHAN", "Rec Freq", "Rec CG", "Tx Freq", "Tx CG", "Ch Label"};
inline constexpr int ChannelRows = 16;

// The frequency fields hold numbers; a text that is a number is stored as one.
bool IsNumberField(int col);
void BindField(Statement& stmt, int index, int col, const std::string& text);

// "SELECT rowid, <the five editable fields> FROM tblChannel ORDER BY rowid" and alike.
std::string FieldList(int firstCol);

} // namespace vktstore
