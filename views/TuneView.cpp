// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TuneView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include <memory>

#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/OneClick.h"
#include "views/WindowPlacement.h"

namespace vktviews {

namespace {

QLabel* Text(QWidget* parent, vkt::Label& model, QLayout* into) {
    auto* l = new QLabel(parent);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Bind(l, model);
    into->addWidget(l);
    return l;
}

QPushButton* Push(OneClick& oneClick, QWidget* parent, vkt::Button& model, std::function<void()> click, QBoxLayout* into) {
    auto* b = new QPushButton(parent);
    Bind(b, model, oneClick.guard(b, std::move(click)));
    into->addWidget(b);
    return b;
}

// Four buttons of the window read "QUIT" or "Quit" at times, two of them on
// one tab; a screen reader says what each quits while it reads so.
void NameQuit(QPushButton* b, vkt::Button& model, const QString& what) {
    OnChange(b, model, [b, &model, what] {
        b->setAccessibleName(SpokenName(Qs(model.Caption())).compare("quit", Qt::CaseInsensitive) == 0 ? what : QString());
    });
}

// A scroll bar or up-down control on a ranged model.
template <class W> void BindRange(W* w, vkt::RangeControl& model, std::function<void()> onChange) {
    BindState(w, model);
    OnChange(w, model, [w, &model] {
        QSignalBlocker block(w);
        w->setRange(model.Min(), model.Max());
        w->setValue(model.Value());
    });
    QObject::connect(w, &W::valueChanged, w, [&model, onChange](int v) {
        model.setValue(v);
        if (onChange) onChange();
    });
}

} // namespace

TuneView::TuneView(VKTTune::frmTune& model, QWidget* owner) : QWidget(owner, Qt::Window), m_(model) {
    // Every button of the window talks to the radio.
    auto* oneClick = new OneClick([&model] { return model.Now(); }, this);
    auto* content = new QWidget(this);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins({});
    whole->addWidget(new WholeArea(content, this));
    auto* outer = new QVBoxLayout(content);
    auto* noteRow = new QHBoxLayout;
    auto* head = new QLabel(this);
    Bind(head, model.lblNoteHead);
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    noteRow->addWidget(head, 0, Qt::AlignTop);
    Text(this, model.lblNote, noteRow)->setWordWrap(false);
    noteRow->addStretch(1);
    outer->addLayout(noteRow);

    auto* tabs = new QTabBar(this);
    for (const auto& t : model.TabStrip1.Tabs()) tabs->addTab(QString::fromStdString(t));
    BindState(tabs, model.TabStrip1);
    NameControl(tabs, "Tuning procedure");
    auto pick = [&model](int i) {
        if (!model.TabStrip1.Enabled() || i < 0) return;
        model.TabStrip1.select(i);
        model.TabStrip1_Click();
    };
    connect(tabs, &QTabBar::tabBarClicked, this, pick);
    // The arrow keys on the tab bar switch the procedure as a click does; a
    // click has switched it already.
    connect(tabs, &QTabBar::currentChanged, this, [&model, pick](int i) {
        if (i != model.TabStrip1.SelectedIndex()) pick(i);
    });
    OnChange(tabs, model.TabStrip1, [tabs, &model] {
        QSignalBlocker block(tabs);
        tabs->setCurrentIndex(model.TabStrip1.SelectedIndex());
    });
    outer->addWidget(tabs);

    // TX power
    auto* power = new QGroupBox(this);
    Bind(power, model.fraPower);
    auto* p = new QVBoxLayout(power);
    Text(power, model.lblPowerInstructions, p);
    auto* choose = new QHBoxLayout;
    Push(*oneClick, power, model.cmdSetHighPower, [&model] { model.cmdSetHighPower_Click(); }, choose);
    Push(*oneClick, power, model.cmdSetLowPower, [&model] { model.cmdSetLowPower_Click(); }, choose);
    p->addLayout(choose);
    auto* scroll = new QScrollBar(Qt::Horizontal, power);
    BindRange(scroll, model.HScroll1, [&model] { model.HScroll1_Change(); });
    // A scroll bar takes no focus of its own; this one holds the value the
    // technician sets, and the keyboard must reach it as the mouse does.
    scroll->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's keys scroll a page: Right and Up would lower the value.
    // Here they raise it, as they raise a slider's.
    scroll->setInvertedControls(false);
    NameControl(scroll, "Transmit Power Value");
    p->addWidget(scroll);
    auto* valueRow = new QHBoxLayout;
    Text(power, model.lbl1, valueRow);
    Text(power, model.lblDAC, valueRow);
    Push(*oneClick, power, model.cmdSavePower, [&model] { model.cmdSavePower_Click(); }, valueRow);
    Push(*oneClick, power, model.cmdPowerSetDone, [&model] { model.cmdPowerSetDone_Click(); }, valueRow);
    p->addLayout(valueRow);
    outer->addWidget(power, 1);

    // TX frequency
    auto* freq = new QGroupBox(this);
    Bind(freq, model.fraFreqAdj);
    auto* f = new QVBoxLayout(freq);
    Text(freq, model.lblFreqInstructions, f);
    auto* startRow = new QHBoxLayout;
    Push(*oneClick, freq, model.cmdStartFreqAdj, [&model] { model.cmdStartFreqAdj_Click(); }, startRow);
    startRow->addStretch();
    f->addLayout(startRow);
    auto* step = new QGroupBox(freq);
    Bind(step, model.fraFreqStep1);
    auto* s = new QVBoxLayout(step);
    auto* txtFreq = new QLineEdit(step);
    Bind(txtFreq, model.txtFreq, [&model] { model.txtFreq_Change(); });
    NameControl(txtFreq, "Frequency in MHz");
    model.txtFreq.focusRequested = [txtFreq] { txtFreq->setFocus(); };
    txtFreq->installEventFilter(this);
    txtFreq_ = txtFreq;
    s->addWidget(txtFreq);
    Text(step, model.lblFreqInfo, s);
    f->addWidget(step);
    auto* quitRow = new QHBoxLayout;
    NameQuit(Push(*oneClick, freq, model.cmdQuitFreq, [&model] { model.cmdQuitFreq_Click(); }, quitRow), model.cmdQuitFreq,
             "Quit frequency adjustment");
    quitRow->addStretch();
    f->addLayout(quitRow);
    outer->addWidget(freq, 1);

    // TX modulation
    auto* dev = new QGroupBox(this);
    Bind(dev, model.fraDevAdj);
    auto* d = new QVBoxLayout(dev);
    Text(dev, model.lblDevInfo, d);
    auto* devRow = new QHBoxLayout;
    auto* txtDev = new QLineEdit(dev);
    Bind(txtDev, model.txtDev);
    NameControl(txtDev, "Deviation in kHz");
    model.txtDev.focusRequested = [txtDev] { txtDev->setFocus(); };
    devRow->addWidget(txtDev);
    Text(dev, model.lblDevExmpl, devRow);
    Push(*oneClick, dev, model.cmdStartDev, [&model] { model.cmdStartDev_Click(); }, devRow);
    NameQuit(Push(*oneClick, dev, model.cmdQuitDev, [&model] { model.cmdQuitDev_Click(); }, devRow), model.cmdQuitDev,
             "Quit modulation adjustment");
    d->addLayout(devRow);
    outer->addWidget(dev, 1);

    // Receiver front end
    auto* rec = new QGroupBox(this);
    Bind(rec, model.fraRecAdj);
    auto* r = new QVBoxLayout(rec);
    Text(rec, model.lblRecAdjInfo, r);
    auto* recRow = new QHBoxLayout;
    NameQuit(Push(*oneClick, rec, model.cmdStartRecAdj, [&model] { model.cmdStartRecAdj_Click(); }, recRow), model.cmdStartRecAdj,
             "Quit front end adjustment");
    Text(rec, model.lbl3, recRow);
    Text(rec, model.lblFEDAC, recRow);
    auto* updown = new QSpinBox(rec);
    // Disabled while each step is written, it takes the keyboard focus back
    // afterwards, so that the arrow keys go on stepping: the focus is noted
    // before the binding disables it and given back after it enables it.
    auto hadFocus = std::make_shared<bool>(false);
    OnChange(updown, model.udFEAdj, [updown, &model, hadFocus] {
        if (!model.udFEAdj.Enabled() && updown->hasFocus()) *hadFocus = true;
    });
    BindRange(updown, model.udFEAdj, [&model] { model.udFEAdj_Change(); });
    OnChange(updown, model.udFEAdj, [updown, &model, hadFocus] {
        if (model.udFEAdj.Enabled() && *hadFocus) {
            *hadFocus = false;
            updown->setFocus();
        }
    });
    NameControl(updown, "Front End Value");
    // An up-down control: arrows, keys and wheel step it; typing does not.
    updown->findChild<QLineEdit*>()->setReadOnly(true);
    updown->installEventFilter(this);
    updown_ = updown;
    recRow->addWidget(updown);
    recRow->addStretch();
    r->addLayout(recRow);
    outer->addWidget(rec, 1);

    // Squelch
    auto* squelch = new QGroupBox(this);
    Bind(squelch, model.fraSquelch);
    auto* q = new QVBoxLayout(squelch);
    Text(squelch, model.lblSquelchInfo, q);
    auto* sqRow = new QHBoxLayout;
    Push(*oneClick, squelch, model.cmdStartNarrSq, [&model] { model.cmdStartNarrSq_Click(); }, sqRow);
    Push(*oneClick, squelch, model.cmdStartWideSq, [&model] { model.cmdStartWideSq_Click(); }, sqRow);
    Push(*oneClick, squelch, model.cmdAbortSq, [&model] { model.cmdAbortSq_Click(); }, sqRow);
    q->addLayout(sqRow);
    outer->addWidget(squelch, 1);

    auto* bottom = new QHBoxLayout;
    auto* warn = new QCheckBox(this);
    Bind(warn, model.chkWarningMsg, [&model] { model.chkWarningMsg_Click(); });
    bottom->addWidget(warn);
    bottom->addStretch();
    NameQuit(Push(*oneClick, this, model.cmdTuneQuit, [&model] { model.cmdTuneQuit_Click(); }, bottom), model.cmdTuneQuit,
             "Quit tuning window");
    outer->addLayout(bottom);
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    auto* hint = new QLabel(status);
    Bind(hint, model.lblStatus);
    status->addWidget(hint, 1);
    outer->addWidget(status);

    resize(Px(model.Width()), Px(model.Height()));
    FollowWindow(this, model, false, Placement::OverOwner);
}

namespace {

// The steps an arrow or page key makes on the up-down; 0 for other keys.
int UpDownSteps(int key) {
    switch (key) {
    case Qt::Key_Up: return 1;
    case Qt::Key_Down: return -1;
    case Qt::Key_PageUp: return 10;
    case Qt::Key_PageDown: return -10;
    default: return 0;
    }
}

} // namespace

bool TuneView::eventFilter(QObject* watched, QEvent* event) {
    // Every press is one step, a held key's repeats included: the window
    // system repeats the key by itself. The spin box's own repeat makes two
    // steps of a repeat (the key's, and one more as it starts repeating by
    // itself), steps once more after the key was let go when the repeat
    // waited behind a write, and takes no presses while its timer runs.
    if (watched == updown_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const int steps = UpDownSteps(static_cast<QKeyEvent*>(event)->key());
        if (steps == 0) return QWidget::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress) {
            updown_->stepBy(steps);
            QAccessibleValueChangeEvent said(updown_, updown_->value());
            QAccessible::updateAccessibility(&said);
        }
        return true;
    }
    if (watched == txtFreq_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_.txtFreq_KeyPress(13);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TuneView::closeEvent(QCloseEvent* e) {
    // The close box is the window's Quit, and like Quit it is refused while
    // a procedure holds the radio. A squelch run is aborted first: the
    // window stays until the run has ended.
    if (m_.cmdTuneQuit.Enabled()) m_.cmdTuneQuit_Click();
    if (m_.Visible()) e->ignore();
    else e->accept();
}

} // namespace vktviews
