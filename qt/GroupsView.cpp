#include "qt/GroupsView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>

#include "editor/Keys.h"
#include "qt/Binding.h"
#include "qt/ChannelGridView.h"
#include "qt/VerticalLabel.h"
#include "qt/WindowViews.h"

namespace vktqt {

namespace {

QAction* MenuAction(QMenu* menu, vkt::MenuItem& item, Handler h) {
    QAction* a = menu->addAction(QString());
    Bind(a, item, std::move(h));
    return a;
}

void Place(QWidget* w, int x, int y, int width, int height) { w->setGeometry(x, y, width, height); }

} // namespace

GroupsView::GroupsView(vkteditor::frmGroups& model) : m_(model), central_(new QWidget(this)) {
    QFont f = font();
    f.setPixelSize(10);
    setFont(f);
    setCentralWidget(central_);
    grid_ = new ChannelGridView(m_.Grid, m_.gridEditor, central_);
    grid_->setObjectName("Grid");
    grid_->onDoubleClick = [this] { m_.Grid_DblClick(); };
    buildMenus();
    buildControls();
    statusBar()->setSizeGripEnabled(true);
    auto* status = new QLabel(statusBar());
    statusBar()->addWidget(status, 1);
    Bind(status, m_.statusText);

    m_.changed = [this] {
        setWindowTitle(QString::fromStdString(m_.Caption()));
        // Disabling the main window itself would disable the progress window
        // it owns; its contents and menus go instead.
        central_->setEnabled(m_.Enabled());
        menuBar()->setEnabled(m_.Enabled());
        applyLayout();
    };
    m_.changed();
    resize(Px(m_.Width()), Px(m_.Height()));
}

GroupsView::~GroupsView() { m_.changed = nullptr; }

void GroupsView::buildMenus() {
    vkteditor::frmGroups& m = m_;
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QString::fromStdString(m.mnuFile.Caption()));
    MenuAction(file, m.mnuSave, [&m] { m.mnuSave_Click(); });
    MenuAction(file, m.mnuSaveAs, [&m] { m.mnuSaveAs_Click(); });
    file->addSeparator();
    MenuAction(file, m.mnuOpen, [&m] { m.mnuOpen_Click(); });
    file->addSeparator();
    QMenu* load = file->addMenu(QString::fromStdString(m.mnuLoad.Caption()));
    MenuAction(load, m.mnuLast, [&m] { m.mnuLast_Click(); });
    MenuAction(load, m.mnuDefault, [&m] { m.mnuDefault_Click(); });
    MenuAction(load, m.mnuBlank, [&m] { m.mnuBlank_Click(); });
    QMenu* print = file->addMenu(QString::fromStdString(m.mnuP.Caption()));
    MenuAction(print, m.mnuPrint, [&m] { m.mnuPrint_Click(); });
    MenuAction(file, m.mnuSetup, [&m] { m.mnuSetup_Click(); });
    file->addSeparator();
    MenuAction(file, m.mnuExit, [this] { close(); });

    QMenu* radio = bar->addMenu(QString::fromStdString(m.mnuRadio.Caption()));
    MenuAction(radio, m.mnuRead, [&m] { m.mnuRead_Click(); });
    MenuAction(radio, m.mnuReadGlobal, [&m] { m.mnuReadGlobal_Click(); });
    MenuAction(radio, m.mnuReadGroup, [&m] { m.mnuReadGroup_Click(); });
    MenuAction(radio, m.mnuWriteAll, [&m] { m.mnuWriteAll_Click(); });
    MenuAction(radio, m.mnuWriteGlobal, [&m] { m.mnuWriteGlobal_Click(); });
    MenuAction(radio, m.mnuWriteGroup, [&m] { m.mnuWriteGroup_Click(); });
    MenuAction(radio, m.mnuSep3, {})->setSeparator(true);
    MenuAction(radio, m.mnuReadCurrGroup, [&m] { m.mnuReadCurrGroup_Click(); });
    MenuAction(radio, m.mnuWriteCurrGroup, [&m] { m.mnuWriteCurrGroup_Click(); });

    QMenu* edit = bar->addMenu(QString::fromStdString(m.mnuEdit.Caption()));
    MenuAction(edit, m.mnuGlobals, [&m] { m.mnuGlobals_Click(); });
    MenuAction(edit, m.mnuUndo, [&m] { m.mnuUndo_Click(); });
    QMenu* copy = edit->addMenu(QString::fromStdString(m.mnuCopy.Caption()));
    MenuAction(copy, m.mnuAll, [&m] { m.mnuAll_Click(); });
    MenuAction(copy, m.mnuRow, [&m] { m.mnuRow_Click(); });
    MenuAction(edit, m.mnuPaste, [&m] { m.mnuPaste_Click(); });
    MenuAction(edit, m.mnuMove, [&m] { m.mnuMove_Click(); });
    // Paste is offered only for what this window put on the clipboard.
    connect(edit, &QMenu::aboutToShow, this, [&m] { m.Form_GotFocus(); });

    QAction* tune = bar->addAction(QString());
    Bind(tune, m.mnuTuneRadio, [&m] { m.mnuTuneRadio_Click(); });

    QMenu* comm = bar->addMenu(QString::fromStdString(m.mnuCommPortx.Caption()));
    for (int n = 1; n <= 4; ++n) MenuAction(comm, m.mnuCommPort[static_cast<size_t>(n - 1)], [&m, n] { m.mnuCommPort_Click(n); });
    comm->setToolTipsVisible(true);
    comm->addSeparator();
    MenuAction(comm, m.mnuFindCable, [&m] { m.mnuFindCable_Click(); });

    QMenu* help = bar->addMenu(QString::fromStdString(m.mnuH.Caption()));
    MenuAction(help, m.mnuAbout, [&m] { m.mnuAbout_Click(); });
    MenuAction(help, m.mnuHelp, [&m] { m.mnuHelp_Click(); });
    help->addSeparator();
    MenuAction(help, m.mnuTrace, [&m] { m.mnuTrace_Click(); })->setCheckable(true);
}

void GroupsView::buildControls() {
    vkteditor::frmGroups& m = m_;
    QWidget* c = central_;
    auto label = [c](vkt::Label& model, int x, int y, int w) {
        auto* l = new QLabel(c);
        Bind(l, model);
        Place(l, x, y, w, 18);
        return l;
    };
    auto combo = [](QWidget* parent, vkt::ComboBox& model, int x, int y, int w, Handler pick = {}) {
        auto* b = new QComboBox(parent);
        Bind(b, model, std::move(pick));
        Place(b, x, y, w, 20);
        return b;
    };
    auto text = [c](vkt::TextBox& model, const char* name, int x, int y, int w) {
        auto* t = new QLineEdit(c);
        t->setObjectName(name);
        Bind(t, model);
        Place(t, x, y, w, 20);
        return t;
    };

    // The group box: an editable list whose typing is checked key by key.
    label(m.lblCurrentGroup, 6, 8, 80);
    auto* group = new QComboBox(c);
    group->setEditable(true);
    group->setInsertPolicy(QComboBox::NoInsert);
    Bind(group, m.cboCurrentGroup, [&m] { m.cboCurrentGroup_Click(); });
    group->setObjectName("cboCurrentGroup");
    Place(group, 86, 7, 44, 20);
    // The box has the focus and hands keys to its line edit itself, so its
    // keys are watched on the box. Enter is the window model's alone: the box
    // would otherwise pick the entry whose text was typed.
    struct KeyRelay : QObject {
        vkteditor::frmGroups& m;
        KeyRelay(QObject* parent, vkteditor::frmGroups& model) : QObject(parent), m(model) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
            const auto* k = static_cast<QKeyEvent*>(e);
            const int key = ModelKey(k->key());
            if (e->type() == QEvent::KeyPress) m.cboCurrentGroup_KeyDown(key);
            else if (!k->isAutoRepeat()) m.cboCurrentGroup_KeyUp(key);
            return key == vkteditor::KeyReturn;
        }
    };
    group->installEventFilter(new KeyRelay(group, m));

    label(m.lblGrpLbl, 138, 8, 66);
    text(m.txtGrpLab, "txtGrpLab", 204, 7, 80);
    label(m.lblANI, 6, 36, 80);
    text(m.txtID, "txtID", 86, 35, 62);
    label(m.lblPassWord, 154, 36, 54);
    text(m.txtPassWord, "txtPassWord", 208, 35, 76);

    // Below the grid: time-out, scan hold and the group scan list.
    label(m.lblTOT, 6, 372, 98);
    combo(c, m.cboTOT, 104, 371, 52);
    label(m.lblScanHold, 164, 372, 82);
    combo(c, m.cboScan, 246, 371, 48);
    groupScanList_ = new QCheckBox(c);
    Bind(groupScanList_, m.chkGroupScanList);

    // Headings of the three check-box columns, upright above them.
    lblScan_ = new VerticalLabel(c);
    lblNarr_ = new VerticalLabel(c);
    lblLoPower_ = new VerticalLabel(c);
    Bind(lblScan_, m.lblScan);
    Bind(lblNarr_, m.lblNarr);
    Bind(lblLoPower_, m.lblLoPower);
    for (int i = 0; i < 16; ++i) {
        scan_[static_cast<size_t>(i)] = new QCheckBox(c);
        narr_[static_cast<size_t>(i)] = new QCheckBox(c);
        loPower_[static_cast<size_t>(i)] = new QCheckBox(c);
        Bind(scan_[static_cast<size_t>(i)], m.chkScan[static_cast<size_t>(i)]);
        Bind(narr_[static_cast<size_t>(i)], m.chkNarr[static_cast<size_t>(i)]);
        Bind(loPower_[static_cast<size_t>(i)], m.chkLoPower[static_cast<size_t>(i)]);
    }

    // The frames at the right.
    auto frame = [this, c](vkt::Frame& model, int height) {
        auto* g = new QGroupBox(c);
        Bind(g, model);
        g->setProperty("frameHeight", height);
        frames_.push_back(g);
        return g;
    };
    const int fw = Px(m.layout.frameWidth);
    // Two option buttons of one group side by side at the top of a frame.
    auto optionPair = [](QWidget* parent, vkt::OptionButton& first, vkt::OptionButton& second, int firstWidth) {
        auto* a = new QRadioButton(parent);
        auto* b = new QRadioButton(parent);
        Bind(a, first, {&first, &second});
        Bind(b, second, {&first, &second});
        Place(a, 6, 13, firstWidth, 18);
        Place(b, 84, 13, 80, 18);
    };
    auto inner = [](QWidget* parent, vkt::Label& model, int x, int y, int w) {
        auto* l = new QLabel(parent);
        Bind(l, model);
        Place(l, x, y, w, 18);
    };
    QGroupBox* display = frame(m.fraDisplyControl, 72);
    inner(display, m.lblDisplay, 6, 14, 56);
    combo(display, m.cboDisplay, 62, 13, fw - 70);
    inner(display, m.lblBackLight, 6, 33, 56);
    combo(display, m.cboBackLight, 62, 32, fw - 70);
    inner(display, m.lblDuration, 6, 52, 56);
    combo(display, m.cboDuration, 62, 51, fw - 70);

    QGroupBox* pri = frame(m.fraDualPri, 68);
    inner(pri, m.lblPri1Chan, 6, 14, 60);
    combo(pri, m.cboPri1Chan, 66, 13, fw - 74);
    inner(pri, m.lblPri2, 6, 33, 60);
    combo(pri, m.cboPri2Chan, 66, 32, fw - 74);
    auto* priTx = new QCheckBox(pri);
    Bind(priTx, m.chkPriTX);
    Place(priTx, 6, 51, fw - 12, 16);

    QGroupBox* ucg = frame(m.fraUCG, 54);
    optionPair(ucg, m.optUCGEnabled, m.optUCGDisabled, 76);
    auto* encode = new QCheckBox(ucg);
    Bind(encode, m.chkUCGEncode);
    Place(encode, 6, 32, 90, 18);
    inner(ucg, m.lblUCGChan, 98, 33, 30);
    combo(ucg, m.cboUCGChan, 126, 32, fw - 132);

    QGroupBox* bci = frame(m.fraBCI, 38);
    combo(bci, m.cboBCI, 6, 13, fw - 12);
    QGroupBox* ani = frame(m.fraANI, 38);
    combo(ani, m.cboANI, 6, 13, fw - 12);

    QGroupBox* batt = frame(m.fraBattSave, 34);
    optionPair(batt, m.optBattSaveOn, m.optBattSaveOff, 60);

    QGroupBox* lock = frame(m.fraLockout, 48);
    auto* ent = new QCheckBox(lock);
    auto* priKey = new QCheckBox(lock);
    Bind(ent, m.chkENTCLRLock);
    Bind(priKey, m.chkPriKeyLock);
    Place(ent, 6, 13, fw - 12, 16);
    Place(priKey, 6, 29, fw - 12, 16);

    // The transmit offset entry, hidden until the space bar opens it.
    auto* offset = new QGroupBox(c);
    Bind(offset, m.frmOffset);
    auto* offsetText = new QLineEdit(offset);
    Bind(offsetText, m.txtOffset);
    offsetText->setObjectName("txtOffset");
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
    Place(offsetText, 6, 16, 70, 20);
    offset->setProperty("isOffset", true);
    Place(offset, 300, 4, 84, 42);
}

void GroupsView::applyLayout() {
    if (applying_) return;
    applying_ = true;
    const vkteditor::GroupsLayout& l = m_.layout;
    Place(grid_, Px(l.gridLeft), Px(l.gridTop), Px(l.gridWidth), Px(l.gridHeight));
    for (int c = 0; c < 6; ++c) grid_->setColumnWidth(c, Px(l.colWidths[static_cast<size_t>(c)]));
    grid_->horizontalHeader()->setFixedHeight(Px(l.headerHeight));
    for (int r = 0; r < 16; ++r) grid_->setRowHeight(r, Px(l.rowHeight));
    // The boxes stand level with their grid rows.
    const int box = 17;
    for (int i = 0; i < 16; ++i) {
        const int top = Px(l.checkTop(i)) + (Px(l.rowHeight) - box) / 2;
        Place(scan_[static_cast<size_t>(i)], Px(l.scanLeft), top, box, box);
        Place(narr_[static_cast<size_t>(i)], Px(l.narrLeft), top, box, box);
        Place(loPower_[static_cast<size_t>(i)], Px(l.loPowerLeft), top, box, box);
    }
    Place(lblScan_, Px(l.scanLeft), 2, box, Px(l.gridTop) + Px(l.headerHeight) - 4);
    Place(lblNarr_, Px(l.narrLeft), 2, box, Px(l.gridTop) + Px(l.headerHeight) - 4);
    Place(lblLoPower_, Px(l.loPowerLeft), 2, box, Px(l.gridTop) + Px(l.headerHeight) - 4);
    Place(groupScanList_, Px(l.groupScanListLeft) - 20, Px(l.gridTop + l.gridHeight) + 4, 120, 18);
    placeFrames();
    applying_ = false;
}

void GroupsView::placeFrames() {
    const vkteditor::GroupsLayout& l = m_.layout;
    int y = 4;
    for (QGroupBox* g : frames_) {
        const int h = g->property("frameHeight").toInt();
        Place(g, Px(l.framesLeft), y, Px(l.frameWidth), h);
        y += h + 2;
    }
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

void GroupsView::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (m_.Form_Resize(Twips(width()), Twips(height()), isMinimized())) resize(Px(m_.Width()), Px(m_.Height()));
}

} // namespace vktqt
