// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window of a transfer: an information line, a progress bar and
// a Cancel button. While it is loaded the main window is disabled, so no
// second radio operation can start.

#include <string>

#include "platform/Controls.h"
#include "platform/Platform.h"

namespace VKTCom {

class frmProc : public vkt::Window {
public:
    // owner: the main window, disabled while this window is loaded.
    frmProc(vkt::Platform& platform, vkt::Window& owner);

    vkt::Label lblInfo;
    vkt::ProgressBar Prog1{0, 100};
    // What the bar stands for, its name for a screen reader: "Reading radio", "Writing radio".
    vkt::Label Prog1Name;
    vkt::Button CancelButton{"Cancel"};

    // Set by Cancel; the transfers look at it between blocks and while waiting.
    bool Cancelled = false;
    // Which radio is on the line, when the technician must be told: every
    // text of this window and every write confirmation ends with it.
    std::string RadioNote;

    // Loads (if needed), places and shows the window for a transfer.
    void ShowForm(const std::string& text, bool isWrite);
    // Shows the window with a command's "Please Wait" text.
    void ShowPleaseWait(const std::string& text);
    void EnableCancel();
    void CancelButton_Click();
    // Closes the window; closing a closed window does nothing.
    void Unload();
    bool Loaded() const { return loaded_; }

    static constexpr const char* CancelWriteQuestion =
        "Warning:\rCancelling a write operation may leave the radio in an unpredictable state.\r"
        "Are you sure you want to cancel?";

private:
    void load();
    void place();

    vkt::Platform& platform_;
    vkt::Window& owner_;
    bool isWrite_ = false;
    bool ownerWasEnabled_ = false;
    bool loaded_ = false;
};

} // namespace VKTCom
