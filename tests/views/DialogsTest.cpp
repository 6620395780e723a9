// The small windows a technician opens and closes from the main window:
// About, Find Cable and Help, each closed with Escape; Help opens over the
// main window.

#include <QTextBrowser>

#include "editor/frmAbout.h"
#include "views/FindCableDialog.h"
#include "qt/HelpViewer.h"
#include "qt/QtPlatform.h"
#include "tests/views/ViewFixture.h"
#include "views/AboutView.h"

TEST_F(ViewTest, EscapeClosesAboutFindCableAndHelp) {
    vkteditor::frmAbout about(platform);
    about.Form_Load();
    vktviews::AboutView aboutView(about, view.get());
    vktqt::QtPlatform machine;
    vktviews::FindCableDialog findCable(machine, 1, view.get());
    vktqt::HelpViewer help;
    view->move(0, 0);
    help.showContents();
    EXPECT_TRUE(OverMainWindow(&help));
    help.browser()->setFocus();
    aboutView.show();
    findCable.show();
    for (QWidget* w : std::initializer_list<QWidget*>{&aboutView, &findCable, &help}) {
        w->show();
        activate(w);
        press(Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    }
}
