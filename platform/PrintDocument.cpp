// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrintDocument.h"

namespace vkt {

std::string PrintDocument::text() const {
    std::string out;
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) out += "\f";
        for (const PrintedLine& line : pages[p]) {
            std::string row;
            for (const PrintItem& item : line.items) {
                const size_t at = item.column > 1 ? static_cast<size_t>(item.column - 1) : 0;
                // An item that would overlap the one before starts one space after it.
                if (row.size() < at) row.append(at - row.size(), ' ');
                else if (!row.empty()) row += ' ';
                row += item.text;
            }
            out += row + "\n";
        }
    }
    return out;
}

void DocumentPrinter::endDoc() {
    ++documents_;
    last_ = std::move(doc_);
    doc_ = PrintDocument{};
    finished(last_);
}

} // namespace vkt
