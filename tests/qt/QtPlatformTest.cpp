// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt platform services that the window tests do not reach.

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include "qt/QtPlatform.h"

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
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Settings", "Show Tune Warning Message", "Yes"), "Yes");
    p.SaveSetting("VKTEDWIN", "Comm", "Port", "2");  // and it can be written again
    EXPECT_EQ(p.GetSetting("VKTEDWIN", "Comm", "Port", "1"), "2");
}
