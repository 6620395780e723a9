// The tuning window through its real widgets, offscreen, on an emulated
// radio in virtual time: clicks and keys arrive while a procedure talks to
// the radio, as they do when the window system runs during every wait.
// With VKT_SCREENSHOTS=DIR set, it also saves pictures of the window.

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include "qt/TuneView.h"
#include "tests/tune/TuneFixture.h"

namespace {

using vkt::Answer;

class TuneViewTest : public TuneTest {
protected:
    TuneViewTest() {
        tune.setVisible(true);
        QApplication::processEvents();
    }

    QPushButton* button(const QString& text) {
        for (auto* b : view.findChildren<QPushButton*>())
            if (b->text() == text && b->isVisible()) return b;
        ADD_FAILURE() << "no visible button " << text.toStdString();
        return nullptr;
    }
    QTabBar* tabs() { return view.findChild<QTabBar*>(); }
    void showTab(int i) {
        QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(i).center());
        ASSERT_EQ(tune.TabStrip1.SelectedIndex(), i);
    }
    static void click(QWidget* w) {
        if (w) QTest::mouseClick(w, Qt::LeftButton);
    }
    // A double click reaches a button as two clicks, the second while the
    // handler of the first may still be talking to the radio.
    static void doubleClick(QWidget* w) {
        click(w);
        click(w);
    }
    void save(const char* name) {
        const QByteArray dir = qgetenv("VKT_SCREENSHOTS");
        if (!dir.isEmpty()) view.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
    }

    vktqt::TuneView view{tune, nullptr};
};

} // namespace

// The prompt selects the reading's last digits, for the technician to type
// just those over them.
TEST_F(TuneViewTest, TheLastDigitsOfAReadingAreTypedOverThePromptsSelection) {
    showTab(1);
    auto* reading = view.findChild<QLineEdit*>();
    bool typed = false;
    platform.onEvents = [&] {
        if (typed || !reading->isEnabled() || !tune.StepCommand.empty()) return;
        typed = true;
        EXPECT_EQ(reading->selectedText(), "5000");
        QTest::keyClicks(reading, "512");
        EXPECT_EQ(reading->text(), "173.99512");
        EXPECT_EQ(tune.txtFreq.Text(), "173.99512");
        click(button("QUIT"));
    };
    click(button("Start"));
    platform.onEvents = nullptr;
    EXPECT_TRUE(typed);
    EXPECT_EQ(calibration(), FactoryCalibration);
    released();
}
