// SPDX-License-Identifier: GPL-3.0-or-later
// The printed setup report on Qt: as PDF, and from the command line without
// a window.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/MemoryImage.h"
#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "platform/PrintDocument.h"
#include "qt/QtPrinter.h"

TEST(ReportPdf, RendersAndReadsBack) {
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, "/setups/unit7.vkt");
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    std::string why;
    ASSERT_TRUE(vktqt::WritePdf(printer.lastDocument(), pdf, why)) << why;
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression("VKT Unit Data Printout:\\s+/setups/unit7.vkt"))) << out.left(300).toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("1\\s+162\\.40000\\s+000\\.0\\s+000\\.00\\s+000\\.0\\s+Ch 1")));
    EXPECT_TRUE(out.contains("Group 15 Data:"));
    EXPECT_EQ(out.count('\f'), 8);

    // The report is written as every file is: never through a dangling link.
    ASSERT_TRUE(QFile::link(dir.filePath("gone.pdf"), dir.filePath("link.pdf")));
    EXPECT_FALSE(vktqt::WritePdf(printer.lastDocument(), dir.filePath("link.pdf"), why));
    EXPECT_NE(why.find("which does not exist"), std::string::npos) << why;
    EXPECT_FALSE(QFile::exists(dir.filePath("gone.pdf")));
}

TEST(ReportCommand, PrintsASetupFileWithoutAWindow) {
    VKTCore::MemoryImage.fill(0);
    WriteDefaults::WriteAllDefaults();
    QTemporaryDir dir;
    const QString setup = dir.filePath("radio.vkt");
    {
        QFile f(setup);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(VKTCore::MemoryImage.data()), VKTCore::ImageSize);
    }
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    editor.setProcessEnvironment(env);
    editor.start(VKT_EDITOR, {"--report", setup, "--text"});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    const QString out = QString::fromUtf8(editor.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith("                   VKT Unit Data Printout:    " + setup + "\n")) << out.left(200).toStdString();
    EXPECT_TRUE(out.contains("         1     162.40000     000.0     000.00        000.0         Ch 1\n"));

    editor.start(VKT_EDITOR, {"--report", setup, "--pdf", dir.filePath("r.pdf")});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_GT(QFileInfo(dir.filePath("r.pdf")).size(), 1000);

    // What is no setup file is refused, and the setup is never the PDF.
    QFile::resize(dir.filePath("r.pdf"), 7000);
    const std::pair<QStringList, int> refused[] = {{{"--report", dir.filePath("missing.vkt")}, 3},
                                                   {{"--report", dir.filePath("r.pdf")}, 3},
                                                   {{"--report", setup, "--pdf", setup}, 2}};
    for (const auto& [options, code] : refused) {
        editor.start(VKT_EDITOR, options);
        ASSERT_TRUE(editor.waitForFinished(20000));
        EXPECT_EQ(editor.exitCode(), code);
    }
    EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardError()).contains("is also the setup file"));
    EXPECT_EQ(QFileInfo(setup).size(), VKTCore::ImageSize);
    // And without a display the editor itself says how to run it.
    editor.start(VKT_EDITOR, {});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardError()).contains("xvfb-run"));
}
