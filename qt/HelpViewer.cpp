// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/HelpViewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// The pages are compiled into a static library; make sure they are there.
static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace vktqt {

namespace {
const QUrl Contents("qrc:/help/index.html");
} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    InitHelpResources();
    setWindowTitle("VKT Editor Help");
    auto* contents = new QPushButton("&Contents", this);
    auto* back = new QPushButton("&Back", this);
    auto* forward = new QPushButton("&Forward", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName("Help page");
    connect(contents, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    resize(640, 520);
}

// Escape closes the help, as it closes a dialog.
void HelpViewer::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) close();
    else QWidget::keyPressEvent(e);
}

void HelpViewer::showContents() {
    browser_->setSource(Contents);
    // Opened over the window it was asked from, within that window's screen.
    if (!isVisible()) {
        QWidget* over = QApplication::activeWindow();
        if (over == this) over = nullptr;
        const QRect screen = (over ? over->screen() : this->screen())->availableGeometry();
        // The frame, known once shown; a title bar and borders before that.
        QSize frame = frameGeometry().size() - size();
        if (frame.isEmpty()) frame = QSize(8, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
        resize(size().boundedTo(screen.size() - frame));
        QRect r(QPoint(), frameGeometry().size().boundedTo(screen.size()));
        r.moveCenter(over ? over->frameGeometry().center() : screen.center());
        r.moveRight(std::min(r.right(), screen.right()));
        r.moveBottom(std::min(r.bottom(), screen.bottom()));
        move(std::max(r.left(), screen.left()), std::max(r.top(), screen.top()));
    }
    show();
    raise();
    activateWindow();
}

} // namespace vktqt
