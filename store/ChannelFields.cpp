#include "store/ChannelFields.h"

#include "core/Text.h"

namespace vktstore {

bool IsNumberField(int col) { return col == 1 || col == 3; }

void BindField(Statement& stmt, int index, int col, const std::string& text) {
    if (IsNumberField(col) && vkt::IsNumeric(text)) stmt.bind(index, vkt::Val(text));
    else stmt.bind(index, text);
}

std::string FieldList(int firstCol) {
    std::string list;
    for (int c = firstCol; c < 6; ++c) list += std::string(c > firstCol ? ", " : "") + "\"" + ChannelFields[c] + "\"";
    return list;
}

} // namespace vktstore
