// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/HelpViewer.h"

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

// The pages are compiled into a static library; make sure they are there.
static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace vktqt {

namespace {
const QUrl Contents("qrc:/help/index.html");

// Within the page the focus is on the link Tab chose, or on the page and its
// caret. A screen reader is told whenever that changes, as it is told of a
// control that took the focus: told only of a link, it would not follow the
// caret once an arrow key or a new page had left the link.
class HelpPage : public QTextBrowser {
public:
    explicit HelpPage(QWidget* parent) : QTextBrowser(parent) {
        connect(this, &QTextBrowser::cursorPositionChanged, this, &HelpPage::tellFocus);
    }

protected:
    bool focusNextPrevChild(bool next) override {
        if (!QTextBrowser::focusNextPrevChild(next)) return false;
        tellFocus();
        return true;
    }
    void focusInEvent(QFocusEvent* e) override {
        QTextBrowser::focusInEvent(e);
        // Qt tells of the page itself once this returns; a link Tab chose
        // before the window was left is told after that.
        told_ = ThePage;
        QMetaObject::invokeMethod(this, &HelpPage::tellFocus, Qt::QueuedConnection);
    }

private:
    static constexpr int ThePage = -1;
    void tellFocus() {
        if (!hasFocus() || !QAccessible::isActive()) return;
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(this);
        int focused = ThePage;
        for (int i = 0; i < page->childCount(); ++i)
            if (page->child(i)->state().focused) focused = i;
        if (focused == told_) return;
        told_ = focused;
        QAccessibleEvent told(focused == ThePage ? page : page->child(focused), QAccessible::Focus);
        QAccessible::updateAccessibility(&told);
    }
    int told_ = ThePage;
};
} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new HelpPage(this)) {
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
    // A caret the arrow keys move, so a screen reader reads the page line by
    // line; Tab still goes from link to link.
    browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
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
