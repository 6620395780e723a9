// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own help viewer: the help pages shipped with the program,
// opened at their contents page.

#include <QWidget>

class QTextBrowser;

namespace vktqt {

class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    void showContents();
    QTextBrowser* browser() const { return browser_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QTextBrowser* browser_;
};

} // namespace vktqt
