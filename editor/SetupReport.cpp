// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SetupReport.h"

#include <algorithm>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/MemoryMap.h"
#include "core/Text.h"

namespace vkteditor {

using VKTCore::Field;
using vkt::NumberText;
using vkt::PrintItem;
namespace P0 = VKTCore::Page0;
namespace GB = VKTCore::GroupBlock;

namespace {

constexpr int Margin = 10;

int Unit(const Field& f) { return static_cast<int>(VKTCore::ReadField(VKTCore::MemoryImage, 0, f)); }
int Group(int g, const Field& f) { return static_cast<int>(VKTCore::ReadField(VKTCore::MemoryImage, VKTCore::GroupBase(g), f)); }
std::string GroupText(int g, const Field& f) { return VKTCore::FieldText(VKTCore::MemoryImage, VKTCore::GroupBase(g), f); }

std::string EnabledText(bool set) { return set ? "Enabled" : "Disabled"; }
std::string YesNo(bool set) { return set ? "Yes" : "No"; }

std::string LabelText(const std::string& text) { return text.empty() ? "BLANK!" : text; }

std::string PriorityText(int g, const Field& off, const Field& main, const Field& channel) {
    if (Group(g, off)) return "Off";
    if (Group(g, main)) return "Main";
    return NumberText(Group(g, channel) + 1);
}

class Report {
public:
    Report(vkt::Printer& p) : p_(p) {}
    void line(const std::string& text) { p_.printLine({{Margin, text}}); }
    void items(std::vector<PrintItem> items) { p_.printLine(items); }
    void empty() { p_.printLine({}); }
    vkt::Printer& printer() { return p_; }

private:
    vkt::Printer& p_;
};

void UnitData(Report& r) {
    r.line("Unit Global Data:");
    r.line("DTMF Dev = " + NumberText(Unit(P0::DTMFDeviation) * P0::DTMFDeviation.scale) + "    Front Porch Time = " +
           NumberText(Unit(P0::FrontPorchTime) * 330 + 30) + "    ANI Rate = " + NumberText((Unit(P0::ANIRate) + 1) * 10) +
           "    Priority Rate = " + NumberText((Unit(P0::PriorityRate) + 1) * 0.25));
    r.line(std::string("Global Battery Saver is ") + (Unit(P0::GlobalBatterySaver) ? "Inhibited" : "Enabled") +
           "    Display Frequencies Only is " + EnabledText(Unit(P0::FrequencyDisplay)) + "    Per Channel Power is " +
           EnabledText(Unit(P0::PerChannelPower)));
    r.line("Talk Back Scan is " + EnabledText(Unit(P0::TalkBackScan)) + "    Nuisance Channel Delete is " +
           EnabledText(Unit(P0::NuisanceChannelDelete)));
    r.empty();
    r.line("Toggle Switch Assignments:");
    using VKTCore::SwitchCodeText;
    r.line("Low Power = " + SwitchCodeText(Unit(P0::LowPowerSwitch)) + "    Channel Scan = " + SwitchCodeText(Unit(P0::ChannelScanSwitch)) +
           "    Priority Scan = " + SwitchCodeText(Unit(P0::PriorityScanSwitch)));
    r.line("Repeater Talk Around = " + SwitchCodeText(Unit(P0::TalkAroundSwitch)) + "    Group Scan = " +
           SwitchCodeText(Unit(P0::GroupScanSwitch)));
    r.empty();
    r.line("Rotary Switch Assignments:");
    r.items({{10, "Position:"}, {22, "Variable:"}, {33, "Group:"}, {41, "Channel:"}, {51, "Variable:"}});
    for (int p = 0; p < P0::RotaryGroup.count; ++p) {
        r.items({{12, NumberText(p + 1)},
                 {25, YesNo(Unit(P0::RotaryGroupKeypad[p]))},
                 {33, Unit(P0::RotaryGroupGlobal[p]) ? "Global" : NumberText(Unit(P0::RotaryGroup[p]) + 1)},
                 {41, Unit(P0::RotaryChannelGlobal[p]) ? "Global" : NumberText(Unit(P0::RotaryChannel[p]) + 1)},
                 {54, YesNo(Unit(P0::RotaryChannelKeypad[p]))}});
    }
    r.line("The Global Group is " + NumberText(Unit(P0::GlobalGroup) + 1) + "   The Global Channel is " +
           NumberText(Unit(P0::GlobalChannel) + 1));
    r.empty();
}

void GroupSection(Report& r, int g) {
    r.line("Group " + NumberText(g + 1) + " Data:");
    // Seven of the eight stored digits are shown.
    const std::string id = VKTCore::UnitIdText(VKTCore::MemoryImage, g);
    r.line("ANI/ID Number: " + id + "      Group Label: " + LabelText(GroupText(g, GB::Label)) + "      Unit Password = " +
           GroupText(g, GB::Password));
    const int timeout = Group(g, GB::TimeOutTimer) * static_cast<int>(GB::TimeOutTimer.scale);
    r.line("Time Out Timer = " + (timeout < 15 ? std::string("OFF") : NumberText(timeout)) + "      Scan Hold Time = " +
           NumberText(Group(g, GB::ScanHoldTime) * GB::ScanHoldTime.scale) + "      Group Scan Enabled = " +
           (Group(g, GB::GroupScanList) ? "True" : "False"));
    static const char* const BackLight[] = {"Always Off", "Keypad Press", "Display Change", "Keypad & Display Change"};
    const int duration = Group(g, GB::BackLightDuration);
    r.line(std::string("Display: ") + (Group(g, GB::DisplayMode) ? "Alpha-Numeric Mode" : "7 Segment Mode") + "     Back Light: " +
           BackLight[Group(g, GB::BackLight)] + "     Duration: " + (duration >= 1 ? NumberText(duration) + " Sec On" : "Off"));
    r.line("Priority 1 Channel: " + PriorityText(g, GB::Priority1Off, GB::Priority1Main, GB::Priority1Channel) +
           "     Priority 2 Channel: " + PriorityText(g, GB::Priority2Off, GB::Priority2Main, GB::Priority2Channel) +
           "      Transmit on Priority 1: " + YesNo(Group(g, GB::TransmitOnPriority1)));
    auto lockout = [](bool set) { return std::string(set ? "Locked Out" : "Enabled"); };
    r.line(std::string("Battery Saver: ") + (Group(g, GB::BatterySaverOff) ? "Off" : "On") + "      Priority Key: " +
           lockout(Group(g, GB::PriorityKeyLockout)) + "      'ENT' & 'CLR' Keys: " + lockout(Group(g, GB::EntClrKeyLockout)));
    static const char* const Busy[] = {"Off", "Indicate", "Override", "Lockout"};
    static const char* const Ani[] = {"Off", "DTMF Only", "ANI Only", "DTMF w/Manual ANI"};
    r.line(std::string("Busy Channel Indicator: ") + Busy[Group(g, GB::BusyChannelIndicator)] + "      Resident ANI/DTMF: " +
           Ani[Group(g, GB::ResidentAniDtmf)]);
    r.line("User Code Guard is " + EnabledText(Group(g, GB::UCGEnabled)) + "      User code Guard Channel: " +
           NumberText(Group(g, GB::UCGChannel) + 1) + "      User Code Guard Encode Only: " + YesNo(Group(g, GB::UCGEncodeOnly)));
    r.items({{10, "Chan:"}, {16, "Rec Freq:"}, {30, "Rec CG:"}, {40, "Tx Freq:"}, {54, "Tx CG:"}, {64, "Label:"},
             {76, "Scan:"}, {84, "Narrow:"}, {94, "Low Power:"}});
    for (int c = 0; c < VKTCore::ChannelCount; ++c) {
        auto slot = [&](const Field& f) { return VKTCore::FieldText(VKTCore::MemoryImage, VKTCore::ChannelSlotAddress(g, c), f); };
        namespace CS = VKTCore::ChannelSlot;
        std::vector<PrintItem> row = {
            {10, NumberText(c + 1)},
            {16, slot(CS::RxFreq)},
            {30, slot(CS::RxCG)},
            {40, slot(CS::TxFreq)},
            {54, slot(CS::TxCG)},
            {64, LabelText(VKTCore::FieldText(VKTCore::MemoryImage, VKTCore::LabelSlotAddress(g, c), VKTCore::LabelSlot::Label))},
        };
        if (Group(g, GB::Scan[c])) row.push_back({76, "S"});
        if (Group(g, GB::Narrow[c])) row.push_back({84, "N"});
        if (Group(g, GB::LowPower[c])) row.push_back({94, "L"});
        r.items(row);
    }
    r.empty();
}

} // namespace

void PrintSetupReport(vkt::Printer& printer, const std::string& reportFileName) {
    Report r(printer);
    printer.setFontName("Arial");
    printer.setFontSize(16);
    r.items({{20, "VKT Unit Data Printout:    " + reportFileName}});
    r.empty();
    printer.setFontSize(10);
    UnitData(r);
    const int groupCount = Unit(P0::GroupsHeld);
    if (groupCount >= VKTCore::GroupCount) {
        // A unit claiming more groups than there are prints the fifteen it has.
        const int groups = std::min(groupCount, VKTCore::GroupCount);
        for (int g = 0; g < groups; ++g) {
            GroupSection(r, g);
            if (g % 2 == 0 && g < 14) {
                printer.newPage();
                r.empty();
                r.empty();
            }
        }
    } else {
        GroupSection(r, 0);
    }
    printer.endDoc();
}

} // namespace vkteditor
