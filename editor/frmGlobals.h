// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The global parameters window: the unit-wide settings of page 0 in three
// frames, stored into the image only through its own menu or its close box.

#include <memory>

#include "core/GlobalsControls.h"
#include "core/clsGlobals.h"
#include "platform/Controls.h"
#include "platform/Platform.h"

namespace vkteditor {

class frmGlobals : public vkt::Window, public vkt::GlobalsControls {
public:
    explicit frmGlobals(vkt::Platform& platform);

    std::array<vkt::Label, 16> lblPos;
    vkt::Label lblPosHeading{"Position:"};
    vkt::Label lblGroup{"Group             Channel"};
    vkt::CheckBox chkSample{"A checked box indicates the assignment is variable from the keypad."};
    vkt::Label lblGlobGrp{"Global Group:"}, lblGlobChan{"Global Channel:"};
    vkt::Frame fraRotarySwitch{"Rotary Switch Assignments"};
    vkt::Frame fraToggles{"Toggle Switch Assignments"};
    vkt::Frame fraUnit{"Global Variables"};
    vkt::Label lblLoPowerSwitch{"Low Power:"}, lblChanScan{"Channel Scan:"}, lblPriScan{"Priority Scan:"},
        lblRTA{"Repeater Talk Around:"}, lblGroupScan{"Group Scan:"};
    vkt::Label lblDTMFDev{"DTMF FM Deviation in Hz:"}, lblPorch{"Front Porch Time in Milliseconds:"},
        lblAniRate{"ANI Rate in Chars/Second:"}, lblPriRate{"Priority Rate in seconds:"},
        lblBattSave{"Global Battery Saver:"}, lblFreqDisplay{"Display Frequencies Only:"},
        lblPerChanPower{"Per Channel Power Selection:"}, lblTalkBack{"Talk Back Scan:"},
        lblNuisanceChan{"Nuisance Channel Delete:"};

    vkt::MenuItem mnuFile{"Window"};
    vkt::MenuItem mnuSave{"Save Settings And Close Window"};
    vkt::MenuItem mnuExit{"Close Window Without Saving"};
    vkt::MenuItem mnuSep1{"-"};
    vkt::MenuItem mnuReadSettings{"Read Settings Again"};

    // The "Global Parameters" command: loads the window on its first showing.
    void Show();
    void mnuSave_Click();
    void mnuExit_Click();
    void mnuReadSettings_Click();
    // The close box; true keeps the window open.
    bool Form_QueryUnload();
    // Closes the window, its settings stored into the image first or not.
    void Unload(bool save);

    // True from loading until the window is closed through its close box.
    bool globalsWindowOpen() const { return loaded_; }

    static constexpr const char* SaveQuestion = "Save Global Parameters?";

private:
    vkt::Platform& platform_;
    std::unique_ptr<VKTCore::clsGlobals> globals_;
    bool loaded_ = false;
};

} // namespace vkteditor
