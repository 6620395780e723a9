// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/FileOpenSave.h"

#include <algorithm>

#include "core/MemoryImage.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"

namespace vktstore {

std::string FileTitle(const std::string& path) { return "VKT File - " + path + "   VKT Editor   " + MakerNotice; }

bool FileOpenSave::AskSetupFileName(bool forSave) {
    PrevSetupFileName = SetupFileName;
    vkt::FileDialogRequest request;
    request.forSave = forSave;
    request.fileName = SetupFileName;
    request.filter = Filter;
    request.defaultExtension = "vkt";
    const auto chosen = platform_.FileDialog(request);
    if (!chosen) return false;
    SetupFileName = *chosen;
    return true;
}

FileResult FileOpenSave::SaveSetup() {
    if ((SetupFileName.empty() || PrevSetupFileName.empty()) && !AskSetupFileName(true)) return FileResult::Cancelled;
    return WriteSetupFile() ? FileResult::Done : FileResult::Failed;
}

FileResult FileOpenSave::SaveSetupAs(GlobalsWindow globals) {
    if (!AskSetupFileName(true)) return FileResult::Cancelled;
    return WriteSetupFile(globals) ? FileResult::Done : FileResult::Failed;
}

FileResult FileOpenSave::OpenSetup() {
    if (!AskSetupFileName(false)) return FileResult::Cancelled;
    return ReadSetupFile() ? FileResult::Done : FileResult::Failed;
}

bool FileOpenSave::WriteSetupFile(GlobalsWindow globals) {
    window_.storeShownGroup();
    if (globals == GlobalsWindow::Stored && window_.globalsWindowOpen()) window_.storeGlobals();
    FileError error;
    if (!WriteFileReplacing(SetupFileName, VKTCore::MemoryImage, error)) {
        ShowFileError(error);
        return false;
    }
    UpdateFileTitle();
    return true;
}

bool FileOpenSave::ReadSetupFile() {
    // A file shorter than the radio's memory would leave a half-new image,
    // and a longer one is some other file: either is refused and the image
    // stays as it was.
    std::vector<uint8_t> bytes;
    FileError error;
    if (!ReadSetupBytes(SetupFileName, bytes, error)) {
        ShowFileError(error);
        return false;
    }
    VKTCore::MemoryImage.fill(0);
    std::copy(bytes.begin(), bytes.end(), VKTCore::MemoryImage.begin());
    if (window_.globalsWindowOpen()) window_.showGlobals();
    window_.showShownGroup();
    UpdateFileTitle();
    return true;
}

void FileOpenSave::UpdateFileTitle() {
    window_.setCaption(FileTitle(SetupFileName));
    platform_.SaveSetting(vkt::SettingsApp, "File", "LastOpen", SetupFileName);
    PrevSetupFileName = SetupFileName;
    ReportFileName = SetupFileName;
}

void FileOpenSave::ShowFileError(const FileError& error) {
    SetupFileName = PrevSetupFileName;
    platform_.MsgBox("Error Number " + std::to_string(error.number) + "!\r" + error.description, vkt::Buttons::OK,
                     vkt::Icon::Exclamation, FileErrorTitle);
    if (error.number == FileNotFound) platform_.MsgBox(FileAccessError, vkt::Buttons::OK, vkt::Icon::None);
}

} // namespace vktstore
