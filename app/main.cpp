// SPDX-License-Identifier: GPL-3.0-or-later
// vkt-editor: the programming and alignment tool. It opens the editor, with
// the setup file it is given if any; with --report it prints a setup file's
// report and exits.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/ControlModule.h"
#include "app/EmulatedRadio.h"
#include "editor/frmAbout.h"
#include "core/MemoryImage.h"
#include "editor/SetupReport.h"
#include "editor/Version.h"
#include "platform/PrintDocument.h"
#include "qt/ApplicationObject.h"
#include "qt/Desktop.h"
#include "views/CommPortSettingsDialog.h"
#include "views/FindCableDialog.h"
#include "views/FleetView.h"
#include "editor/FleetRun.h"
#include "platform/System.h"
#include "qt/ProcessWorkers.h"
#include "views/GroupsView.h"
#include "qt/SerialDevices.h"
#include "qt/QtPlatform.h"
#include "qt/QtPrinter.h"
#include "views/TuneView.h"
#include "views/AboutView.h"
#include "views/GlobalsView.h"
#include "views/MoveView.h"
#include "views/PlanImportView.h"
#include "views/ProcView.h"
#include "views/SplashView.h"
#include "store/ChannelTable.h"
#include "store/FileReader.h"
#include "store/clsDBUtil.h"
#include "store/dbGlobal.h"

namespace {

QString ExeDir() { return QCoreApplication::applicationDirPath(); }

// The databases the program ships: beside an installed program in
// share/vkt-editor, or where the build made them.
QString ShippedDatabases() {
    for (const QString& dir : {ExeDir() + "/../share/vkt-editor", ExeDir() + "/share/vkt-editor"})
        if (QFileInfo::exists(dir + "/" + dbGlobal::CurrentFile)) return QDir(dir).absolutePath();
    return ExeDir() + "/../share/vkt-editor";
}

QString DataFolder(const QString& option) {
    if (!option.isEmpty()) return option;
    const QString env = qEnvironmentVariable("VKT_DATA_DIR");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// vkt, whose copies serve the cables of a fleet run.
QString VktProgram() {
    const QString name = QString("vkt") + vkt::ProgramSuffix;
    for (const QString& p : {ExeDir() + "/" + name, ExeDir() + "/../cli/" + name, ExeDir() + "/../bin/" + name})
        if (QFileInfo(p).isExecutable()) return p;
    return ExeDir() + "/" + name;
}

// The pictures of the installed icon, built into the program.
QIcon ProgramIcon() {
    QIcon icon;
    for (const char* size : {"48", "128", "256"}) icon.addFile(QString(":/icon/%1.png").arg(size));
    return icon;
}

int PrintReport(const QString& setupFile, const QString& pdf) {
    if (!pdf.isEmpty() && vktstore::SameFile(setupFile.toStdString(), pdf.toStdString())) {
        std::fprintf(stderr, "vkt-editor: %s is also the setup file; name another file for the PDF\n", pdf.toLocal8Bit().constData());
        return 2;
    }
    std::vector<uint8_t> bytes;
    vktstore::FileError error;
    if (!vktstore::ReadSetupBytes(setupFile.toStdString(), bytes, error)) {
        std::fprintf(stderr, "vkt-editor: cannot read the setup file: %s\n", error.description.c_str());
        return 3;
    }
    VKTCore::MemoryImage.fill(0);
    std::copy(bytes.begin(), bytes.end(), VKTCore::MemoryImage.begin());
    vkt::DocumentPrinter printer;
    vkteditor::PrintSetupReport(printer, setupFile.toStdString());
    if (pdf.isEmpty()) {
        std::fputs(printer.lastDocument().text().c_str(), stdout);
        return 0;
    }
    std::string why;
    if (!vktqt::WritePdf(printer.lastDocument(), pdf, why)) {
        std::fprintf(stderr, "vkt-editor: cannot write %s: %s\n", pdf.toLocal8Bit().constData(), why.c_str());
        return 3;
    }
    return 0;
}

class Screen : public ControlModule::StartUpScreen {
public:
    void showSplash(vkteditor::frmSplash& splash) override {
        splashView_ = std::make_unique<vktviews::SplashView>(splash);
        splashView_->show();
        QCoreApplication::processEvents();
    }
    void closeSplash(vkteditor::frmSplash&) override { splashView_.reset(); }
    void showMain(vkteditor::frmGroups& main) override {
        mainView->show();
        // Showing the window activates it, window manager or not.
        if (main.loading) main.Form_Activate();
    }
    vktviews::GroupsView* mainView = nullptr;

private:
    std::unique_ptr<vktviews::SplashView> splashView_;
};

} // namespace

int main(int argc, char** argv) {
    QCommandLineParser args;
    args.setApplicationDescription("VKT Editor: programming and alignment of VKT series radios.");
    args.addHelpOption();
    args.addVersionOption();
    args.addOption({"data-dir", "Keep the channel databases in DIR (default: the per-user data folder, or $VKT_DATA_DIR).", "DIR"});
    args.addOption({"report", "Print the setup report of FILE and exit.", "FILE"});
    args.addOption({"trace", "Record the serial line in serial-trace.log in the data folder."});
    args.addOption({"pdf", "With --report: write the report to OUT as PDF.", "OUT"});
    args.addOption({"text", "With --report: write the report as text to standard output (the default)."});
    args.addPositionalArgument("file", "Open this setup file (.vkt or .frq).", "[FILE]");

    // Asked before any application object exists: only the editor's windows
    // need a display; help, version and reports do not.
    QStringList argList;
    for (int i = 0; i < argc; ++i) argList << QString::fromLocal8Bit(argv[i]);
    vktqt::Needs needs = vktqt::Needs::Windows;
    if (!args.parse(argList) || args.isSet("help") || args.isSet("help-all") || args.isSet("version"))
        needs = vktqt::Needs::Nothing;
    else if (args.isSet("report"))
        needs = args.isSet("pdf") ? vktqt::Needs::Drawing : vktqt::Needs::Nothing;
    if (needs == vktqt::Needs::Windows && !vktqt::HasDisplay()) {
        std::fputs("vkt-editor needs a display. On a machine without one, run it under a virtual display:\n"
                   "    xvfb-run -a vkt-editor\n"
                   "or print a setup report without any window:\n"
                   "    vkt-editor --report SETUP.vkt --text\n", stderr);
        return 2;
    }

    const auto app = vktqt::MakeApplication(argc, argv, needs);
    QCoreApplication::setApplicationVersion(vkteditor::VersionNumber);
    args.process(*app);
    // Named after the command line is done with, so that --version names the program as it is called.
    QCoreApplication::setApplicationName("VKTEDWIN");
    QCoreApplication::setOrganizationName("VKTEDWIN");
    if (args.isSet("report")) return PrintReport(args.value("report"), args.value("pdf"));
    QGuiApplication::setDesktopFileName(VKT_DESKTOP_ID);
    QGuiApplication::setWindowIcon(ProgramIcon());

    const QString data = DataFolder(args.value("data-dir"));
    QDir().mkpath(data);
    dbGlobal::SetFolder(data.toStdString());
    dbGlobal::SeedFrom(ShippedDatabases().toStdString());

    vktqt::QtPlatform platform;
    VKTCom::RadioLink link(platform);
    vktstore::ChannelTable table(dbGlobal::CurrentPath());
    vkteditor::frmGroups main(platform, link, table);
    main.keepBackupsIn((data + "/backups").toStdString());
    main.backups()->prune();
    vkteditor::frmSplash splash;
    vkteditor::frmAbout about(platform);

    vktviews::GroupsView mainView(main);
    platform.setMainWindow(&mainView);
    vktviews::ProcView procView(main.proc, &mainView);
    vktviews::GlobalsView globalsView(main.globalsForm, &mainView);
    vktviews::MoveView moveView(main.moveForm, &mainView);
    vktviews::PlanImportView planImportView(main.planImport, &mainView);
    main.showAbout = [&] {
        about.Form_Load();
        vktviews::AboutView(about, &mainView).exec();
    };
    const std::string tracePath = (data + "/serial-trace.log").toStdString();
    link.onNote = [&platform](const std::string& text) { platform.traceNote(text); };
    main.setTrace = [&](bool on) {
        if (!on) {
            platform.stopTrace();
            return false;
        }
        std::string why;
        const bool started = platform.startTrace(tracePath, why);
        main.statusText.setCaption(started ? "Serial trace: " + tracePath : "The serial trace cannot be written: " + why);
        return started;
    };
    if (args.isSet("trace")) main.mnuTrace_Click();
    VKTTune::frmTune tune(platform, link);
    vktviews::TuneView tuneView(tune, &mainView);
    main.showTune = [&] { VKTTune::ShowTuneWindow(platform, tune); };
    tune.holdsRadioChanged = [&main](bool holds) { main.tuningHoldsRadio(holds); };

    // The emulated radio runs from the moment it is chosen: by the technician,
    // or at the start while no port was ever chosen and no cable is at hand.
    const auto emulator = MakeEmulatedRadio(platform, data);
    main.noCableAtHand = [&platform] { return !platform.anySerialDevice(); };

    // Each Comm Port item tells which device it is; the status bar tells the chosen one's.
    auto showPorts = [&] {
        if (platform.serialPort().portNumber() == vkt::EmulatedPort) emulator->start();
        vktviews::DescribeCommPorts(platform, platform.serialPort().portNumber(), main);
    };
    main.commPortChanged = showPorts;
    main.findCable = [&] {
        vktviews::FindCableDialog(platform, platform.serialPort().portNumber(), &mainView).exec();
        showPorts();
    };
    main.commSettings = [&] {
        vktviews::CommPortSettingsDialog(platform, &mainView).exec();
        showPorts();
    };

    // Program Several Radios: copies of vkt, one per cable, and emulated
    // radios for practice, each with its memory in the data folder.
    vktqt::ProcessWorkers fleetWorkers(VktProgram());
    vkteditor::FleetRun fleet(platform, platform, fleetWorkers, data.toStdString());
    const auto practiceRadios = MakePracticeRadios();
    fleet.setupShown = [&main] { return main.setupShown(); };
    fleet.setupName = [&main] { return main.files.SetupFileName; };
    fleet.sha256 = vktqt::Sha256Hex;
    if (practiceRadios)
        fleet.startEmulator = [&practiceRadios](const std::string& memory, std::string& why) { return practiceRadios->start(memory, why); };
    fleet.holdsCables = [&main](bool holds) { main.fleetHoldsCables(holds); };
    vktviews::FleetView fleetView(fleet, platform, &mainView);
    main.showFleet = [&fleet] { fleet.Show(); };

    if (!table.connected())
        static_cast<vkt::Platform&>(platform).MsgBox(vktstore::clsDBUtil::OpenError + table.error(), vkt::Buttons::OK, vkt::Icon::None);

    Screen screen;
    screen.mainView = &mainView;
    ControlModule::Main(platform, link, splash, main, screen);
    // A setup file given to the program (a double-click on it, say) replaces
    // the factory setup the first activation put in.
    if (!args.positionalArguments().isEmpty()) {
        main.files.SetupFileName = QFileInfo(args.positionalArguments().constFirst()).absoluteFilePath().toStdString();
        main.files.ReadSetupFile();
    }
    showPorts();
    return QCoreApplication::exec();
}
