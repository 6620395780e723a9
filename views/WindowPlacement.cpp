#include "views/WindowPlacement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

namespace vktviews {

namespace {

QString Qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

void CentreOnScreen(QWidget* w) {
    w->ensurePolished();
    if (w->layout()) w->layout()->activate();
    if (!w->testAttribute(Qt::WA_Resized)) w->adjustSize();
    const QRect screen = (w->screen() ? w->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const QPoint topLeft = screen.center() - QRect(QPoint(), w->frameGeometry().size()).center();
    w->move(std::max(topLeft.x(), screen.left()), std::max(topLeft.y(), screen.top()));
}

void FollowWindow(QWidget* w, vkt::Window& model, bool modal, Placement placement) {
    auto previous = model.changed;
    auto follow = [w, &model, modal, placement] {
        w->setWindowTitle(Qs(model.Caption()));
        if (model.Visible() && !w->isVisible()) {
            if (modal) w->setWindowModality(Qt::ApplicationModal);
            if (placement == Placement::Centred) CentreOnScreen(w);
            w->show();
            w->raise();
            w->activateWindow();
        } else if (!model.Visible() && w->isVisible()) {
            w->hide();
        }
    };
    model.changed = [previous, follow] {
        if (previous) previous();
        follow();
    };
    follow();
}

} // namespace vktviews
