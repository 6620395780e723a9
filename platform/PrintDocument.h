// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A printed document as lines of items at character columns, page by page,
// each line with the font it was printed in. The report prints into one;
// the Qt printer renders it, and it can be written out as plain text.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vkt {

struct PrintedLine {
    std::string font;
    double size;
    std::vector<PrintItem> items;
};

struct PrintDocument {
    std::vector<std::vector<PrintedLine>> pages{1};
    // Each line with its items at their columns, pages parted by a form feed.
    std::string text() const;
};

// A printer that records what it is given.
class DocumentPrinter : public Printer {
public:
    void setFontName(const std::string& name) override { font_ = name; }
    void setFontSize(double points) override { size_ = points; }
    void printLine(const std::vector<PrintItem>& items) override { doc_.pages.back().push_back({font_, size_, items}); }
    void newPage() override { doc_.pages.emplace_back(); }
    void endDoc() override;

    // The document being printed, and the one the last endDoc finished.
    const PrintDocument& current() const { return doc_; }
    const PrintDocument& lastDocument() const { return last_; }
    int documents() const { return documents_; }

protected:
    // What to do with a finished document; recording printers keep it.
    virtual void finished(const PrintDocument&) {}

private:
    PrintDocument doc_;
    PrintDocument last_;
    std::string font_ = "Arial";
    double size_ = 10;
    int documents_ = 0;
};

} // namespace vkt
