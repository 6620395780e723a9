// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/FleetView.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "views/Accessibility.h"
#include "views/Binding.h"
#include "views/ElidedLabel.h"
#include "views/FindCableDialog.h"
#include "views/WindowPlacement.h"

namespace vktviews {

namespace {

using RowState = vkteditor::FleetRun::RowState;

// Green for done, red for a failure, brown for a write not verified; the
// text says it all without the colour.
QColor Colour(RowState o, const QPalette& p) {
    switch (o) {
    case RowState::Done: return QColor(0x1b, 0x6e, 0x20);
    case RowState::Failed:
    case RowState::Interrupted: return QColor(0xb0, 0x00, 0x20);
    case RowState::NotVerified: return QColor(0x8a, 0x4b, 0x00);
    default: return p.color(QPalette::WindowText);
    }
}

// A text the keyboard reaches and selects. The focus comes after the
// selection, which would leave a label to the mouse's focus alone.
void ReachedByTab(QLabel* l) {
    l->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    l->setFocusPolicy(Qt::StrongFocus);
}

} // namespace

FleetView::FleetView(vkteditor::FleetRun& model, vkt::PortDirectory& ports, QWidget* owner)
    : QWidget(owner, Qt::Window), m_(model), grid_(nullptr), noPorts_(nullptr) {
    InstallAccessibleNames();
    auto* outer = new QVBoxLayout(this);
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins({});
    outer->addWidget(new WholeArea(content, this));

    // The cables, one row each.
    auto* cables = new QGroupBox("Cables", content);
    auto* cablesLayout = new QVBoxLayout(cables);
    grid_ = new QGridLayout;
    int col = 0;
    for (const char* heading : {"Cable", "Progress", "Radio", "Result"}) grid_->addWidget(new QLabel(heading, cables), 0, col++);
    grid_->setColumnStretch(3, 1);
    cablesLayout->addLayout(grid_);
    noPorts_ = new QLabel("No serial port on this computer: plug in a cable, or add an emulated radio.", cables);
    noPorts_->setWordWrap(true);
    cablesLayout->addWidget(noPorts_);
    auto* cableButtons = new QHBoxLayout;
    auto* find = new QPushButton(cables);
    Bind(find, m_.cmdFindCable, [this, &ports] {
        FindCableDialog(ports, [this](const std::string& device) { m_.cableFound(device); }, this).exec();
    });
    auto* emulated = new QPushButton(cables);
    Bind(emulated, m_.cmdEmulated, [this] { m_.cmdEmulated_Click(); });
    cableButtons->addWidget(find);
    cableButtons->addWidget(emulated);
    cableButtons->addStretch();
    cablesLayout->addLayout(cableButtons);
    layout->addWidget(cables);

    // What every radio gets.
    auto* options = new QGroupBox("Options", content);
    auto* form = new QGridLayout(options);
    auto* write = new QRadioButton(options);
    auto* read = new QRadioButton(options);
    write->setObjectName("optWrite");
    read->setObjectName("optRead");
    Bind(write, m_.optWrite, {&m_.optWrite, &m_.optRead}, [this] { m_.optAction_Click(); });
    Bind(read, m_.optRead, {&m_.optWrite, &m_.optRead}, [this] { m_.optAction_Click(); });
    auto* verify = NewCheck(options, m_.chkVerify, "chkVerify");
    auto* globals = NewCheck(options, m_.chkGlobals, "chkGlobals");
    auto* changedOnly = new QCheckBox(options);
    changedOnly->setObjectName("chkChangedOnly");
    Bind(changedOnly, m_.chkChangedOnly, [this] { m_.chkChangedOnly_Click(); });
    form->addWidget(write, 0, 0, 1, 2);
    auto* writeOptions = new QHBoxLayout;
    writeOptions->addSpacing(fontMetrics().averageCharWidth() * 3);
    writeOptions->addWidget(verify);
    writeOptions->addWidget(globals);
    writeOptions->addWidget(changedOnly);
    writeOptions->addStretch();
    form->addLayout(writeOptions, 1, 0, 1, 2);
    form->addWidget(read, 2, 0, 1, 2);
    // A path box on a row of its own, named by its label.
    auto pathRow = [&](vkt::Label& caption, vkt::TextBox& text, int row) {
        auto* label = NewLabel(options, caption);
        auto* box = new QLineEdit(options);
        Bind(box, text);
        NameByLabel(label, box);
        form->addWidget(label, row, 0);
        form->addWidget(box, row, 1);
        return box;
    };
    QLineEdit* folder = pathRow(m_.lblFolder, m_.txtFolder, 3);
    pathRow(m_.lblRecord, m_.txtRecord, 4);
    // Each radio's own ANI/ID, in a row of its own.
    auto* ids = new QHBoxLayout;
    auto* number = new QCheckBox(options);
    number->setObjectName("chkNumber");
    Bind(number, m_.chkNumber, [this] { m_.chkNumber_Click(); });
    auto* first = new QLineEdit(options);
    first->setObjectName("txtFirstId");
    Bind(first, m_.txtFirstId);
    NameControl(first, "Number the radios from");
    first->setToolTip("The first radio's ANI/ID (up to 7 digits), or a text file of IDs, one a line");
    first->setMaximumWidth(fontMetrics().averageCharWidth() * 24);
    auto* keep = new QCheckBox(options);
    keep->setObjectName("chkKeepIds");
    Bind(keep, m_.chkKeepIds, [this] { m_.chkKeepIds_Click(); });
    for (QWidget* w : std::initializer_list<QWidget*>{number, first, keep}) ids->addWidget(w);
    ids->addStretch();
    form->addLayout(ids, 5, 0, 1, 2);
    // Room for a path of some length.
    folder->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    form->setColumnStretch(1, 1);
    layout->addWidget(options);

    auto* summary = NewLabel(content, m_.lblSummary);
    summary->setWordWrap(true);
    ReachedByTab(summary);
    // Said by its name, as the rows' results are.
    OnChange(summary, m_.lblSummary, [summary, this] {
        const QString text = Qs(m_.lblSummary.Caption());
        summary->setAccessibleName("Summary: " + (text.isEmpty() ? QString("none yet") : text));
    });
    layout->addWidget(summary);
    layout->addWidget(NewLabel(content, m_.lblSession));
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    const std::pair<vkt::Button*, Handler> commands[] = {{&m_.cmdStart, [this] { m_.cmdStart_Click(); }},
                                                         {&m_.cmdCancel, [this] { m_.cmdCancel_Click(); }},
                                                         {&m_.cmdNext, [this] { m_.cmdNext_Click(); }},
                                                         {&m_.cmdClose, [this] { m_.cmdClose_Click(); }}};
    for (const auto& [button, click] : commands) {
        auto* b = new QPushButton(this);
        Bind(b, *button, click);
        if (button == &m_.cmdClose) buttons->addStretch();
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { m_.Form_Escape(); });

    m_.rowsChanged = [this] { showRows(); };
    showRows();
    FollowWindow(this, m_, false, Placement::OverOwner);
}

FleetView::~FleetView() { m_.rowsChanged = nullptr; }

void FleetView::showRows() {
    auto* owner = static_cast<QWidget*>(grid_->parentWidget());
    if (rows_.size() != m_.ports.size()) {
        for (const Row& r : rows_)
            for (QWidget* w : std::initializer_list<QWidget*>{r.cable, r.progress, r.radio, r.result}) delete w;
        rows_.clear();
        for (size_t i = 0; i < m_.ports.size(); ++i) {
            // Room for the usual results; a longer one is cut short, whole in its tool tip.
            Row r{new QCheckBox(owner), new QProgressBar(owner), new QLabel(owner), new ElidedLabel(40, owner)};
            const int at = static_cast<int>(i) + 1;
            grid_->addWidget(r.cable, at, 0);
            grid_->addWidget(r.progress, at, 1);
            grid_->addWidget(r.radio, at, 2);
            grid_->addWidget(r.result, at, 3);
            r.progress->setMinimumWidth(fontMetrics().averageCharWidth() * 22);
            r.radio->setMinimumWidth(fontMetrics().horizontalAdvance("2AAA0105 #5E4F  "));  // the identity and its tag
            ReachedByTab(r.result);
            connect(r.cable, &QCheckBox::toggled, this, [this, i](bool on) {
                if (i < m_.ports.size()) m_.ports[i].checked = on;
            });
            rows_.push_back(r);
        }
        // The rows lead the tab order, as they lead the window, whenever they
        // were made: each goes next after the window itself, which takes a
        // place in the order only for that.
        QWidget* before = this;
        setFocusPolicy(Qt::TabFocus);
        for (const Row& r : rows_)
            for (QWidget* w : {static_cast<QWidget*>(r.cable), static_cast<QWidget*>(r.result)}) {
                setTabOrder(before, w);
                before = w;
            }
        setFocusPolicy(Qt::NoFocus);
    }
    const bool run = m_.running();
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        const auto& port = m_.ports[i];
        const QString cable = Qs(port.text);
        {
            QSignalBlocker block(r.cable);
            r.cable->setText(cable);
            r.cable->setChecked(port.checked);
        }
        r.cable->setMinimumWidth(r.cable->sizeHint().width());
        r.cable->setEnabled(!run);
        r.cable->setAccessibleName((m_.optRead.Value() ? "Read the radio on " : "Program the radio on ") + Qs(port.device));
        r.cable->setAccessibleDescription(cable);
        const RowState o = m_.state(i);
        r.progress->setValue(o == RowState::Done ? 100 : m_.percent(i));
        r.progress->setFormat(o == RowState::Running ? "%p% " + Qs(m_.phase(i)) : "%p%");
        const QString radio = Qs(m_.radio(i)), device = Qs(port.device);
        r.progress->setAccessibleName("Progress of " + device);
        r.radio->setText(radio);
        r.radio->setAccessibleName("Radio on " + device + (radio.isEmpty() ? "" : ": " + radio));
        const QString result = Qs(m_.result(i));
        r.result->setFullText(result);
        QPalette p = r.result->palette();
        p.setColor(QPalette::WindowText, Colour(o, palette()));
        r.result->setPalette(p);
        // Said whole: the cable, the radio and what came of it.
        r.result->setAccessibleName("Result on " + device + (radio.isEmpty() ? "" : ", radio " + radio) + ": " +
                                    (result.isEmpty() ? (o == RowState::Running ? Qs(m_.phase(i)) : QString("none yet")) : result));
    }
    noPorts_->setVisible(rows_.empty());
    // A row more, and the window grows to show it whole.
    if (isVisible()) {
        // The rows' own layouts first, then the window's.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        layout()->activate();
        resize(size().expandedTo(sizeHint()));
        FitToScreen(this);
        const QRect screen = this->screen()->availableGeometry();
        if (!screen.contains(frameGeometry())) PlaceOverOwner(this);
    }
}

void FleetView::closeEvent(QCloseEvent* e) {
    if (m_.Form_QueryUnload()) {
        e->ignore();
        return;
    }
    e->accept();
}

} // namespace vktviews
