// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line label that keeps the width it was given: a text longer than
// that is cut short with "…" and shown whole in its tool tip, instead of
// widening its window.

#include <QLabel>

namespace vktviews {

class ElidedLabel : public QLabel {
public:
    // columns: the room it asks for, in average characters.
    ElidedLabel(int columns, QWidget* parent);
    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void elide();

    int columns_;
    QString full_;
};

} // namespace vktviews
