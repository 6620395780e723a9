// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/OneClick.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleHints>

namespace vktviews {

OneClick::OneClick(std::function<double()> now, QObject* owner) : QObject(owner), now_(std::move(now)) {}

std::function<void()> OneClick::guard(QPushButton* b, std::function<void()> onClick) {
    pressTaken_[b] = false;
    b->installEventFilter(this);
    // An ignored click must not take the focus either (it may be where the
    // technician is typing): the button takes it when it takes the press.
    b->setFocusPolicy(Qt::TabFocus);
    // The window's model disables what may not be clicked while it talks
    // to the radio; a click's handler returns when its work has ended.
    return [this, onClick = std::move(onClick)] {
        onClick();
        quietUntil_ = now_() + interval();
    };
}

double OneClick::interval() const { return QGuiApplication::styleHints()->mouseDoubleClickInterval() / 1000.0; }

// A press within the desktop's double-click interval of the end of any radio
// work belongs to the click that started it. So does one within the interval
// of the last press taken, by the window system's own stamps: the work may
// have kept the press waiting, and by then a button that the work put under
// the pointer is there to take it.
bool OneClick::takesPress(quint64 stamp) const {
    if (now_() < quietUntil_) return false;
    const auto apart = static_cast<double>(stamp - lastPress_) / 1000.0;
    return !pressed_ || stamp < lastPress_ || apart >= interval();
}

bool OneClick::eventFilter(QObject* watched, QEvent* event) {
    auto found = pressTaken_.find(watched);
    if (found == pressTaken_.end()) return QObject::eventFilter(watched, event);
    bool& pressTaken = found->second;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::EnabledChange:
        // A press that began before the button could take it arms nothing.
        pressTaken = false;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        pressTaken = takesPress(static_cast<QMouseEvent*>(event)->timestamp());
        if (pressTaken) {
            pressed_ = true;
            lastPress_ = static_cast<QMouseEvent*>(event)->timestamp();
            static_cast<QWidget*>(watched)->setFocus(Qt::MouseFocusReason);
        }
        return !pressTaken;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        if (!pressTaken) return true;
        pressTaken = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vktviews
