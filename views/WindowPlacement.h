#pragma once
// Where a window opens, and its showing and hiding as its window model says.

#include <QWidget>

#include "platform/Controls.h"

namespace vktviews {

// How a window is placed when its model shows it.
enum class Placement { AsIs, Centred };
// Shows, hides and titles a top-level widget as its window model says.
void FollowWindow(QWidget* w, vkt::Window& model, bool modal = false, Placement placement = Placement::AsIs);
// Centres a window on its screen at the size it will be shown at, its top
// left corner kept on the screen.
void CentreOnScreen(QWidget* w);

} // namespace vktviews
