// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The File menu's Save, Save As and Open: a setup file is the memory image,
// byte for byte. The window title names the file in use.

#include <string>

#include "platform/Platform.h"

namespace vktstore {

struct FileError;

// What the file commands need of the main window.
class SetupWindow {
public:
    virtual ~SetupWindow() = default;
    // The shown group's controls into the image, and back.
    virtual void storeShownGroup() = 0;
    virtual void showShownGroup() = 0;
    virtual bool globalsWindowOpen() const = 0;
    virtual void storeGlobals() = 0;
    virtual void showGlobals() = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

// How a save or an open ended: a cancelled file dialog is no failure.
enum class FileResult { Done, Cancelled, Failed };
// Whether a save stores an open global parameters window into the image
// first, or leaves that to whoever already decided it.
enum class GlobalsWindow { Stored, AsDecided };

class FileOpenSave {
public:
    FileOpenSave(vkt::Platform& platform, SetupWindow& window) : platform_(platform), window_(window) {}

    std::string SetupFileName;
    std::string PrevSetupFileName;
    std::string ReportFileName;

    FileResult SaveSetup();
    FileResult SaveSetupAs(GlobalsWindow globals = GlobalsWindow::Stored);
    FileResult OpenSetup();
    bool AskSetupFileName(bool forSave);
    bool WriteSetupFile(GlobalsWindow globals = GlobalsWindow::Stored);
    bool ReadSetupFile();
    void UpdateFileTitle();
    void ShowFileError(const FileError& error);

    static constexpr const char* Filter = "VKT (*.vkt)|*.vkt|Frequency (*.frq)|*.frq|All (*.*)|*.*";
    static constexpr const char* FileErrorTitle = "File Error";
    static constexpr const char* FileAccessError = "File Access Error!";

private:
    vkt::Platform& platform_;
    SetupWindow& window_;
};

// "VKT File - <path>   VKT Editor   <notice>"
std::string FileTitle(const std::string& path);
inline constexpr const char* MakerNotice = "Copyright (c) 2026 The VKT Editor developers";

} // namespace vktstore
