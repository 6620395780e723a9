// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/GlobalsView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/WindowPlacement.h"

namespace vktviews {

GlobalsView::GlobalsView(vkteditor::frmGlobals& model, QWidget* owner) : QWidget(owner, Qt::Window), m_(model) {
    auto* outer = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    QMenu* window = bar->addMenu("&" + Qs(model.mnuFile.Caption()));
    Bind(window->addAction(QString()), model.mnuSave, [&model] { model.mnuSave_Click(); });
    Bind(window->addAction(QString()), model.mnuExit, [&model] { model.mnuExit_Click(); });
    window->addSeparator();
    Bind(window->addAction(QString()), model.mnuReadSettings, [&model] { model.mnuReadSettings_Click(); });
    outer->setMenuBar(bar);

    auto* content = new QWidget(this);
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins({});
    outer->addWidget(new WholeArea(content, this));

    auto* rotary = new QGroupBox(this);
    Bind(rotary, model.fraRotarySwitch);
    auto* grid = new QGridLayout(rotary);
    grid->addWidget(NewLabel(rotary, model.lblPosHeading), 0, 0);
    // One caption heads two columns: each of its words stands over its own.
    const QStringList headings = Qs(model.lblGroup.Caption()).split(' ', Qt::SkipEmptyParts);
    grid->addWidget(new QLabel(headings.value(0), rotary), 0, 1);
    grid->addWidget(new QLabel(headings.value(1), rotary), 0, 3);
    // The boxes of a row are said with their position and column, the check
    // boxes as the keypad choice the sample below explains: "Position 3 Group
    // Keypad".
    const QString position = SpokenName(Qs(model.lblPosHeading.Caption()));
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        const QString row = position + " " + Qs(model.lblPos[i].Caption()) + " ";
        QLabel* pos = NewLabel(rotary, model.lblPos[i]);
        grid->addWidget(pos, p + 1, 0);
        QComboBox* group = NewCombo(rotary, model.cboGroup[i]);
        pos->setBuddy(group);
        NameControl(group, row + headings.value(0));
        grid->addWidget(group, p + 1, 1);
        auto* gv = new QCheckBox(rotary);
        Bind(gv, model.chkGrpVar[i]);
        NameControl(gv, row + headings.value(0) + " Keypad");
        grid->addWidget(gv, p + 1, 2);
        QComboBox* chan = NewCombo(rotary, model.cboChan[i]);
        NameControl(chan, row + headings.value(1));
        grid->addWidget(chan, p + 1, 3);
        auto* cv = new QCheckBox(rotary);
        Bind(cv, model.chkChanVar[i]);
        NameControl(cv, row + headings.value(1) + " Keypad");
        grid->addWidget(cv, p + 1, 4);
    }
    auto* sample = new QCheckBox(rotary);
    Bind(sample, model.chkSample);
    sample->setEnabled(false);
    grid->addWidget(sample, 17, 0, 1, 6);
    auto* globalRow = new QHBoxLayout;
    for (const auto& [l, c] : {std::pair{&model.lblGlobGrp, &model.cboGlobalGroup}, std::pair{&model.lblGlobChan, &model.cboGlobalChannel}}) {
        QLabel* label = NewLabel(rotary, *l);
        QComboBox* box = NewCombo(rotary, *c);
        NameByLabel(label, box);
        globalRow->addWidget(label);
        globalRow->addWidget(box);
    }
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
    auto labelled = [](QGridLayout* into, QWidget* frame, vkt::Label& l, vkt::ComboBox& c, int at) {
        QLabel* label = NewLabel(frame, l);
        QComboBox* box = NewCombo(frame, c);
        NameByLabel(label, box);
        into->addWidget(label, at, 0);
        into->addWidget(box, at, 1);
    };
    for (const auto& [l, c] : toggleRows) labelled(tg, toggles, *l, *c, row++);
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
    for (const auto& [l, c] : unitRows) labelled(ug, unit, *l, *c, row++);
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

} // namespace vktviews
