// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/GroupsView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include "editor/Keys.h"
#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/ChannelGridView.h"
#include "views/RowCheckBoxes.h"
#include "views/VerticalLabel.h"
#include "views/WindowPlacement.h"

namespace vktviews {

namespace {

// A command's message gives way to the next command's: the status bar is
// cleared before each command says what it came to.
QAction* MenuAction(QMenu* menu, vkt::MenuItem& item, Handler h, vkt::Label* status = nullptr) {
    QAction* a = menu->addAction(QString());
    Bind(a, item, h && status ? Handler([h, status] {
        status->setCaption("");
        h();
    })
                               : std::move(h));
    return a;
}

// A top-level menu opened with Alt and its caption's first letter.
QString MenuTitle(const vkt::MenuItem& item) { return "&" + QString::fromStdString(item.Caption()); }

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

// Two option buttons of one group side by side.
QLayout* OptionPair(QWidget* parent, vkt::OptionButton& first, const char* firstName, vkt::OptionButton& second,
                    const char* secondName) {
    auto* a = Named(new QRadioButton(parent), firstName);
    auto* b = Named(new QRadioButton(parent), secondName);
    Bind(a, first, {&first, &second});
    Bind(b, second, {&first, &second});
    // Said with their frame: "Battery Saver On".
    const QString frame = static_cast<QGroupBox*>(parent)->title();
    NameControl(a, frame + " " + a->text());
    NameControl(b, frame + " " + b->text());
    auto* row = new QHBoxLayout;
    row->addWidget(a);
    row->addWidget(b);
    row->addStretch();
    return row;
}

} // namespace

GroupsView::GroupsView(vkteditor::frmGroups& model) : m_(model), central_(new QWidget) {
    setCentralWidget(new WholeArea(central_, this));
    grid_ = Named(new ChannelGridView(m_.Grid, m_.gridEditor, central_), "Grid");
    grid_->onDoubleClick = [this] { m_.Grid_DblClick(); };
    checks_ = new RowCheckBoxes(grid_, central_);
    NameControl(grid_, "Channels");
    checks_->addColumn(m_.chkScan, "chkScan", QString::fromStdString(m_.lblScan.Caption()));
    checks_->addColumn(m_.chkNarr, "chkNarr", QString::fromStdString(m_.lblNarr.Caption()));
    checks_->addColumn(m_.chkLoPower, "chkLoPower", QString::fromStdString(m_.lblLoPower.Caption()));
    buildMenus();

    // Headings of the check-box columns, upright above them.
    auto* headings = new QHBoxLayout;
    headings->setSpacing(0);
    for (vkt::Label* heading : {&m_.lblScan, &m_.lblNarr, &m_.lblLoPower}) {
        auto* l = new VerticalLabel(central_);
        Bind(l, *heading);
        l->setFixedWidth(checks_->pitch());
        headings->addWidget(l, 0, Qt::AlignBottom);
    }

    // Group fields on top, the grid with its boxes beside its rows, the
    // timers under it, the frames at the right; width to spare goes to the
    // grid, height to spare below everything.
    auto* layout = new QGridLayout(central_);
    layout->addLayout(buildGroupFields(), 0, 0, Qt::AlignBottom);
    layout->addLayout(headings, 0, 1, Qt::AlignBottom);
    layout->addWidget(grid_, 1, 0, Qt::AlignTop);
    layout->addWidget(checks_, 1, 1, Qt::AlignTop);
    layout->addLayout(buildTimers(), 2, 0, 1, 2);
    // Two frames under the timers keep the window within a laptop's screen.
    auto* below = new QHBoxLayout;
    layout->addLayout(below, 3, 0, 1, 2, Qt::AlignTop);
    layout->addLayout(buildFrames(below), 0, 2, 5, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(4, 1);
    layout->setHorizontalSpacing(fontMetrics().averageCharWidth() * 2);
    setTabOrder();

    statusBar()->setSizeGripEnabled(true);
    auto* status = new QLabel(statusBar());
    statusBar()->addWidget(status, 1);
    Bind(status, m_.statusText);
    // A long message shows its start; the whole of it is in the tool tip.
    OnChange(status, m_.statusText, [this, status] { status->setToolTip(Qs(m_.statusText.Caption())); });
    // A hint about refused typing goes at the next accepted key, or after a
    // few seconds.
    auto* hintTimer = new QTimer(this);
    hintTimer->setSingleShot(true);
    hintTimer->setInterval(5000);
    auto clearHint = [this] { m_.clearTypingHint(); };
    connect(hintTimer, &QTimer::timeout, this, clearHint);
    OnChange(hintTimer, m_.statusText, [this, hintTimer] {
        if (m_.ShowsTypingHint()) hintTimer->start();
    });
    for (QLineEdit* box : central_->findChildren<QLineEdit*>()) connect(box, &QLineEdit::textEdited, this, clearHint);
    grid_->onTyped = clearHint;
    auto* emulated = new QLabel(statusBar());
    emulated->setFrameShape(QFrame::StyledPanel);
    statusBar()->addPermanentWidget(emulated);
    Bind(emulated, m_.lblEmulatedMark);

    // While a transfer holds the main window it takes no input: the progress
    // window in front of it is modal for it (ProcView).
    m_.changed = [this] { setWindowTitle(QString::fromStdString(m_.Caption())); };
    m_.changed();
}

GroupsView::~GroupsView() { m_.changed = nullptr; }

void GroupsView::buildMenus() {
    vkteditor::frmGroups& m = m_;
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(MenuTitle(m.mnuFile));
    MenuAction(file, m.mnuSave, [&m] { m.mnuSave_Click(); }, &m.statusText);
    MenuAction(file, m.mnuSaveAs, [&m] { m.mnuSaveAs_Click(); }, &m.statusText);
    file->addSeparator();
    MenuAction(file, m.mnuOpen, [&m] { m.mnuOpen_Click(); }, &m.statusText);
    MenuAction(file, m.mnuImportPlan, [&m] { m.mnuImportPlan_Click(); }, &m.statusText);
    QMenu* exportPlan = file->addMenu(QString::fromStdString(m.mnuExportPlan.Caption()));
    MenuAction(exportPlan, m.mnuExportIncident, [&m] { m.mnuExportIncident_Click(); }, &m.statusText);
    MenuAction(exportPlan, m.mnuExportList, [&m] { m.mnuExportList_Click(); }, &m.statusText);
    file->addSeparator();
    QMenu* load = file->addMenu(QString::fromStdString(m.mnuLoad.Caption()));
    MenuAction(load, m.mnuLast, [&m] { m.mnuLast_Click(); }, &m.statusText);
    MenuAction(load, m.mnuDefault, [&m] { m.mnuDefault_Click(); }, &m.statusText);
    MenuAction(load, m.mnuBlank, [&m] { m.mnuBlank_Click(); }, &m.statusText);
    QMenu* print = file->addMenu(QString::fromStdString(m.mnuP.Caption()));
    MenuAction(print, m.mnuPrint, [&m] { m.mnuPrint_Click(); }, &m.statusText);
    MenuAction(file, m.mnuSetup, [&m] { m.mnuSetup_Click(); }, &m.statusText);
    file->addSeparator();
    MenuAction(file, m.mnuExit, [this] { close(); }, &m.statusText);

    QMenu* radio = bar->addMenu(MenuTitle(m.mnuRadio));
    MenuAction(radio, m.mnuRead, [&m] { m.mnuRead_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuReadGlobal, [&m] { m.mnuReadGlobal_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuReadGroup, [&m] { m.mnuReadGroup_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuWriteAll, [&m] { m.mnuWriteAll_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuWriteChanges, [&m] { m.mnuWriteChanges_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuVerify, [&m] { m.mnuVerify_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuWriteGlobal, [&m] { m.mnuWriteGlobal_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuWriteGroup, [&m] { m.mnuWriteGroup_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuSep3, {})->setSeparator(true);
    MenuAction(radio, m.mnuReadCurrGroup, [&m] { m.mnuReadCurrGroup_Click(); }, &m.statusText);
    MenuAction(radio, m.mnuWriteCurrGroup, [&m] { m.mnuWriteCurrGroup_Click(); }, &m.statusText);
    radio->addSeparator();
    MenuAction(radio, m.mnuFleet, [&m] { m.mnuFleet_Click(); }, &m.statusText);

    QMenu* edit = bar->addMenu(MenuTitle(m.mnuEdit));
    MenuAction(edit, m.mnuGlobals, [&m] { m.mnuGlobals_Click(); }, &m.statusText);
    MenuAction(edit, m.mnuUndo, [&m] { m.mnuUndo_Click(); }, &m.statusText);
    QMenu* copy = edit->addMenu(QString::fromStdString(m.mnuCopy.Caption()));
    MenuAction(copy, m.mnuAll, [&m] { m.mnuAll_Click(); }, &m.statusText);
    MenuAction(copy, m.mnuRow, [&m] { m.mnuRow_Click(); }, &m.statusText);
    MenuAction(edit, m.mnuPaste, [&m] { m.mnuPaste_Click(); }, &m.statusText);
    MenuAction(edit, m.mnuMove, [&m] { m.mnuMove_Click(); }, &m.statusText);
    // Paste is offered only for what this window put on the clipboard.
    connect(edit, &QMenu::aboutToShow, this, [&m] { m.Form_GotFocus(); });

    QAction* tune = bar->addAction(QString());
    Bind(tune, m.mnuTuneRadio, [&m] { m.mnuTuneRadio_Click(); }, MenuPlace::OnMenuBar);

    QMenu* comm = bar->addMenu(MenuTitle(m.mnuCommPortx));
    for (int n = 1; n <= 4; ++n) MenuAction(comm, m.mnuCommPort[static_cast<size_t>(n - 1)], [&m, n] { m.mnuCommPort_Click(n); }, &m.statusText);
    MenuAction(comm, m.mnuEmulated, [&m] { m.mnuEmulated_Click(); }, &m.statusText);
    comm->setToolTipsVisible(true);
    comm->addSeparator();
    MenuAction(comm, m.mnuFindCable, [&m] { m.mnuFindCable_Click(); }, &m.statusText);
    MenuAction(comm, m.mnuCommSettings, [&m] { m.mnuCommSettings_Click(); }, &m.statusText);

    QMenu* help = bar->addMenu(MenuTitle(m.mnuH));
    MenuAction(help, m.mnuAbout, [&m] { m.mnuAbout_Click(); }, &m.statusText);
    MenuAction(help, m.mnuHelp, [&m] { m.mnuHelp_Click(); }, &m.statusText);
    help->addSeparator();
    MenuAction(help, m.mnuTrace, [&m] { m.mnuTrace_Click(); }, &m.statusText)->setCheckable(true);
}

QLayout* GroupsView::buildGroupFields() {
    vkteditor::frmGroups& m = m_;
    QWidget* c = central_;
    auto* fields = new QGridLayout;

    // The group box: an editable list whose typing is checked key by key.
    auto* group = Named(new QComboBox(c), "cboCurrentGroup");
    group->setEditable(true);
    group->setInsertPolicy(QComboBox::NoInsert);
    Bind(group, m.cboCurrentGroup, [&m] { m.cboCurrentGroup_Click(); });
    // The box has the focus and hands keys to its line edit itself, so its
    // keys are watched on the box. Enter is the window model's alone: the box
    // would otherwise pick the entry whose text was typed.
    struct KeyRelay : QObject {
        vkteditor::frmGroups& m;
        KeyRelay(QObject* parent, vkteditor::frmGroups& model) : QObject(parent), m(model) {}
        bool eventFilter(QObject*, QEvent* e) override {
            // Before the box itself takes a typed number for a pick as the
            // focus leaves it.
            if (e->type() == QEvent::FocusOut) {
                m.cboCurrentGroup_LostFocus();
                return false;
            }
            if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
            const auto* k = static_cast<QKeyEvent*>(e);
            const int key = ModelKey(k->key());
            if (e->type() == QEvent::KeyPress) m.cboCurrentGroup_KeyDown(key);
            else if (!k->isAutoRepeat()) m.cboCurrentGroup_KeyUp(key);
            return key == vkteditor::KeyReturn;
        }
    };
    group->installEventFilter(new KeyRelay(group, m));

    // A box as wide as the most its field holds.
    auto text = [c](vkt::TextBox& model, const char* name, QChar widest) {
        auto* t = Named(new QLineEdit(c), name);
        Bind(t, model);
        const QMargins m = t->textMargins() + t->contentsMargins();
        t->setMinimumWidth(t->fontMetrics().horizontalAdvance(QString(model.MaxLength + 1, widest)) + m.left() + m.right() + 8);
        t->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return t;
    };
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    auto field = [c, fields, left](vkt::Label& label, QWidget* box, int row, int col) {
        QLabel* l = NewLabel(c, label);
        NameByLabel(l, box);
        fields->addWidget(l, row, col);
        fields->addWidget(box, row, col + 1, left);
    };
    field(m.lblCurrentGroup, group, 0, 0);
    field(m.lblGrpLbl, text(m.txtGrpLab, "txtGrpLab", 'W'), 0, 3);
    field(m.lblANI, text(m.txtID, "txtID", '0'), 1, 0);
    field(m.lblPassWord, text(m.txtPassWord, "txtPassWord", '0'), 1, 3);
    fields->setColumnMinimumWidth(2, fontMetrics().averageCharWidth() * 2);

    // The transmit offset entry, hidden until the space bar opens it.
    auto* offset = new QGroupBox(c);
    Bind(offset, m.frmOffset);
    auto* offsetText = Named(new QLineEdit(offset), "txtOffset");
    Bind(offsetText, m.txtOffset);
    NameControl(offsetText, QString::fromStdString(m.frmOffset.Caption()) + " in MHz");
    (new QHBoxLayout(offset))->addWidget(offsetText);
    m.txtOffset.focusRequested = [offsetText] { offsetText->setFocus(); };
    m.clipboard.focusGrid = [this] { grid_->setFocus(); };
    struct OffsetKeys : QObject {
        vkteditor::frmGroups& m;
        OffsetKeys(QObject* parent, vkteditor::frmGroups& model) : QObject(parent), m(model) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress) m.txtOffset_KeyDown(ModelKey(static_cast<QKeyEvent*>(e)->key()));
            return false;
        }
    };
    offsetText->installEventFilter(new OffsetKeys(offsetText, m));
    fields->addWidget(offset, 0, 5, 2, 1);
    fields->setColumnStretch(6, 1);
    return fields;
}

QLayout* GroupsView::buildFrames(QBoxLayout* below) {
    vkteditor::frmGroups& m = m_;
    QWidget* c = central_;
    auto* frames = new QVBoxLayout;
    auto frame = [c, frames](vkt::Frame& model, QBoxLayout* into = nullptr) {
        auto* g = new QGroupBox(c);
        Bind(g, model);
        (into ? into : frames)->addWidget(g);
        return g;
    };
    // A frame of label and list rows.
    auto form = [c](QGroupBox* g, std::initializer_list<std::tuple<vkt::Label*, vkt::ComboBox*, const char*>> rows) {
        auto* f = new QFormLayout(g);
        for (const auto& [label, list, name] : rows) {
            QLabel* l = NewLabel(g, *label);
            QComboBox* box = NewCombo(g, *list, name);
            NameByLabel(l, box);
            f->addRow(l, box);
        }
        return f;
    };

    form(frame(m.fraDisplyControl), {{&m.lblDisplay, &m.cboDisplay, "cboDisplay"},
                                     {&m.lblBackLight, &m.cboBackLight, "cboBackLight"},
                                     {&m.lblDuration, &m.cboDuration, "cboDuration"}});
    QGroupBox* pri = frame(m.fraDualPri);
    form(pri, {{&m.lblPri1Chan, &m.cboPri1Chan, "cboPri1Chan"}, {&m.lblPri2, &m.cboPri2Chan, "cboPri2Chan"}})
        ->addRow(NewCheck(pri, m.chkPriTX, "chkPriTX"));

    QGroupBox* ucg = frame(m.fraUCG);
    auto* ucgRows = new QGridLayout(ucg);
    ucgRows->addLayout(OptionPair(ucg, m.optUCGEnabled, "optUCGEnabled", m.optUCGDisabled, "optUCGDisabled"), 0, 0, 1, 3);
    ucgRows->addWidget(NewCheck(ucg, m.chkUCGEncode, "chkUCGEncode"), 1, 0);
    QLabel* ucgChan = NewLabel(ucg, m.lblUCGChan);
    QComboBox* ucgChanBox = NewCombo(ucg, m.cboUCGChan, "cboUCGChan");
    ucgChan->setBuddy(ucgChanBox);
    NameControl(ucgChanBox, ucg->title() + " " + SpokenName(ucgChan->text()));
    ucgRows->addWidget(ucgChan, 1, 1, Qt::AlignRight);
    ucgRows->addWidget(ucgChanBox, 1, 2);
    ucgRows->setColumnStretch(0, 1);

    QGroupBox* bci = frame(m.fraBCI);
    // A list alone in its frame is said with the frame's title and what it sets.
    auto single = [](QGroupBox* g, QComboBox* box) {
        NameControl(box, g->title() + " setting");
        (new QVBoxLayout(g))->addWidget(box);
    };
    single(bci, NewCombo(bci, m.cboBCI, "cboBCI"));
    QGroupBox* ani = frame(m.fraANI);
    single(ani, NewCombo(ani, m.cboANI, "cboANI"));
    QGroupBox* batt = frame(m.fraBattSave, below);
    (new QVBoxLayout(batt))->addLayout(OptionPair(batt, m.optBattSaveOn, "optBattSaveOn", m.optBattSaveOff, "optBattSaveOff"));
    QGroupBox* lock = frame(m.fraLockout, below);
    auto* locks = new QVBoxLayout(lock);
    locks->addWidget(NewCheck(lock, m.chkENTCLRLock, "chkENTCLRLock"));
    locks->addWidget(NewCheck(lock, m.chkPriKeyLock, "chkPriKeyLock"));
    frames->addStretch(1);
    below->addStretch(1);
    return frames;
}

QLayout* GroupsView::buildTimers() {
    vkteditor::frmGroups& m = m_;
    QWidget* c = central_;
    auto* timers = new QHBoxLayout;
    auto labelled = [c, timers](vkt::Label& label, vkt::ComboBox& list, const char* name) {
        QLabel* l = NewLabel(c, label);
        QComboBox* box = NewCombo(c, list, name);
        NameByLabel(l, box);
        timers->addWidget(l);
        timers->addWidget(box);
    };
    labelled(m.lblTOT, m.cboTOT, "cboTOT");
    timers->addSpacing(fontMetrics().averageCharWidth() * 2);
    labelled(m.lblScanHold, m.cboScan, "cboScan");
    timers->addSpacing(fontMetrics().averageCharWidth() * 2);
    timers->addWidget(NewCheck(c, m.chkGroupScanList, "chkGroupScanList"));
    timers->addStretch(1);
    return timers;
}

// Reading order: the group fields, the grid, its boxes row by row, the
// frames at the right top to bottom, the timers and the frames under them.
void GroupsView::setTabOrder() {
    std::vector<QWidget*> order;
    for (const char* name : {"cboCurrentGroup", "txtGrpLab", "txtID", "txtPassWord", "Grid"})
        order.push_back(central_->findChild<QWidget*>(name));
    for (int r = 0; r < 16; ++r)
        for (int col = 0; col < checks_->columnCount(); ++col) order.push_back(checks_->box(col, r));
    for (const char* name : {"cboDisplay", "cboBackLight", "cboDuration", "cboPri1Chan", "cboPri2Chan", "chkPriTX", "optUCGEnabled",
                             "optUCGDisabled", "chkUCGEncode", "cboUCGChan", "cboBCI", "cboANI", "cboTOT", "cboScan", "chkGroupScanList",
                             "optBattSaveOn", "optBattSaveOff", "chkENTCLRLock", "chkPriKeyLock", "txtOffset"})
        order.push_back(central_->findChild<QWidget*>(name));
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void GroupsView::showEvent(QShowEvent* e) {
    if (!placed_) CentreOnScreen(this);
    placed_ = true;
    QMainWindow::showEvent(e);
}

void GroupsView::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) m_.Form_Activate();
}

void GroupsView::closeEvent(QCloseEvent* e) {
    if (m_.Form_QueryUnload()) {
        e->ignore();
        return;
    }
    e->accept();
    // The program ends with its main window; hidden windows go with it.
    QApplication::quit();
}


} // namespace vktviews
