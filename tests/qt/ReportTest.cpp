// SPDX-License-Identifier: GPL-3.0-or-later
// The printed setup report from the editor's command line, without a window: as text, and as PDF read back.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"

TEST(ReportCommand, PrintsASetupFileAsTextOrPdfWithoutAWindow) {
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    QTemporaryDir dir;
    const QString setup = dir.filePath("radio.vkt"), pdf = dir.filePath("r.pdf");
    QFile file(setup);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(VKTCore::MemoryImage.data()), VKTCore::ImageSize);
    file.close();
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    editor.setProcessEnvironment(env);
    const auto run = [&editor](const QStringList& options) {
        editor.start(VKT_EDITOR, options);
        return editor.waitForFinished(-1) ? editor.exitCode() : -1;
    };
    EXPECT_EQ(run({"--report", setup, "--text"}), 0);
    const QString out = QString::fromUtf8(editor.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith("                   VKT Unit Data Printout:    " + setup + "\n")) << out.left(200).toStdString();

    ASSERT_EQ(run({"--report", setup, "--pdf", pdf}), 0);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(-1));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QRegularExpression("1\\s+162\\.40000\\s+000\\.0\\s+000\\.00\\s+000\\.0\\s+Ch 1")));
    EXPECT_TRUE(printed.contains("Group 15 Data:")) << printed.left(300).toStdString();
    EXPECT_EQ(printed.count('\f'), 8);

    // What is no setup file is refused, the setup is never the PDF, and the
    // PDF is written as every file is: never through a dangling link.
    QFile::resize(pdf, 7000);
    ASSERT_TRUE(QFile::link(dir.filePath("gone.pdf"), dir.filePath("link.pdf")));
    const std::tuple<QStringList, int, const char*> refused[] = {
        {{"--report", dir.filePath("missing.vkt")}, 3, "cannot read the setup file"},
        {{"--report", pdf}, 3, "holds 7000 bytes"},
        {{"--report", setup, "--pdf", setup}, 2, "is also the setup file"},
        {{"--report", setup, "--pdf", dir.filePath("link.pdf")}, 3, "which does not exist"}};
    for (const auto& [options, code, why] : refused) {
        EXPECT_EQ(run(options), code) << why;
        EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardError()).contains(why)) << why;
    }
    EXPECT_EQ(QFileInfo(setup).size(), VKTCore::ImageSize);
    EXPECT_FALSE(QFile::exists(dir.filePath("gone.pdf")));
    // And without a display the editor itself says how to run it.
    EXPECT_EQ(run({}), 2);
    EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardError()).contains("xvfb-run"));
}
