// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/WindowPlacement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "views/Binding.h"

namespace vktviews {

namespace {

QRect Available(const QWidget* w) {
    return (w->screen() ? w->screen() : QGuiApplication::primaryScreen())->availableGeometry();
}

// The window system's frame round a window: known once it has been shown,
// the style's title bar and borders before that.
QMargins FrameOf(const QWidget* w) {
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    const QMargins shown(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (w->testAttribute(Qt::WA_WState_Created) && !shown.isNull()) return shown;
    const int border = w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, w->style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

QSize Around(QMargins frame) { return {frame.left() + frame.right(), frame.top() + frame.bottom()}; }

// Keeps a window's frame on the available area, left and top first.
void KeepOnScreen(QWidget* w, QPoint topLeft) {
    const QMargins frame = FrameOf(w);
    const QRect client = PlaceFrame(Available(w), w->size(), frame, topLeft);
    // A window not yet made is placed by its frame. Once made, until the
    // window system has put its frame round it, a move places the client
    // area, and the title bar of a window as tall as the screen would land
    // above the screen's top edge.
    if (w->testAttribute(Qt::WA_WState_Created)) w->setGeometry(client);
    else w->move(client.topLeft() - QPoint(frame.left(), frame.top()));
}

} // namespace

QRect PlaceFrame(const QRect& available, QSize client, QMargins frame, QPoint wanted) {
    const QSize outer = client + Around(frame);
    wanted.setX(std::max(std::min(wanted.x(), available.right() + 1 - outer.width()), available.left()));
    wanted.setY(std::max(std::min(wanted.y(), available.bottom() + 1 - outer.height()), available.top()));
    return {wanted + QPoint(frame.left(), frame.top()), client};
}

WholeArea::WholeArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    // The keyboard goes to the controls; the area follows the focus by itself.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setWidget(content);
}

QSize WholeArea::sizeHint() const { return widget()->sizeHint().expandedTo(widget()->minimumSizeHint()).boundedTo(room_); }

// Wrapped texts are as tall as their width makes them.
QSize WholeArea::minimumSizeHint() const {
    QSize least = widget()->minimumSizeHint();
    if (widget()->hasHeightForWidth()) least.setHeight(std::max(least.height(), widget()->heightForWidth(least.width())));
    // Scrolled one way, a scroll bar takes room the other way.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize fits = least.boundedTo(room_);
    if (least.height() > room_.height()) fits.setWidth(std::min(least.width() + bar, room_.width()));
    if (least.width() > room_.width()) fits.setHeight(std::min(least.height() + bar, room_.height()));
    return fits;
}

// The controls' own needs change as frames are shown and hidden.
bool WholeArea::eventFilter(QObject* watched, QEvent* e) {
    if (watched == widget() && e->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, e);
}

void WholeArea::setRoom(QSize room) {
    room_ = room;
    updateGeometry();
}

void FitToScreen(QWidget* w) {
    w->ensurePolished();
    // WholeArea has no meta-object of its own: findChild<WholeArea*> would take
    // any scroll area for one, and setRoom would write past a plain QScrollArea.
    WholeArea* area = nullptr;
    for (QScrollArea* any : w->findChildren<QScrollArea*>())
        if (!area) area = dynamic_cast<WholeArea*>(any);
    if (area) {
        area->setRoom({QWIDGETSIZE_MAX, QWIDGETSIZE_MAX});
        if (w->layout()) w->layout()->activate();
        // What the window needs beyond its controls: menus, status bar, margins.
        const QSize around = w->minimumSizeHint() - area->minimumSizeHint();
        area->setRoom(Available(w).size() - Around(FrameOf(w)) - around);
    }
    if (w->layout()) w->layout()->activate();
    const QSize most = Available(w).size() - Around(FrameOf(w));
    const QSize wanted = w->testAttribute(Qt::WA_Resized) ? w->size() : w->sizeHint();
    w->resize(wanted.expandedTo(w->minimumSize()).boundedTo(most));
}

void CentreOnScreen(QWidget* w) {
    FitToScreen(w);
    const QRect screen = Available(w);
    KeepOnScreen(w, screen.center() - QRect(QPoint(), w->frameGeometry().size()).center());
}

void PlaceOverOwner(QWidget* w) {
    QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) {
        CentreOnScreen(w);
        return;
    }
    FitToScreen(w);
    KeepOnScreen(w, owner->frameGeometry().center() - QRect(QPoint(), w->frameGeometry().size()).center());
}

void FollowWindow(QWidget* w, vkt::Window& model, bool modal, Placement placement) {
    OnChange(w, model, [w, &model, modal, placement] {
        w->setWindowTitle(Qs(model.Caption()));
        if (model.Visible() && !w->isVisible()) {
            if (modal) w->setWindowModality(Qt::ApplicationModal);
            if (placement == Placement::Centred) CentreOnScreen(w);
            if (placement == Placement::OverOwner) PlaceOverOwner(w);
            w->show();
            w->raise();
            w->activateWindow();
        } else if (!model.Visible() && w->isVisible()) {
            w->hide();
        }
    });
}

} // namespace vktviews
