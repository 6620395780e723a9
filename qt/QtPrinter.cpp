// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtPrinter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>

#include "store/FileWriter.h"

namespace vktqt {

namespace {

QFont FontOf(const vkt::PrintedLine& line, QPaintDevice* device) {
    QFont font(QString::fromStdString(line.font), -1);
    font.setPointSizeF(line.size > 0 ? line.size : 10);
    return QFont(font, device);
}

} // namespace

bool RenderDocument(const vkt::PrintDocument& doc, QPagedPaintDevice& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.logicalDpiY());
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        if (p > 0) printer.newPage();
        double y = 0;
        for (const vkt::PrintedLine& line : doc.pages[p]) {
            const QFont font = FontOf(line, &printer);
            painter.setFont(font);
            const QFontMetricsF metrics(font, &printer);
            // A page that is full goes on to the next one, as a printer does.
            if (y + metrics.height() > page.height() && y > 0) {
                printer.newPage();
                y = 0;
            }
            for (const vkt::PrintItem& item : line.items) {
                const double x = (item.column - 1) * metrics.averageCharWidth();
                painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(item.text));
            }
            y += metrics.lineSpacing();
        }
    }
    return painter.end();
}

bool WritePdf(const vkt::PrintDocument& doc, const QString& path, std::string& why) {
    // Rendered in memory, so that the file is written as every other file is.
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        const QPrinter printer(QPrinter::HighResolution);  // its page and resolution, as printing to PDF had
        QPdfWriter pdf(&bytes);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(printer.resolution());
        if (!RenderDocument(doc, pdf)) {
            why = "the report cannot be drawn";
            return false;
        }
    }
    vktstore::FileError error;
    if (!vktstore::WriteFileReplacing(path.toStdString(), std::string_view(bytes.data().constData(), static_cast<size_t>(bytes.size())), error)) {
        why = error.description;
        return false;
    }
    return true;
}

QPrinter& QtPrinter::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool QtPrinter::setup() {
    QPageSetupDialog dialog(&printer(), parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinter::finished(const vkt::PrintDocument& doc) {
    QPrintPreviewDialog preview(&printer(), parent_);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&doc](QPrinter* p) { RenderDocument(doc, *p); });
    preview.exec();
}

} // namespace vktqt
