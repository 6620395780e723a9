// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a window opens, how it fits its screen, and its showing and hiding
// as its window model says.

#include <QScrollArea>
#include <QWidget>

#include "platform/Controls.h"

namespace vktviews {

// How a window is placed when its model shows it.
enum class Placement { AsIs, Centred, OverOwner };
// Shows, hides and titles a top-level widget as its window model says.
void FollowWindow(QWidget* w, vkt::Window& model, bool modal = false, Placement placement = Placement::AsIs);
// The client area of a window whose frame (frame round client) is to lie on
// the available area, its top left at wanted or as near as keeps it there,
// left and top first.
QRect PlaceFrame(const QRect& available, QSize client, QMargins frame, QPoint wanted);
// Centres a window on its screen at the size it will be shown at, fitted to
// the screen, its top left corner kept on the screen.
void CentreOnScreen(QWidget* w);
// Centres a window over its owner, fitted to and kept on the owner's screen.
void PlaceOverOwner(QWidget* w);

// A window's controls, laid out at their full size wherever the screen has
// the room, and scrolled where it has not: a window never grows past its
// screen and never puts a control out of reach.
class WholeArea : public QScrollArea {
public:
    WholeArea(QWidget* content, QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The most the controls may take on this screen.
    void setRoom(QSize room);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QSize room_{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
};

// Gives a window's whole area the room its screen leaves, and the window a
// size within the screen's available area.
void FitToScreen(QWidget* w);

} // namespace vktviews
