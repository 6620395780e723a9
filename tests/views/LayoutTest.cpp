// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as shown, also on the screens and scales tests/CMakeLists.txt
// names (laptops' 1280x680 logical pixels and screens too small). A screen
// reader must say each control the keyboard reaches by a name of its own.

#include <fstream>

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QStyleOptionViewItem>
#include <QScrollBar>
#include <QTextBrowser>

#include "editor/frmAbout.h"
#include "editor/frmSplash.h"
#include "views/CommPortSettingsDialog.h"
#include "views/FindCableDialog.h"
#include "qt/HelpViewer.h"
#include "views/TuneView.h"
#include "tests/views/ViewFixture.h"
#include "tune/frmTune.h"
#include "views/AboutView.h"
#include "views/PlanImportView.h"
#include "views/SplashView.h"
#include "views/WindowPlacement.h"

namespace {

QString NameOf(const QWidget* w) {
    QString text;
    if (auto* l = qobject_cast<const QLabel*>(w)) text = l->text();
    else if (auto* b = qobject_cast<const QAbstractButton*>(w)) text = b->text();
    else if (auto* g = qobject_cast<const QGroupBox*>(w)) text = g->title();
    else if (auto* c = qobject_cast<const QComboBox*>(w)) text = c->currentText();
    QString name = QString(w->metaObject()->className());
    if (!w->objectName().isEmpty()) name += " " + w->objectName();
    if (!text.isEmpty()) name += " \"" + text.left(30) + "\"";
    return name;
}

// Widgets whose insides Qt lays out itself.
bool IsComposite(const QWidget* w) {
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTabBar*>(w) || qobject_cast<const QMenuBar*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QProgressBar*>(w) ||
           qobject_cast<const QAbstractSlider*>(w);
}

void CheckText(const QWidget* w, QStringList& faults) {
    auto fault = [&](const QString& why) { faults << NameOf(w) + ": " + why; };
    const QSize has = w->size();
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->wordWrap()) {
            if (l->heightForWidth(has.width()) > has.height()) fault("wrapped text taller than its label");
        } else if (has.width() < l->sizeHint().width() || has.height() < l->minimumSizeHint().height()) {
            fault(QString("text needs %1x%2, has %3x%4").arg(l->sizeHint().width()).arg(l->sizeHint().height()).arg(has.width()).arg(has.height()));
        }
    } else if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w)) {
        const QSize needs = w->sizeHint();
        if (has.width() < needs.width() || has.height() < needs.height())
            fault(QString("needs %1x%2, has %3x%4").arg(needs.width()).arg(needs.height()).arg(has.width()).arg(has.height()));
    } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (has.width() < g->minimumSizeHint().width()) fault("title wider than its frame");
    } else if (auto* t = qobject_cast<const QTabBar*>(w)) {
        for (int i = 0; i < t->count(); ++i)
            if (t->tabRect(i).width() < t->fontMetrics().horizontalAdvance(t->tabText(i))) fault("tab " + t->tabText(i) + " elided");
    } else if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        if (e->fontMetrics().horizontalAdvance(e->text()) > e->contentsRect().width() - 4) fault("text wider than its box");
    } else if (auto* m = qobject_cast<const QMenuBar*>(w)) {
        if (has.width() < m->sizeHint().width()) fault("menus wider than the window");
    } else if (auto* table = qobject_cast<const QTableView*>(w)) {
        QStyleOptionViewItem cell;
        cell.initFrom(table);
        cell.widget = table;
        for (int c = 0; c < table->model()->columnCount(); ++c) {
            int needs = table->horizontalHeader()->sectionSizeHint(c);
            for (int r = 0; r < table->model()->rowCount(); ++r)
                needs = std::max(needs, table->itemDelegate()->sizeHint(cell, table->model()->index(r, c)).width());
            if (table->columnWidth(c) < needs) fault(QString("column %1 needs %2, has %3").arg(c).arg(needs).arg(table->columnWidth(c)));
        }
        const int rows = table->horizontalHeader()->height() + table->model()->rowCount() * table->rowHeight(0);
        if (table->viewport()->height() + table->horizontalHeader()->height() < rows) fault("rows cut off");
    }
}

void Walk(QWidget* parent, QWidget* window, QStringList& faults) {
    QList<QWidget*> shown;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && w->isVisible()) shown << w;
    }
    for (int i = 0; i < shown.size(); ++i)
        for (int j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry())) faults << NameOf(shown[i]) + " overlaps " + NameOf(shown[j]);
    for (QWidget* w : shown) {
        const QRect inWindow(w->mapTo(window, QPoint()), w->size());
        if (!window->rect().contains(inWindow)) faults << NameOf(w) + " outside its window";
        CheckText(w, faults);
        // A scrolled control lies in the area's whole content, shown or not.
        if (auto* area = dynamic_cast<vktviews::WholeArea*>(w)) Walk(area->widget(), area->widget(), faults);
        else if (!IsComposite(w)) Walk(w, window, faults);
    }
}

// Counts the named controls under at, and notes those a screen reader could only say by their value or their frame.
// Buttons of one window that sound alike are noted too.
void WalkNames(QAccessibleInterface* at, const QString& frame, QStringList& faults, int& named, QStringList& buttons) {
    for (int i = 0; i < at->childCount(); ++i) {
        QAccessibleInterface* c = at->child(i);
        if (!c || c->state().invisible) continue;
        const QString name = c->text(QAccessible::Name);
        auto* w = qobject_cast<QWidget*>(c->object());
        const bool reachable = c->role() == QAccessible::Cell || c->role() == QAccessible::PageTab || (w && (w->focusPolicy() & Qt::TabFocus));
        // A list or table says its own name as its value.
        const bool hasValue = c->role() != QAccessible::Table && c->role() != QAccessible::List;
        if (reachable && (name.isEmpty() || (hasValue && name == c->text(QAccessible::Value)) || name == frame))
            faults << QString("%1 %2 named \"%3\"").arg(c->role()).arg(w ? NameOf(w) : c->text(QAccessible::Value)).arg(name);
        else if (reachable) ++named;
        for (int k = 0; c->role() == QAccessible::PageTabList && k < c->childCount(); ++k)
            if (c->child(k)->text(QAccessible::Name) == name) faults << "tab list named by its tab " + name;
        if (reachable && c->role() == QAccessible::Button && buttons.contains(name.toLower())) faults << "two buttons sound as \"" + name + "\"";
        if (reachable && c->role() == QAccessible::Button) buttons << name.toLower();
        WalkNames(c, c->role() == QAccessible::Grouping ? name : frame, faults, named, buttons);
    }
}

// The display scale, for the pictures' names: "" at 100 %, "-200percent".
QString Scale() {
    const int percent = qRound(QGuiApplication::primaryScreen()->devicePixelRatio() * 100);
    return percent == 100 ? QString() : QString("-%1percent").arg(percent);
}

bool Whole(const QWidget* window) {
    for (auto* area : window->findChildren<vktviews::WholeArea*>())
        if (area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible()) return false;
    return true;
}

class LayoutTest : public ViewTest {
protected:
    // Walks a shown window at its own size and at twice that size. It opens within its screen; on a screen of
    // 1280x680 or more it fits, title bar and all, and shows every control even at its smallest.
    void walk(QWidget* window, const QString& name) {
        ASSERT_TRUE(window->isVisible()) << name.toStdString();
        QApplication::processEvents();
        const QRect screen = window->screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(window->frameGeometry())) << name.toStdString() << " beyond its screen: " << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
        const QSize size = window->size();
        if (screen.width() >= 1280 && screen.height() >= 680) {
            window->resize(window->minimumSize());
            QApplication::processEvents();
            const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_LE(window->minimumSize().height() + titleBar, 680) << name.toStdString();
            EXPECT_LE(window->minimumSize().width(), 1280) << name.toStdString();
            EXPECT_TRUE(Whole(window)) << name.toStdString() << " scrolled at its smallest";
        }
        for (const int times : {1, 2}) {
            window->resize(size * times);
            QApplication::processEvents();
            QStringList faults;
            Walk(window, window, faults);
            EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << " x" << times << ":\n  " << faults.join("\n  ").toStdString();
            Screenshot(window, name + (times == 1 ? "" : "-double") + Scale());
        }
        window->resize(size);
        QAccessibleInterface* at = QAccessible::queryAccessibleInterface(window);
        EXPECT_TRUE(at->role() == QAccessible::Window || at->role() == QAccessible::Dialog) << name.toStdString() << " role " << at->role();
        QStringList unnamed, buttons;
        int named = 0;
        WalkNames(at, QString(), unnamed, named, buttons);
        EXPECT_TRUE(unnamed.isEmpty()) << name.toStdString() << ":\n  " << unnamed.join("\n  ").toStdString();
        RecordProperty(("named-" + name).toStdString(), named);
    }
};

} // namespace

TEST_F(LayoutTest, MainWindow) {
    command(Qt::Key_F2);
    walk(view.get(), "main");
    // The offset box, open, stands clear of the group fields.
    main->clipboard.openOffsetBox();
    walk(view.get(), "main-offset");
    main->txtOffset.setVisible(false);
    main->frmOffset.setVisible(false);
    // The minimum is the laid-out size: smaller is not to be had.
    view->resize(100, 100);
    EXPECT_EQ(view->size(), view->minimumSize());
    EXPECT_GE(view->minimumSize().width(), view->minimumSizeHint().width());
    QStringList faults;
    Walk(view.get(), view.get(), faults);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n  ").toStdString();
}

// The smaller windows, each where a technician expects it; those that can be left by Escape are.
TEST_F(LayoutTest, SmallerWindows) {
    action("Global Parameters")->trigger();
    EXPECT_TRUE(Centred(globalsView.get()));
    walk(globalsView.get(), "globals");
    main->globalsForm.mnuExit_Click();

    action("Move")->trigger();
    walk(moveView.get(), "move-banks");
    main->moveForm.btnMoveCancel_Click();

    vktviews::PlanImportView importView(main->planImport, view.get());
    const std::string plan = (folder / "plan.csv").string();
    std::ofstream(plan, std::ios::binary) << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n2,ENGINE 12 TAC,151.2500,+,0.6,Tone,100.0,NFM\r\n";
    platform.dialogAnswers.push_back(plan);
    action("&Import Channel Plan...")->trigger();
    walk(&importView, "plan-import");
    main->planImport.btnImportCancel_Click();

    main->proc.ShowForm("Reading VKT Memory", false);
    walk(procView.get(), "progress");
    main->proc.Unload();

    vkteditor::frmAbout about(platform);
    about.Form_Load();
    vktviews::AboutView aboutView(about, view.get());
    aboutView.show();
    walk(&aboutView, "about");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&aboutView)->text(QAccessible::Description).contains(QString::fromStdString(about.lblVersion.Caption())));

    vkteditor::frmSplash splash;
    splash.Form_Load();
    vktviews::SplashView splashView(splash);
    splashView.show();
    walk(&splashView, "splash");

    MachineWithPorts machine{{{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}}};
    vktviews::FindCableDialog findCable(machine, 1, view.get());
    findCable.show();
    walk(&findCable, "find-cable");
    vktviews::CommPortSettingsDialog settings(machine, view.get());
    settings.show();
    walk(&settings, "comm-port-settings");

    activate(view.get());
    vktqt::HelpViewer help;
    help.showContents();
    EXPECT_TRUE(OverMainWindow(&help));
    walk(&help, "help");
    help.browser()->setFocus();
    for (QWidget* w : std::initializer_list<QWidget*>{&aboutView, &findCable, &help}) {
        activate(w);
        press(Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    }
}

// With its rows' results in, the longest a failure says among them.
TEST_F(LayoutTest, FleetWindow) {
    FleetWindow fleet{*main, clock, platform, view.get(), folder.string(),
                      {{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyUSB1", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}}};
    fleet.workers.scripts = {{vktfleet::ResultLine({vktfleet::Outcome::Done, "2AAA0105", 21.5, 0.1, "", "", "", ""}), "exit 0"},
                             {vktfleet::ResultLine({vktfleet::Outcome::Unverified, "2AAA0107", 21.6, 0.1, "Group 3 Ch 1 Label: radio \"\", setup \"    Ch 1\" (and 3 more)", "", "", ""}), "exit 1"},
                             {vktfleet::ResultLine({vktfleet::Outcome::Failed, "unknown", 2.8, 0.1, "hook: no answer after 0.5 s", "", "", ""}), "exit 1"}};
    action("Program Several Radios...")->trigger();
    EXPECT_TRUE(OverMainWindow(&fleet.view));
    for (auto& port : fleet.model.ports) port.checked = true;
    fleet.model.cmdStart_Click();
    fleet.finish();
    walk(&fleet.view, "fleet");
}

TEST_F(LayoutTest, TuningWindowOnEachTab) {
    VKTTune::frmTune tune(platform, link);
    vktviews::TuneView tuneView(tune, view.get());
    platform.answer(vkt::Answer::OK);  // the warning
    ASSERT_TRUE(VKTTune::ShowTuneWindow(platform, tune));
    EXPECT_TRUE(OverMainWindow(&tuneView));
    auto* tabs = tuneView.findChild<QTabBar*>();
    const char* names[] = {"tune-power", "tune-frequency", "tune-modulation", "tune-frontend", "tune-squelch"};
    ASSERT_EQ(tabs->count(), 5);
    activate(&tuneView);
    for (int i = 0; i < 5; ++i) {
        // The arrow keys switch the procedure, as a click does.
        tabs->setFocus();
        if (i > 0) press(Qt::Key_Right);
        EXPECT_EQ(tune.TabStrip1.SelectedIndex(), i);
        int shown = 0;
        for (auto* g : tuneView.findChildren<QGroupBox*>()) shown += g->isVisible() && !qobject_cast<QGroupBox*>(g->parentWidget());
        EXPECT_EQ(shown, 1) << i;
        walk(&tuneView, names[i]);
    }
    clock.advance(1);
    QTest::mouseClick(ShownButton(tuneView, "Quit"), Qt::LeftButton);
    EXPECT_FALSE(tuneView.isVisible());
}

// A window as tall as its screen, or taller, or off its edges, is placed by its frame: title bar and borders on
// the screen, the client area inside them, whatever frame the window system puts round it.
TEST(WindowPlacementTest, TheFrameLiesOnTheScreen) {
    struct Case { QRect screen; QSize client; QMargins frame; QPoint wanted; };
    const Case cases[] = {{{0, 0, 1024, 600}, {1000, 570}, {4, 26, 4, 4}, {12, 0}}, {{0, 0, 1024, 600}, {1016, 592}, {4, 4, 4, 4}, {-30, -30}},
                          {{0, 32, 1093, 582}, {900, 545}, {0, 37, 0, 0}, {200, 10}}, {{1366, 0, 1280, 680}, {600, 400}, {8, 31, 8, 8}, {2400, 500}},
                          {{0, 0, 1280, 680}, {640, 400}, {2, 24, 2, 2}, {300, 100}}};
    for (const Case& c : cases) {
        const QRect client = vktviews::PlaceFrame(c.screen, c.client, c.frame, c.wanted), frame = client.marginsAdded(c.frame);
        EXPECT_EQ(client.size(), c.client);
        EXPECT_TRUE(c.screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        // Where it fits, where it was wanted.
        EXPECT_TRUE(!c.screen.contains(QRect(c.wanted, frame.size())) || frame.topLeft() == c.wanted);
    }
}

// What a screen reader hears of each list that cannot be typed in, read off the accessibility bus as the reader
// gets it: the list's name, and the entry it shows, also after the entry changed. Runs under a virtual display
// with a bus of its own (tests/CMakeLists.txt); offscreen there is no bus.
using AccessibilityBusTest = ViewTest;
TEST_F(AccessibilityBusTest, ListsGiveTheirValues) {
    action("Global Parameters")->trigger();
    MachineWithPorts machine{{{"/dev/ttyUSB0", "FT232R USB UART", true}, {"/dev/ttyS0", "", false}}};
    vktviews::FindCableDialog findCable(machine, 1, view.get());
    findCable.show();
    vktviews::CommPortSettingsDialog settings(machine, view.get());
    settings.show();
    const QList<QWidget*> windows{view.get(), globalsView.get(), &findCable, &settings};
    QList<QComboBox*> lists;
    for (QWidget* window : windows)
        for (auto* box : window->findChildren<QComboBox*>()) if (!box->isEditable() && box->isVisible() && box->window() == window) lists << box;
    ASSERT_GE(lists.size(), 60);
    for (QComboBox* box : lists) box->setCurrentIndex(box->count() - 1);
    // The bus carries a list's value as its text.
    QStringList shown, given;
    for (QComboBox* box : lists) {
        if (!box->isVisible()) continue;
        shown << box->accessibleName() + "\t" + box->currentText();
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box);
        given << list->text(QAccessible::Name) + "\t" + (list->textInterface() ? list->textInterface()->text(0, -1) : "(no value)");
    }
    given.sort();
    shown.sort();
    EXPECT_EQ(given, shown);
    if (!AccessibilityBusUp()) GTEST_SKIP() << "no accessibility bus here";
    QStringList heard = HeardOverBus().filter(QRegularExpression("^(?!notification\t)"));
    heard.sort();
    EXPECT_EQ(heard, shown);
}

// A help page is read as a document, line by line, with its links one by one: Tab chooses a link and the reader
// hears its name; the link's own action follows it; the caret that leaves a link, or a new page, takes the focus
// back to the page.
TEST_F(AccessibilityBusTest, TheHelpPageIsADocumentWithItsLinks) {
    vktqt::HelpViewer help;
    help.showContents();
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(help.browser());
    EXPECT_EQ(page->role(), QAccessible::Document);
    QStringList given{page->text(QAccessible::Name) + "\t" + page->textInterface()->text(0, -1).section('\n', 0, 0)};
    for (int i = 0; i < page->childCount(); ++i) given << "link\t" + page->child(i)->text(QAccessible::Name);
    ASSERT_EQ(given.size(), 10);
    EXPECT_EQ(given.mid(0, 3), QStringList({"Help page\tVKT Editor Help", "link\tConnecting the radio", "link\tReading and writing a radio"}));
    EXPECT_EQ(given.last(), "link\tTuning a radio");
    const bool listened = AccessibilityBusUp();  // only then is anything said
    if (listened) {
        EXPECT_EQ(HeardOverBus().filter(QRegularExpression("^(Help page|link)\t")), given);
    }
    activate(&help);
    help.browser()->setFocus();
    Said focus(QAccessible::Focus);
    press(Qt::Key_Tab);
    EXPECT_TRUE(page->child(0)->state().focused && !page->state().focused);
    activate(view.get());  // away and back: the link still has the focus
    activate(&help);
    press(Qt::Key_Down);  // the caret leaves the link
    page->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(help.browser()->source().fileName(), "readwrite.html");
    EXPECT_TRUE(page->textInterface()->text(0, -1).startsWith("Reading and writing a radio\n"));
    // The arrow keys move a caret through the page, a line on the screen at a time, and the reader reads the line the
    // caret is on, also where a narrow window wraps a paragraph.
    press(Qt::Key_Down);
    const QString paragraph = "The Radio menu moves the setup between the radio and the editor.\n";
    QAccessibleTextInterface* text = page->textInterface();
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end), paragraph);
    help.resize(help.fontMetrics().horizontalAdvance(paragraph) / 3, help.height());
    QApplication::processEvents();
    text->setCursorPosition(text->text(0, -1).indexOf(paragraph));
    const QString first = text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    press(Qt::Key_Down);
    const QString second = text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    EXPECT_TRUE(!first.isEmpty() && first.size() < paragraph.size() && paragraph.startsWith(first + second)) << first.toStdString() << "|" << second.toStdString();
    if (listened) {
        EXPECT_EQ(focus.names(), QStringList({"Connecting the radio", "Current Group", "Help page", "Connecting the radio", "Help page", "Reading and writing a radio", "Help page"}));
    }
}
