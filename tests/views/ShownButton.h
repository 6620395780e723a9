// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A push button as the technician sees it: by its caption, among those on
// show, since the tuning window keeps hidden twins on its other tabs.

#include <QPushButton>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

inline QPushButton* ShownButton(const QWidget& window, const QString& text) {
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->text() == text && b->isVisible()) return b;
    ADD_FAILURE() << "no button " << text.toStdString() << " on show";
    return nullptr;
}
