// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The services of the machine the program runs on: message boxes, events and
// time, clipboard, settings, file dialogs, printer, help and the serial port.
// The Qt implementation lives in qt/, a scripted one in tests/support/.

#include <optional>
#include <string>
#include <vector>

#include "platform/SerialPort.h"

namespace vkt {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Yes, No, Retry };

// The program's title, shown by a message box that has none of its own.
inline constexpr const char* AppTitle = "VKT Editor";
// The application name the settings are kept under.
inline constexpr const char* SettingsApp = "VKTEDWIN";

struct FileDialogRequest {
    bool forSave = false;
    std::string fileName;       // preset name
    std::string filter;         // "VKT (*.vkt)|*.vkt|All (*.*)|*.*"
    std::string defaultExtension;
};

// One item of a printed line, placed at a character column (1 = left margin).
struct PrintItem {
    int column;
    std::string text;
};

class Printer {
public:
    virtual ~Printer() = default;
    virtual void setFontName(const std::string& name) = 0;
    virtual void setFontSize(double points) = 0;
    // A line of items; an empty list prints an empty line.
    virtual void printLine(const std::vector<PrintItem>& items) = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    virtual Answer MsgBox(const std::string& text, Buttons buttons, Icon icon,
                          const std::string& title = AppTitle, bool systemModal = false) = 0;
    // A box whose text is followed by details too long for it (every line of
    // a list), which a window system shows in an area of their own that scrolls.
    virtual Answer MsgBoxWithDetails(const std::string& text, const std::string& details, Buttons buttons, Icon icon,
                                     const std::string& title = AppTitle) {
        return MsgBox(text + "\r" + details, buttons, icon, title);
    }
    virtual void Beep() = 0;

    // Lets the window system handle pending events; the wait loops call it.
    virtual void DoEvents() = 0;
    // The same, but waiting for the next event no longer than seconds: a
    // wait on the radio with little time left must not oversleep it.
    virtual void WaitForEvents(double seconds) {
        (void)seconds;
        DoEvents();
    }
    // Seconds since some fixed moment, for time-outs.
    virtual double Timer() = 0;
    virtual void Sleep(int ms) = 0;

    virtual void ClipboardClear() = 0;
    virtual void ClipboardSetText(const std::string& text) = 0;
    virtual std::string ClipboardGetText() = 0;

    virtual std::string GetSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& def) = 0;
    virtual void SaveSetting(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& value) = 0;

    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;

    virtual Printer& printer() = 0;
    // False when the dialog was cancelled or failed.
    virtual bool PrinterSetup() = 0;
    virtual void ShowHelp() = 0;
    // Starts the system information tool; false when there is none.
    virtual bool StartSystemInformation() = 0;

    virtual SerialPort& serialPort() = 0;
};

} // namespace vkt
