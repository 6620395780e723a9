#pragma once
// The views of the smaller windows: progress, global parameters, Move
// Banks, splash and about. Each shows and hides as its model says.

#include <QDialog>
#include <QWidget>

#include "editor/frmAbout.h"
#include "editor/frmSplash.h"
#include "editor/frmGlobals.h"
#include "editor/frmMove.h"
#include "link/frmProc.h"

namespace vktqt {

// How a window is placed when its model shows it.
enum class Placement { AsIs, Centred };
// Shows, hides and titles a top-level widget as its window model says.
void FollowWindow(QWidget* w, vkt::Window& model, bool modal = false, Placement placement = Placement::AsIs);
// Centres a window on its screen at the size it will be shown at, its top
// left corner kept on the screen.
void CentreOnScreen(QWidget* w);

class ProcView : public QDialog {
public:
    ProcView(VKTCom::frmProc& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override {}
};

class GlobalsView : public QWidget {
public:
    GlobalsView(vkteditor::frmGlobals& model, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    vkteditor::frmGlobals& m_;
    // Centred when loaded; shown again after hiding, it stays where it was.
    bool placed_ = false;
};

class MoveView : public QDialog {
public:
    MoveView(vkteditor::frmMove& model, QWidget* owner);

protected:
    void reject() override;

private:
    vkteditor::frmMove& m_;
};

class SplashView : public QWidget {
public:
    explicit SplashView(vkteditor::frmSplash& model);
};

class AboutView : public QDialog {
public:
    AboutView(vkteditor::frmAbout& model, QWidget* owner);
};

} // namespace vktqt
