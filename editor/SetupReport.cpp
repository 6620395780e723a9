#include "editor/SetupReport.h"

#include <algorithm>

#include "core/ChannelCodes.h"
#include "core/MemoryImage.h"
#include "core/Text.h"

namespace vkteditor {

using VKTCore::GetImageByte;
using vkt::NumberText;
using vkt::PrintItem;

namespace {

constexpr int Margin = 10;

int Page0(int address) { return GetImageByte(0, address); }

int GroupByte(int g, int r) {
    const VKTCore::PageOffset at = VKTCore::GroupBlockByte(g, r);
    return GetImageByte(at.page, at.offset);
}

int ImageByte(int address) { return VKTCore::MemoryImage.at(static_cast<size_t>(address)); }

std::string EnabledText(bool set) { return set ? "Enabled" : "Disabled"; }
std::string YesNo(bool set) { return set ? "Yes" : "No"; }

// Position p's bit in one of the page-0 byte pairs 144 ... 151.
bool PositionBit(int pairStart, int p) {
    return p <= 8 ? (Page0(pairStart + 1) >> (p - 1)) & 1 : (Page0(pairStart) >> (p - 9)) & 1;
}

std::string LabelText(int address) {
    uint8_t codes[8];
    for (int i = 0; i < 8; ++i) codes[i] = static_cast<uint8_t>(ImageByte(address + i));
    const std::string text = VKTCore::DecodeLabel(codes);
    return text.empty() ? "BLANK!" : text;
}

std::string PriorityText(int b) {
    if (b & 128) return "Off";
    if (b & 64) return "Main";
    return NumberText((b & 15) + 1);
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
    const int b6 = Page0(6), b7 = Page0(7), b152 = Page0(152), b153 = Page0(153), b155 = Page0(155), b255 = Page0(255);
    r.line("Unit Global Data:");
    r.line("DTMF Dev = " + NumberText(((b7 >> 3) & 31) * 93.75) + "    Front Porch Time = " + NumberText((b7 & 3) * 330 + 30) +
           "    ANI Rate = " + NumberText((((b7 >> 2) & 1) + 1) * 10) + "    Priority Rate = " +
           NumberText(((b155 & 7) + 1) * 0.25));
    r.line(std::string("Global Battery Saver is ") + ((b6 & 4) ? "Inhibited" : "Enabled") + "    Display Frequencies Only is " +
           EnabledText(b155 & 128) + "    Per Channel Power is " + EnabledText(b155 & 64));
    r.line("Talk Back Scan is " + EnabledText(b155 & 32) + "    Nuisance Channel Delete is " + EnabledText(b155 & 16));
    r.empty();
    r.line("Toggle Switch Assignments:");
    using VKTCore::SwitchCodeText;
    r.line("Low Power = " + SwitchCodeText((b152 >> 5) & 7) + "    Channel Scan = " + SwitchCodeText((b152 >> 2) & 7) +
           "    Priority Scan = " + SwitchCodeText((b152 & 3) * 2 + ((b153 >> 7) & 1)));
    r.line("Repeater Talk Around = " + SwitchCodeText((b153 >> 4) & 7) + "    Group Scan = " + SwitchCodeText((b153 >> 1) & 7));
    r.empty();
    r.line("Rotary Switch Assignments:");
    r.items({{10, "Position:"}, {22, "Variable:"}, {33, "Group:"}, {41, "Channel:"}, {51, "Variable:"}});
    for (int p = 1; p <= 16; ++p) {
        const int b = Page0(127 + p);
        r.items({{12, NumberText(p)},
                 {25, YesNo(PositionBit(148, p))},
                 {33, PositionBit(144, p) ? "Global" : NumberText(((b >> 4) & 15) + 1)},
                 {41, PositionBit(146, p) ? "Global" : NumberText((b & 15) + 1)},
                 {54, YesNo(PositionBit(150, p))}});
    }
    r.line("The Global Group is " + NumberText(((b255 >> 4) & 15) + 1) + "   The Global Channel is " +
           NumberText((b255 & 15) + 1));
    r.empty();
}

void GroupSection(Report& r, int g) {
    using vkt::Hex;
    using vkt::Hex2;
    const int b0 = GroupByte(g, 0), b45 = GroupByte(g, 45), b48 = GroupByte(g, 48), b49 = GroupByte(g, 49),
              b50 = GroupByte(g, 50);
    r.line("Group " + NumberText(g + 1) + " Data:");
    const std::string id = Hex(GroupByte(g, 41) & 15) + Hex2(GroupByte(g, 42)) + Hex2(GroupByte(g, 43)) + Hex2(GroupByte(g, 44));
    const VKTCore::PageOffset labelAt = VKTCore::GroupBlockByte(g, 51);
    const std::string password = Hex2(GroupByte(g, 38)) + Hex2(GroupByte(g, 39)) + Hex2(GroupByte(g, 40));
    r.line("ANI/ID Number: " + id + "      Group Label: " + LabelText(labelAt.page * 256 + labelAt.offset) +
           "      Unit Password = " + password);
    const int timeout = ((b45 >> 4) & 15) * 15;
    r.line("Time Out Timer = " + (timeout < 15 ? std::string("OFF") : NumberText(timeout)) + "      Scan Hold Time = " +
           NumberText((b45 & 15) * 0.5) + "      Group Scan Enabled = " + ((b48 & 64) ? "True" : "False"));
    static const char* const BackLight[] = {"Always Off", "Keypad Press", "Display Change", "Keypad & Display Change"};
    const int duration = b50 & 7;
    r.line(std::string("Display: ") + ((b50 & 8) ? "Alpha-Numeric Mode" : "7 Segment Mode") + "     Back Light: " +
           BackLight[(b50 >> 4) & 3] + "     Duration: " + (duration >= 1 ? NumberText(duration) + " Sec On" : "Off"));
    r.line("Priority 1 Channel: " + PriorityText(GroupByte(g, 46)) + "     Priority 2 Channel: " +
           PriorityText(GroupByte(g, 47)) + "      Transmit on Priority 1: " + YesNo(b48 & 32));
    auto lockout = [](bool set) { return std::string(set ? "Locked Out" : "Enabled"); };
    r.line(std::string("Battery Saver: ") + ((b48 & 128) ? "Off" : "On") + "      Priority Key: " + lockout(b48 & 16) +
           "      'ENT' & 'CLR' Keys: " + lockout(b48 & 8));
    static const char* const Busy[] = {"Off", "Indicate", "Override", "Lockout"};
    static const char* const Ani[] = {"Off", "DTMF Only", "ANI Only", "DTMF w/Manual ANI"};
    r.line(std::string("Busy Channel Indicator: ") + Busy[(b49 >> 5) & 3] + "      Resident ANI/DTMF: " + Ani[(b49 >> 3) & 3]);
    r.line("User Code Guard is " + EnabledText(b49 & 128) + "      User code Guard Channel: " + NumberText((b0 & 15) + 1) +
           "      User Code Guard Encode Only: " + YesNo(b0 & 32));
    r.items({{10, "Chan:"}, {16, "Rec Freq:"}, {30, "Rec CG:"}, {40, "Tx Freq:"}, {54, "Tx CG:"}, {64, "Label:"},
             {76, "Scan:"}, {84, "Narrow:"}, {94, "Low Power:"}});
    for (int c = 0; c < VKTCore::ChannelCount; ++c) {
        const int slot = VKTCore::ChannelSlotAddress(g, c);
        const int flagByte = c < 8 ? 1 : 0;  // channels 1 ... 8 in the odd byte of each pair
        const int bit = 1 << (c % 8);
        std::vector<PrintItem> row = {
            {10, NumberText(c + 1)},
            {16, VKTCore::StepsToMHzText(static_cast<unsigned>(VKTCore::WordAt(VKTCore::MemoryImage, slot)))},
            {30, VKTCore::CGCodeToText(static_cast<uint16_t>(VKTCore::WordAt(VKTCore::MemoryImage, slot + 2)))},
            {40, VKTCore::StepsToMHzText(static_cast<unsigned>(VKTCore::WordAt(VKTCore::MemoryImage, slot + 4)))},
            {54, VKTCore::CGCodeToText(static_cast<uint16_t>(VKTCore::WordAt(VKTCore::MemoryImage, slot + 6)))},
            {64, LabelText(VKTCore::LabelSlotAddress(g, c))},
        };
        if (GroupByte(g, 36 + flagByte) & bit) row.push_back({76, "S"});
        if (GroupByte(g, 34 + flagByte) & bit) row.push_back({84, "N"});
        if (GroupByte(g, 32 + flagByte) & bit) row.push_back({94, "L"});
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
    const int groupCount = Page0(5);
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
