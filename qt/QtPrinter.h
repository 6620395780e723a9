// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer on Qt: a printed document is shown in a print preview of the
// default printer (which can also print to PDF), or rendered straight to a
// PDF file. Character columns are the average character width of the font.

#include <QPrinter>

#include <memory>
#include <string>

#include "platform/PrintDocument.h"

class QWidget;

namespace vktqt {

// Draws the document onto the printer, one page per document page; false
// when the printer cannot be painted on.
bool RenderDocument(const vkt::PrintDocument& doc, QPagedPaintDevice& printer);
// Writes the document as a PDF file; false, and why, when it cannot.
bool WritePdf(const vkt::PrintDocument& doc, const QString& path, std::string& why);

class QtPrinter : public vkt::DocumentPrinter {
public:
    explicit QtPrinter(QWidget* parentWindow = nullptr) : parent_(parentWindow) {}
    void setParentWindow(QWidget* w) { parent_ = w; }
    // The printer set-up dialog; false when cancelled.
    bool setup();

protected:
    void finished(const vkt::PrintDocument& doc) override;

private:
    QPrinter& printer();

    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace vktqt
