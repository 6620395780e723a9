// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt platform services that the window tests do not reach.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt/QtPlatform.h"
#include "store/DataFolder.h"

TEST(Settings, ACorruptSettingsFileGivesTheDefaults) {
    vktqt::QtPlatform platform;
    vkt::Platform& p = platform;
    p.SaveSetting("VKTEDWIN", "Comm", "Port", "3");
    QSettings where(QSettings::IniFormat, QSettings::UserScope, "VKTEDWIN", "VKTEDWIN");
    const QString file = where.fileName();
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("\\x00\\xff[[[\\n=\\n\\x01garbage", 20));
    }
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Comm", "Port", "1"), "1");
    p.SaveSetting("VKTEDWIN", "Comm", "Port", "2");  // and it can be written again
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Comm", "Port", "1"), "2");
}

// A short message under a long title: the box is wide enough for the title
// and the frame's buttons, so the title is not cut.
TEST(MessageBoxes, AreAsWideAsTheirTitle) {
    vktqt::QtPlatform platform;
    int width = 0, titleWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        width = box->width();
        titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
        box->reject();
    });
    platform.MsgBox("Error Hooking to Radio.", vkt::Buttons::RetryCancel, vkt::Icon::None, "COMM ERROR TITLE LONGER THAN ITS TEXT", false);
    EXPECT_GT(width, titleWidth + 100);
}

// A list too long for a box is all in its details, which scroll, a line each.
TEST(MessageBoxes, KeepLongListsInTheirDetails) {
    vktqt::QtPlatform platform;
    QString details;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        details = box ? box->detailedText() : "no box";
        if (box) box->accept();
    });
    platform.MsgBoxWithDetails("Differs in 2 settings", "ANI Rate: radio 20, editor 10\rPriority Rate: radio .5, editor 2", vkt::Buttons::OK,
                               vkt::Icon::Exclamation, "Verify Radio");
    EXPECT_EQ(details, "ANI Rate: radio 20, editor 10\nPriority Rate: radio .5, editor 2");
}

// A box stands over the window whose command raised it, not over the main window behind it.
TEST(MessageBoxes, BelongToTheWindowInFront) {
    vktqt::QtPlatform platform;
    QWidget main, tuning;
    platform.setMainWindow(&main);
    main.show();
    tuning.show();
    tuning.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &tuning; }, 2000));
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = QApplication::activeModalWidget();
        owner = box ? box->parentWidget() : nullptr;
        if (box) box->close();
    });
    platform.MsgBox("Radio did not answer.", vkt::Buttons::OK, vkt::Icon::Exclamation, "VKTCom TUNE ERROR", false);
    EXPECT_EQ(owner, &tuning);
}

// The editor and vkt keep their data (and so the radios' backups) where the window system keeps the program's
// application data, unless VKT_DATA_DIR names another folder.
TEST(DataFolder, IsTheWindowSystemsApplicationDataUnlessChosen) {
    const QString app = QCoreApplication::applicationName(), organisation = QCoreApplication::organizationName();
    const QByteArray chosen = qgetenv("VKT_DATA_DIR"), xdg = qgetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName("VKTEDWIN");
    QCoreApplication::setOrganizationName("VKTEDWIN");
    qunsetenv("VKT_DATA_DIR");
    // XDG_DATA_HOME, and what the window system sees in its place: a relative folder is no folder.
    for (const auto& [home, valid] : {std::pair{"/tmp/vkt data/xdg", "/tmp/vkt data/xdg"}, {"", ""}, {"vkt/xdg", ""}}) {
        *valid ? qputenv("XDG_DATA_HOME", valid) : qunsetenv("XDG_DATA_HOME");
        const std::string expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
        *home ? qputenv("XDG_DATA_HOME", home) : qunsetenv("XDG_DATA_HOME");
        EXPECT_EQ(vktstore::DataFolder(), expected) << home;
    }
    qputenv("VKT_DATA_DIR", "/tmp/vkt-\xc3\x9c");
    EXPECT_EQ(vktstore::DataFolder(), "/tmp/vkt-\xc3\x9c");
    chosen.isNull() ? qunsetenv("VKT_DATA_DIR") : qputenv("VKT_DATA_DIR", chosen);
    xdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
    QCoreApplication::setApplicationName(app);
    QCoreApplication::setOrganizationName(organisation);
}
