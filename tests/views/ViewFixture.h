// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's windows on their real widgets, offscreen, as the program builds
// them. Keys and clicks go through QTest to the widget that has the focus.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "editor/FleetRun.h"
#include "tests/support/ScriptedWorkers.h"
#include "views/ChannelGridView.h"
#include "views/FleetView.h"
#include "views/GroupsView.h"
#include "views/GlobalsView.h"
#include "views/MoveView.h"
#include "views/ProcView.h"
#include "qt/QtPlatform.h"
#include "tests/editor/EditorFixture.h"

// A wait for what the program is to show fails after this: a bound on a fault, never a margin.
constexpr int FailAfterMs = 120000;

// The machine's settings with these serial ports plugged in.
class MachineWithPorts : public vktqt::QtPlatform {
public:
    explicit MachineWithPorts(std::vector<vkt::PortInfo> ports = {}) : ports_(std::move(ports)) {}
    std::vector<vkt::PortInfo> machinePorts() override { return ports_; }
    void plug(vkt::PortInfo port) { ports_.push_back(std::move(port)); }

private:
    std::vector<vkt::PortInfo> ports_;
};

// COUNT bytes of a file from AT, none when it cannot be read there.
inline std::vector<uint8_t> FileBytes(const std::string& path, int at, int count) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly) || !f.seek(at)) return {};
    const QByteArray b = f.read(count);
    return {b.begin(), b.end()};
}

// The Program Several Radios window over a main window, on these ports,
// its copies of vkt played by a script on the test's clock.
struct FleetWindow {
    FleetWindow(vkteditor::frmGroups& main, vktsim::VirtualClock& clock, vkt::Platform& platform, QWidget* owner,
                const std::string& folder, std::vector<vkt::PortInfo> ports)
        : machine(std::move(ports)), model(platform, machine, workers, folder), view(model, machine, owner) {
        workers.clock = &clock;
        model.setupShown = [&main] { return main.setupShown(); };
        model.setupName = [] { return std::string("fire-dept.vkt"); };
        model.sha256 = [](const std::vector<uint8_t>& b) { return "sha-of-" + std::to_string(b.size()) + "-bytes"; };
        model.holdsCables = [&main](bool holds) { main.fleetHoldsCables(holds); };
        main.showFleet = [this] { model.Show(); };
        model.startEmulator = [this](const std::string& memory, std::string&) {
            emulatorMemory.push_back(memory);
            return "/dev/pts/" + std::to_string(6 + emulatorMemory.size());
        };
    }
    // Until every copy has ended, as the window's timer would.
    void finish() { while (model.running()) model.pass(0.1); }

    MachineWithPorts machine;
    ScriptedWorkers workers;
    std::vector<std::string> emulatorMemory;
    vkteditor::FleetRun model;
    vktviews::FleetView view;
};

// A push button as the technician sees it: by its caption, among those on
// show, since the tuning window keeps hidden twins on its other tabs.
inline QPushButton* ShownButton(const QWidget& window, const QString& text) {
    for (auto* b : window.findChildren<QPushButton*>()) if (b->text() == text && b->isVisible()) return b;
    ADD_FAILURE() << "no button " << text.toStdString() << " on show";
    return nullptr;
}

// With VKT_SCREENSHOTS=DIR set, a picture of the window in DIR.
inline void Screenshot(QWidget* w, const QString& name) {
    const QByteArray dir = qgetenv("VKT_SCREENSHOTS");
    if (dir.isEmpty()) return;
    QApplication::processEvents();  // the layout of what was shown or hidden
    w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

// Starts the accessibility bus of this session, as a desktop does at login, and waits until this program has
// joined it: false where there is none to be had (no window system, no session bus).
inline bool AccessibilityBusUp() {
    if (QGuiApplication::platformName() != "xcb") return false;
    QProcess::execute("dbus-send", {"--session", "--dest=org.a11y.Bus", "--print-reply", "/org/a11y/bus", "org.a11y.Bus.GetAddress"});
    return QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
}

// What a reader on the bus hears of this program, in its order (tests/views/heard-over-bus.py).
inline QStringList HeardOverBus() {
    QProcess reader;
    QEventLoop answered;
    QObject::connect(&reader, &QProcess::finished, &answered, &QEventLoop::quit);
    QObject::connect(&reader, &QProcess::errorOccurred, &answered, &QEventLoop::quit);
    reader.start(VKT_HEARD_OVER_BUS, {QString::number(QCoreApplication::applicationPid())});
    answered.exec();  // the bus asks this program while the reader waits
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// What the program tells a screen reader, one kind of news at a time: the name of each part it says has taken the
// focus, or of each notification it shows anew. Nothing is told where no screen reader could listen.
class Said {
public:
    explicit Said(QAccessible::Event kind) : previous_(QAccessible::installUpdateHandler(Hear)) {
        Kind() = kind;
        names().clear();
    }
    ~Said() { QAccessible::installUpdateHandler(previous_); }
    static QStringList& names() {
        static QStringList said;
        return said;
    }
    static QString last() { return names().isEmpty() ? QString() : names().last(); }

private:
    static QAccessible::Event& Kind() {
        static QAccessible::Event kind;
        return kind;
    }
    static void Hear(QAccessibleEvent* e) {
        QAccessibleInterface* told = e->accessibleInterface();
        if (told && e->type() == Kind() && (e->type() != QAccessible::ObjectShow || told->role() == QAccessible::Notification))
            names() << told->text(QAccessible::Name);
    }
    QAccessible::UpdateHandler previous_;
};

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class ViewTest : public EditorTest {
protected:
    ViewTest() {
        view = std::make_unique<vktviews::GroupsView>(*main);
        procView = std::make_unique<vktviews::ProcView>(main->proc, view.get());
        globalsView = std::make_unique<vktviews::GlobalsView>(main->globalsForm, view.get());
        moveView = std::make_unique<vktviews::MoveView>(main->moveForm, view.get());
        view->show();
        activate(view.get());
    }

public:
    static void activate(QWidget* w) {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, FailAfterMs));
        QApplication::processEvents();
    }
    // The window stands in the middle of its screen, give or take its frame,
    // which a window system adds once the window is shown.
    static bool Centred(const QWidget* w) {
        const QPoint off = w->frameGeometry().center() - w->screen()->availableGeometry().center();
        const QSize frame = w->frameGeometry().size() - w->size();
        return std::abs(off.x()) <= frame.width() / 2 + 1 && std::abs(off.y()) <= frame.height() / 2 + 1;
    }
    // The window opens centred over the main window, moved only as far as keeps it wholly on its screen (with
    // room for a title bar the window system may add).
    bool OverMainWindow(const QWidget* w) const {
        const QRect screen = w->screen()->availableGeometry();
        QRect want(QPoint(), w->frameGeometry().size());
        want.moveCenter(view->frameGeometry().center());
        want.moveLeft(std::max(std::min(want.left(), screen.right() + 1 - want.width()), screen.left()));
        want.moveTop(std::max(std::min(want.top(), screen.bottom() + 1 - want.height()), screen.top()));
        return screen.contains(w->frameGeometry()) && (w->frameGeometry().topLeft() - want.topLeft()).manhattanLength() <=
                                                             w->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 16;
    }
    // A menu item of the main window by its caption, & marks and all.
    QAction* action(const QString& text) const {
        for (QAction* a : view->findChildren<QAction*>()) if (a->text() == text) return a;
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }
    vktviews::ChannelGridView* grid() const { return view->findChild<vktviews::ChannelGridView*>("Grid"); }
    QComboBox* groupBox() const { return view->findChild<QComboBox*>("cboCurrentGroup"); }
    QString shown(int row, int col) const { return grid()->model()->index(row, col).data().toString(); }
    uint8_t radioByte(int address) { return port.radio().eeprom.at(static_cast<size_t>(address)); }

    // How often the program beeped while doing ACT.
    int beepsDuring(const std::function<void()>& act) {
        const int before = platform.beeps;
        act();
        return platform.beeps - before;
    }
    static QWidget* focus() { return QApplication::focusWidget(); }
    // Keys to whatever has the focus, one at a time, as typed, with what
    // each sets off (the grid takes a cell's text on a queued call) done.
    static void type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClick(focus(), c.toLatin1());
            QApplication::processEvents();
        }
    }
    static QLineEdit* typeOver(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        type(text);
        return box;
    }
    QLineEdit* typeInto(const char* name, const QString& text) const { return typeOver(view->findChild<QLineEdit*>(name), text); }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), key, modifiers);
        QApplication::processEvents();
    }
    void clickCell(int row, int col) const {
        QAbstractItemView* g = grid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, col)).center());
    }
    void enter(int row, int col, const QString& text) const {
        clickCell(row, col);
        type(text);
        press(Qt::Key_Return);
    }
    static void pickFromList(QComboBox* box, int index) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QRect r = list->visualRect(list->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        activate(box->window());
    }
    // Ctrl+S, the file dialog answered with NAME in the test's folder.
    std::string save(const char* name) {
        const std::string setup = (temp.path() / name).string();
        platform.dialogAnswers.push_back(setup);
        press(Qt::Key_S, Qt::ControlModifier);
        return setup;
    }
    // A key whose command shows and closes a window of its own (the progress window): done once the main window
    // is active again, as the technician sees it.
    void command(Qt::Key key) {
        press(key);
        activate(view.get());
    }
protected:
    // Declared after the window model, so gone before it.
    std::unique_ptr<vktviews::GroupsView> view;
    std::unique_ptr<vktviews::ProcView> procView;
    std::unique_ptr<vktviews::GlobalsView> globalsView;
    std::unique_ptr<vktviews::MoveView> moveView;
};
