#include "qt/WindowViews.h"

#include <algorithm>

#include <QApplication>
#include <QShowEvent>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "qt/Binding.h"

namespace vktqt {

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

ProcView::ProcView(VKTCom::frmProc& model, QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint) {
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(this);
    auto* bar = new QProgressBar(this);
    auto* cancel = new QPushButton(this);
    Bind(info, model.lblInfo);
    Bind(bar, model.Prog1);
    Bind(cancel, model.CancelButton, [&model] { model.CancelButton_Click(); });
    layout->addWidget(info);
    layout->addWidget(bar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    bar->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto previous = model.changed;
    model.changed = [this, &model, owner, previous] {
        if (previous) previous();
        // Over the main window, 500 twips right of and below its corner.
        if (owner) move(owner->geometry().topLeft() + QPoint(Px(500), Px(500)));
    };
    FollowWindow(this, model);
}

void ProcView::closeEvent(QCloseEvent* e) { e->ignore(); }

GlobalsView::GlobalsView(vkteditor::frmGlobals& model, QWidget* owner) : QWidget(owner, Qt::Window), m_(model) {
    auto* outer = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    QMenu* window = bar->addMenu("&" + Qs(model.mnuFile.Caption()));
    Bind(window->addAction(QString()), model.mnuSave, [&model] { model.mnuSave_Click(); });
    Bind(window->addAction(QString()), model.mnuExit, [&model] { model.mnuExit_Click(); });
    window->addSeparator();
    Bind(window->addAction(QString()), model.mnuReadSettings, [&model] { model.mnuReadSettings_Click(); });
    outer->setMenuBar(bar);

    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);

    auto* rotary = new QGroupBox(this);
    Bind(rotary, model.fraRotarySwitch);
    auto* grid = new QGridLayout(rotary);
    grid->addWidget(NewLabel(rotary, model.lblPosHeading), 0, 0);
    // One caption heads two columns: each of its words stands over its own.
    const QStringList headings = Qs(model.lblGroup.Caption()).split(' ', Qt::SkipEmptyParts);
    grid->addWidget(new QLabel(headings.value(0), rotary), 0, 1);
    grid->addWidget(new QLabel(headings.value(1), rotary), 0, 3);
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        grid->addWidget(NewLabel(rotary, model.lblPos[i]), p + 1, 0);
        grid->addWidget(NewCombo(rotary, model.cboGroup[i]), p + 1, 1);
        auto* gv = new QCheckBox(rotary);
        Bind(gv, model.chkGrpVar[i]);
        grid->addWidget(gv, p + 1, 2);
        grid->addWidget(NewCombo(rotary, model.cboChan[i]), p + 1, 3);
        auto* cv = new QCheckBox(rotary);
        Bind(cv, model.chkChanVar[i]);
        grid->addWidget(cv, p + 1, 4);
    }
    auto* sample = new QCheckBox(rotary);
    Bind(sample, model.chkSample);
    sample->setEnabled(false);
    grid->addWidget(sample, 17, 0, 1, 6);
    auto* globalRow = new QHBoxLayout;
    globalRow->addWidget(NewLabel(rotary, model.lblGlobGrp));
    globalRow->addWidget(NewCombo(rotary, model.cboGlobalGroup));
    globalRow->addWidget(NewLabel(rotary, model.lblGlobChan));
    globalRow->addWidget(NewCombo(rotary, model.cboGlobalChannel));
    grid->addLayout(globalRow, 18, 0, 1, 6);
    // Room the long rows below need goes after the columns, not between them.
    grid->setColumnStretch(5, 1);
    columns->addWidget(rotary);

    auto* right = new QVBoxLayout;
    columns->addLayout(right);
    auto* toggles = new QGroupBox(this);
    Bind(toggles, model.fraToggles);
    auto* tg = new QGridLayout(toggles);
    const std::pair<vkt::Label*, vkt::ComboBox*> toggleRows[] = {
        {&model.lblLoPowerSwitch, &model.cboLoPowerSwitch}, {&model.lblChanScan, &model.cboChanScan},
        {&model.lblPriScan, &model.cboPriScan}, {&model.lblRTA, &model.cboRTA}, {&model.lblGroupScan, &model.cboGroupScan}};
    int row = 0;
    for (const auto& [l, c] : toggleRows) {
        tg->addWidget(NewLabel(toggles, *l), row, 0);
        tg->addWidget(NewCombo(toggles, *c), row++, 1);
    }
    right->addWidget(toggles);
    auto* unit = new QGroupBox(this);
    Bind(unit, model.fraUnit);
    auto* ug = new QGridLayout(unit);
    const std::pair<vkt::Label*, vkt::ComboBox*> unitRows[] = {
        {&model.lblDTMFDev, &model.cboDTMFDev}, {&model.lblPorch, &model.cboPorchTime}, {&model.lblAniRate, &model.cboANIRate},
        {&model.lblPriRate, &model.cboPriRate}, {&model.lblBattSave, &model.cboBattSave},
        {&model.lblFreqDisplay, &model.cboFreqDisplay}, {&model.lblPerChanPower, &model.cboLoPower},
        {&model.lblTalkBack, &model.cboTalkBack}, {&model.lblNuisanceChan, &model.cboNuisanceChan}};
    row = 0;
    for (const auto& [l, c] : unitRows) {
        ug->addWidget(NewLabel(unit, *l), row, 0);
        ug->addWidget(NewCombo(unit, *c), row++, 1);
    }
    right->addWidget(unit);
    right->addStretch();

    FollowWindow(this, model);
}

void GlobalsView::showEvent(QShowEvent* e) {
    if (!placed_) CentreOnScreen(this);
    placed_ = true;
    QWidget::showEvent(e);
}

void GlobalsView::closeEvent(QCloseEvent* e) {
    // The close box asks whether to save; Cancel keeps the window.
    if (m_.Form_QueryUnload()) {
        e->ignore();
        return;
    }
    e->accept();
    placed_ = false;
}

MoveView::MoveView(vkteditor::frmMove& model, QWidget* owner) : QDialog(owner), m_(model) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(NewLabel(this, model.lblFromBank), 0, 0);
    layout->addWidget(NewCombo(this, model.cboFromBank, "cboFromBank", true), 0, 1);
    layout->addWidget(NewLabel(this, model.lblToBank), 1, 0);
    layout->addWidget(NewCombo(this, model.cboToBank, "cboToBank", true), 1, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    Bind(ok, model.btnMoveOK, [&model] { model.btnMoveOK_Click(); });
    Bind(cancel, model.btnMoveCancel, [&model] { model.btnMoveCancel_Click(); });
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    FollowWindow(this, model, true, Placement::Centred);
}

// Esc and the close box are Cancel.
void MoveView::reject() { m_.btnMoveCancel_Click(); }

SplashView::SplashView(vkteditor::frmSplash& model) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    auto* frame = new QVBoxLayout(this);
    QLabel* product = NewLabel(this, model.lblProductName);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    frame->addWidget(product, 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblVersion), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCompanyProduct), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblPlatform), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCompanyName), 0, Qt::AlignHCenter);
    frame->addWidget(NewLabel(this, model.lblCopyright), 0, Qt::AlignHCenter);
    frame->setContentsMargins(QMargins(4, 2, 4, 2) * fontMetrics().averageCharWidth());
    setStyleSheet("SplashView { border: 2px solid palette(dark); }");
    CentreOnScreen(this);
}

AboutView::AboutView(vkteditor::frmAbout& model, QWidget* owner) : QDialog(owner) {
    setWindowTitle(Qs(model.Caption()));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    // The program's own icon, as the editor sets it for every window.
    icon->setPixmap(windowIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    QLabel* title = NewLabel(this, model.lblTitle);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    title->setFont(f);
    layout->addWidget(title, 0, 1);
    layout->addWidget(NewLabel(this, model.lblVersion), 1, 1);
    layout->addWidget(NewLabel(this, model.lblDescription), 2, 1);
    layout->addWidget(NewLabel(this, model.lblDisclaimer), 3, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(this);
    auto* sys = new QPushButton(this);
    Bind(ok, model.cmdOK, [this, &model] {
        model.cmdOK_Click();
        accept();
    });
    Bind(sys, model.cmdSysInfo, [&model] { model.cmdSysInfo_Click(); });
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sys);
    layout->addLayout(buttons, 4, 0, 1, 2);
}

} // namespace vktqt
