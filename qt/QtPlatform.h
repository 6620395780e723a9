// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform services on Qt: message boxes, events and time, clipboard,
// settings (QSettings under the application name), file dialogs, printer,
// help viewer and the serial port.

#include <QElapsedTimer>
#include <QTimer>

#include <map>
#include <memory>

#include "link/SerialTrace.h"
#include "platform/Platform.h"
#include "platform/SerialPorts.h"
#include "qt/QtPrinter.h"
#include "qt/QtSerialPort.h"
#include "qt/SerialDevices.h"
#include "store/FileWriter.h"

class QWidget;

namespace vktqt {

class QtPlatform : public vkt::Platform, public vkt::PortDirectory {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The window message boxes and dialogs belong to.
    void setMainWindow(QWidget* w);

    vkt::Answer MsgBox(const std::string& text, vkt::Buttons buttons, vkt::Icon icon, const std::string& title,
                       bool systemModal) override;
    vkt::Answer MsgBoxWithDetails(const std::string& text, const std::string& details, vkt::Buttons buttons, vkt::Icon icon,
                                  const std::string& title) override;
    void Beep() override;
    void DoEvents() override;
    void WaitForEvents(double seconds) override;
    double Timer() override;
    void Sleep(int ms) override;
    void ClipboardClear() override;
    void ClipboardSetText(const std::string& text) override;
    std::string ClipboardGetText() override;
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& def) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::optional<std::string> FileDialog(const vkt::FileDialogRequest& request) override;
    vkt::Printer& printer() override { return printer_; }
    bool PrinterSetup() override { return printer_.setup(); }
    void ShowHelp() override;
    bool StartSystemInformation() override;
    vkt::SerialPort& serialPort() override;

    // The serial trace: every byte to and from the radio, time-stamped, added
    // to a file; false, and why, when the file cannot be written.
    bool startTrace(const std::string& path, std::string& why);
    void stopTrace();
    bool tracing() const { return trace_ != nullptr; }
    void traceNote(const std::string& text);

    // The serial device Comm Port n stands for.
    std::string deviceOfPort(int n);
    // What Comm Port n stands for, in the words every port message uses:
    // "/dev/ttyUSB0 — FT232R USB UART", "/dev/ttyUSB1 — not present".
    std::string describePort(int n) override;
    // Comm Port n stands for this device, so described, for the rest of the
    // run (not stored).
    void setDeviceForThisRun(int n, std::string device, std::string description = "given for this run");
    // Comm Port n stands for this device from now on, stored in the settings
    // ("" for the machine's default).
    void assignDevice(int n, const std::string& device) override;
    // The stored device of Comm Port n, "" when none.
    std::string storedDevice(int n) override;
    std::vector<vkt::PortInfo> machinePorts() override { return MachinePorts(); }
    // The machine's serial ports now.
    static std::vector<vkt::PortInfo> MachinePorts();
    // True when a device is stored for some port or a USB serial adapter is
    // plugged in (a bare built-in port is no sign of a programming cable).
    bool anySerialDevice();
    // The emulated radio's port is this one, inside the program, from now on.
    void setEmulatedPort(std::unique_ptr<vkt::SerialPort> port);

private:
    vkt::Answer showBox(const std::string& text, const std::string& details, vkt::Buttons buttons, vkt::Icon icon,
                        const std::string& title, bool systemModal);

    QWidget* mainWindow_ = nullptr;
    QElapsedTimer clock_;
    QTimer tick_;
    QtPrinter printer_;
    QtSerialPort serial_;
    // The port the link talks through: the emulated radio's own while the
    // emulated port number is chosen and the radio runs inside the program,
    // else the serial port.
    class ChosenPort : public vkt::SerialPort {
    public:
        explicit ChosenPort(QtSerialPort& serial) : serial_(serial) {}
        std::unique_ptr<vkt::SerialPort> emulated;
        void setPortNumber(int n) override;
        int portNumber() const override { return serial_.portNumber(); }
        void setSettings(const std::string& s) override;
        std::string settings() const override { return now().settings(); }
        bool open() override { return now().open(); }
        void close() override { now().close(); }
        bool isOpen() const override { return now().isOpen(); }
        std::string openError() const override { return now().openError(); }
        void writeByte(uint8_t b) override { now().writeByte(b); }
        int inBufferCount() override { return now().inBufferCount(); }
        void discardInput() override { now().discardInput(); }
        int readByte() override { return now().readByte(); }
        std::vector<uint8_t> readAll() override { return now().readAll(); }

    private:
        vkt::SerialPort& now() const;
        QtSerialPort& serial_;
    };
    ChosenPort port_{serial_};
    std::unique_ptr<QWidget> help_;
    struct RunDevice {
        std::string device;
        std::string description;
    };
    std::map<int, RunDevice> runDevices_;
    std::unique_ptr<vktstore::LogFile> traceFile_;
    std::unique_ptr<VKTCom::SerialTrace> trace_;
};

} // namespace vktqt
