// SPDX-License-Identifier: GPL-3.0-or-later
// Editor benchmarks, offscreen: start-up to the first shown main window
// (target < 400 ms), a group switch with the window on screen (target
// median < 10 ms) and the report of a full image to PDF (target < 300 ms).

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/WriteDefaults.h"
#include "editor/SetupReport.h"
#include "editor/frmGroups.h"
#include "platform/PrintDocument.h"
#include "views/GroupsView.h"
#include "qt/QtPlatform.h"
#include "qt/QtPrinter.h"
#include "views/ProcView.h"
#include "store/dbGlobal.h"

namespace {
double Ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer start;
    start.start();
    QApplication app(argc, argv);
    QTemporaryDir data;
    dbGlobal::SetFolder(data.path().toStdString());
    dbGlobal::SeedFrom(VKT_SHIPPED_DB_DIR);
    vktqt::QtPlatform platform;
    VKTCom::RadioLink link(platform);
    vktstore::ChannelTable table(dbGlobal::CurrentPath());
    vkteditor::frmGroups main(platform, link, table);
    vktviews::GroupsView view(main);
    vktviews::ProcView proc(main.proc, &view);
    main.Form_Load();
    view.show();
    if (main.loading) main.Form_Activate();
    QApplication::processEvents();
    const double startup = Ms(start);
    std::printf("start-up to the first shown main window: %.1f ms (target < 400 ms)\n", startup);

    std::vector<double> switches;
    for (int i = 0; i < 60; ++i) {
        QElapsedTimer t;
        t.start();
        main.cboCurrentGroup.setListIndex(i % 15);
        main.cboCurrentGroup_Click();
        QApplication::processEvents();
        switches.push_back(Ms(t));
    }
    std::printf("group switch with the window shown: median %.2f ms (target < 10 ms)\n", Median(switches));

    WriteDefaults::WriteAllDefaults();
    std::vector<double> reports;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        vkt::DocumentPrinter printer;
        vkteditor::PrintSetupReport(printer, "bench.vkt");
        std::string why;
        vktqt::WritePdf(printer.lastDocument(), data.filePath("report.pdf"), why);
        reports.push_back(Ms(t));
    }
    std::printf("report of a full image to PDF: median %.1f ms (target < 300 ms)\n", Median(reports));
    return 0;
}
