// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/QtPlatform.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QSettings>
#include <QProcess>
#include <QThread>

#include "qt/Desktop.h"
#include "qt/HelpViewer.h"

namespace vktqt {

using vkt::Answer;
using vkt::Buttons;
using vkt::Icon;

namespace {

// Time-outs are half and quarter seconds; a few milliseconds is plenty.
constexpr int TickMs = 5;

QString Qs(const std::string& s) { return QString::fromStdString(s); }

// The message texts break lines with carriage returns.
QString DisplayText(const std::string& text) {
    QString t = Qs(text);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

// A box sizes itself to its text, and the window frame then cuts a longer
// title ("Error Hooking to Radio." under "COMM ERROR"). The frame's title
// font is the window manager's, so the title is measured bold, with room for
// the frame's icon and its three buttons.
void WidenToTitle(QMessageBox& box) {
    constexpr int FrameButtons = 160;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + FrameButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

QMessageBox::StandardButtons ButtonsOf(Buttons b) {
    switch (b) {
    case Buttons::OK: return QMessageBox::Ok;
    case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(Icon i) {
    switch (i) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

Answer AnswerOf(int button, Buttons offered) {
    switch (button) {
    case QMessageBox::Ok: return Answer::OK;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return offered == Buttons::OK ? Answer::OK : offered == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

// "VKT (*.vkt)|*.vkt|All (*.*)|*.*" as Qt writes filters.
QString QtFilter(const std::string& filter) {
    const QStringList parts = Qs(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
    return out.join(";;");
}

} // namespace

QtPlatform::QtPlatform()
    : serial_([this](int n) { return deviceOfPort(n); }, [this](int n) { return n != vkt::EmulatedPort && runDevices_.contains(n); }) {
    clock_.start();
    tick_.setSingleShot(true);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::setMainWindow(QWidget* w) {
    mainWindow_ = w;
    printer_.setParentWindow(w);
}

std::vector<vkt::PortInfo> QtPlatform::MachinePorts() {
    std::vector<vkt::PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.push_back({info.systemLocation().toStdString(), info.description().toStdString(), info.hasVendorIdentifier()});
    return ports;
}

void QtPlatform::setDeviceForThisRun(int n, std::string device, std::string description) {
    runDevices_[n] = {std::move(device), std::move(description)};
}

std::string QtPlatform::storedDevice(int n) { return GetSetting(vkt::SettingsApp, "Comm", vkt::DeviceKey(n), ""); }

void QtPlatform::assignDevice(int n, const std::string& device) {
    SaveSetting(vkt::SettingsApp, "Comm", vkt::DeviceKey(n), device);
    // The technician's choice counts at once, also over a stand-in.
    runDevices_.erase(n);
}

vkt::SerialPort& QtPlatform::ChosenPort::now() const {
    if (emulated && serial_.portNumber() == vkt::EmulatedPort) return *emulated;
    return serial_;
}

void QtPlatform::ChosenPort::setPortNumber(int n) {
    serial_.setPortNumber(n);
    if (emulated) emulated->setPortNumber(n);
}

// Both keep the line's settings, so that either is ready when chosen.
void QtPlatform::ChosenPort::setSettings(const std::string& s) {
    serial_.setSettings(s);
    if (emulated) emulated->setSettings(s);
}

void QtPlatform::setEmulatedPort(std::unique_ptr<vkt::SerialPort> port) {
    port->setPortNumber(serial_.portNumber());
    port->setSettings(serial_.settings());
    port_.emulated = std::move(port);
}

std::string QtPlatform::describePort(int n) {
    if (const auto it = runDevices_.find(n); it != runDevices_.end()) return it->second.device + " \u2014 " + it->second.description;
    if (n == vkt::EmulatedPort) return port_.emulated ? EmulatorInside : EmulatorNotRunning;
    return vkt::PortStatusText(deviceOfPort(n), MachinePorts());
}

bool QtPlatform::anySerialDevice() {
    for (int n = 1; n <= 4; ++n)
        if (!storedDevice(n).empty()) return true;
    const auto ports = MachinePorts();
    return std::any_of(ports.begin(), ports.end(), [](const vkt::PortInfo& p) { return p.usb; });
}

std::string QtPlatform::deviceOfPort(int n) {
    if (const auto it = runDevices_.find(n); it != runDevices_.end()) return it->second.device;
    if (n == vkt::EmulatedPort) return "";
    const std::string stored = storedDevice(n);
    const bool needsPorts = stored.empty() && vkt::ThisSystem != vkt::SystemKind::Windows;
    return vkt::DeviceForPort(n, stored, needsPorts ? MachinePorts() : std::vector<vkt::PortInfo>{}, vkt::ThisSystem);
}

Answer QtPlatform::MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title, bool systemModal) {
    return showBox(text, {}, buttons, icon, title, systemModal);
}

Answer QtPlatform::MsgBoxWithDetails(const std::string& text, const std::string& details, Buttons buttons, Icon icon,
                                     const std::string& title) {
    return showBox(text, details, buttons, icon, title, false);
}

Answer QtPlatform::showBox(const std::string& text, const std::string& details, Buttons buttons, Icon icon,
                           const std::string& title, bool systemModal) {
    // A box belongs to the window whose command raised it, the one in front:
    // over the main window, a tuning error would bury the tuning window.
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : mainWindow_;
    QMessageBox box(IconOf(icon), Qs(title.empty() ? vkt::AppTitle : title), DisplayText(text), ButtonsOf(buttons), owner);
    box.setTextFormat(Qt::PlainText);
    if (!details.empty()) box.setDetailedText(DisplayText(details));
    WidenToTitle(box);
    if (systemModal) box.setWindowModality(Qt::ApplicationModal);
    return AnswerOf(box.exec(), buttons);
}

void QtPlatform::Beep() { QApplication::beep(); }

void QtPlatform::DoEvents() { WaitForEvents(TickMs / 1000.0); }

void QtPlatform::WaitForEvents(double seconds) {
    // With bytes already waiting the caller has work to do: no sleeping; nor
    // with less than a timer's millisecond left to wait.
    const int ms = std::min(static_cast<int>(std::floor(seconds * 1000)), TickMs);
    if (serialPort().inBufferCount() > 0 || ms < 1) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // Otherwise handle what is pending, or sleep until the next event (serial
    // data and clicks included) or the tick that lets time-outs be seen: a
    // wait on the radio costs next to no CPU.
    tick_.start(ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

double QtPlatform::Timer() { return clock_.nsecsElapsed() / 1e9; }

void QtPlatform::Sleep(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void QtPlatform::ClipboardClear() { QGuiApplication::clipboard()->clear(); }

void QtPlatform::ClipboardSetText(const std::string& text) { QGuiApplication::clipboard()->setText(Qs(text)); }

std::string QtPlatform::ClipboardGetText() { return QGuiApplication::clipboard()->text().toStdString(); }

std::string QtPlatform::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& def) {
    QSettings s(QSettings::IniFormat, QSettings::UserScope, Qs(app), Qs(app));
    return s.value(Qs(section + "/" + key), Qs(def)).toString().toStdString();
}

void QtPlatform::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) {
    QSettings s(QSettings::IniFormat, QSettings::UserScope, Qs(app), Qs(app));
    s.setValue(Qs(section + "/" + key), Qs(value));
}

std::optional<std::string> QtPlatform::FileDialog(const vkt::FileDialogRequest& request) {
    const QString filter = QtFilter(request.filter);
    QString path;
    if (request.forSave) {
        path = QFileDialog::getSaveFileName(mainWindow_, QString(), Qs(request.fileName), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
        // A name typed without an extension gets the default one.
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && !request.defaultExtension.empty())
            path += "." + Qs(request.defaultExtension);
    } else {
        path = QFileDialog::getOpenFileName(mainWindow_, QString(), Qs(request.fileName), filter);
    }
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

vkt::SerialPort& QtPlatform::serialPort() {
    if (trace_) return *trace_;
    return port_;
}

bool QtPlatform::startTrace(const std::string& path, std::string& why) {
    stopTrace();
    vktstore::FileError error;
    traceFile_ = vktstore::LogFile::open(path, error);
    if (!traceFile_) {
        why = error.description;
        return false;
    }
    trace_ = std::make_unique<VKTCom::SerialTrace>(port_, traceFile_->stream(), [this] { return Timer(); });
    trace_->note("serial trace started: " + QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
    return true;
}

void QtPlatform::stopTrace() {
    if (trace_) trace_->note("serial trace stopped");
    trace_.reset();
    traceFile_.reset();
}

void QtPlatform::traceNote(const std::string& text) {
    if (trace_) trace_->note(text);
}

bool QtPlatform::StartSystemInformation() {
    const QString tool = SystemInformationTool();
    return !tool.isEmpty() && QProcess::startDetached(tool, {});
}

void QtPlatform::ShowHelp() {
    if (!help_) help_ = std::make_unique<HelpViewer>();
    static_cast<HelpViewer*>(help_.get())->showContents();
}

} // namespace vktqt
