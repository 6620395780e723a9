// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SetupComparison.h"

#include <utility>

#include "core/GlobalsControls.h"
#include "core/GroupControls.h"
#include "core/MemoryMap.h"
#include "core/clsGlobals.h"
#include "core/clsGroup.h"
#include "link/Transfers.h"

namespace VKTCom {

using VKTCore::Field;
using VKTCore::Image;
namespace P0 = VKTCore::Page0;
namespace GB = VKTCore::GroupBlock;

namespace {

constexpr int UnitWide = -1;  // page 0's record; the groups' are 0 ... 14

// A field of one record of the image, with the bits of it a write sends.
struct Entry {
    std::string name;
    int record;
    int base;
    Field field;
    int channel = -1;  // the channel whose slot or label holds it
};

std::string ElementName(const Field& run, int i) {
    if (!run.element) return run.name;
    return std::string(run.element) + " " + std::to_string(i + 1) + " " + run.name;
}

// Keeps only the bits a write sends; a field without any is not compared.
void Add(std::vector<Entry>& out, const std::string& prefix, int record, int base, const Field& run, int channel = -1) {
    for (int i = 0; i < run.count; ++i) {
        Field f = run[i];
        uint64_t sent = 0;
        for (int k = 0; k < f.size; ++k) sent = sent << 8 | (VKTCore::FieldBitsAt(f, f.offset + k) & SentBits(base + f.offset + k));
        if (!sent) continue;
        f.mask = sent;
        out.push_back({prefix + ElementName(run, i), record, base, f, channel});
    }
}

// Sent bits of a group block that no field claims, shown as their byte.
void AddUnnamed(std::vector<Entry>& out, const std::string& prefix, int record, int base) {
    for (int r = 0; r < VKTCore::GroupBlockSize; ++r) {
        const uint8_t unnamed = SentBits(base + r) & ~VKTCore::FieldsBitsAt(GB::Fields, r);
        if (unnamed)
            out.push_back({prefix + "byte " + std::to_string(r), record, base,
                           Field{.name = "byte", .offset = r, .mask = unnamed, .encoding = VKTCore::Encoding::Digits}});
    }
}

std::vector<Entry> SentFields() {
    std::vector<Entry> out;
    for (const Field& run : P0::UnitWide) Add(out, "", UnitWide, 0, run);
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        const std::string group = "Group " + std::to_string(g + 1) + " ";
        const int block = VKTCore::GroupBase(g);
        for (const Field& run : GB::Fields) Add(out, group, g, block, run);
        AddUnnamed(out, group, g, block);
        for (int c = 0; c < VKTCore::ChannelCount; ++c) {
            const std::string ch = group + "Ch " + std::to_string(c + 1) + " ";
            for (const Field& f : VKTCore::ChannelSlot::Fields) Add(out, ch, g, VKTCore::ChannelSlotAddress(g, c), f, c);
            Add(out, ch, g, VKTCore::LabelSlotAddress(g, c), VKTCore::LabelSlot::Label, c);
        }
    }
    return out;
}

std::string Text(const Image& image, const Entry& e) {
    const std::string text = VKTCore::FieldText(image, e.base, e.field);
    return e.field.encoding == VKTCore::Encoding::Label ? "\"" + text + "\"" : text;
}

// The settings of one record as its window shows them, in the window's
// order: each name with the text of its control.
using Shown = std::vector<std::pair<std::string, std::string>>;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Checked(const vkt::CheckBox& box) { return box.Value() ? "checked" : "unchecked"; }
std::string Chosen(const vkt::ComboBox& box) { return box.Text().empty() ? "(none)" : box.Text(); }

Shown UnitWideShown(Image image) {
    vkt::GlobalsControls c;
    VKTCore::clsGlobals(c, image).Read_Globals();
    Shown s;
    for (int p = 0; p < vkt::RotaryPositions; ++p) {
        const auto i = static_cast<size_t>(p);
        s.emplace_back(ElementName(P0::RotaryGroup, p), Chosen(c.cboGroup[i]));
        s.emplace_back(ElementName(P0::RotaryGroupKeypad, p), Checked(c.chkGrpVar[i]));
        s.emplace_back(ElementName(P0::RotaryChannel, p), Chosen(c.cboChan[i]));
        s.emplace_back(ElementName(P0::RotaryChannelKeypad, p), Checked(c.chkChanVar[i]));
    }
    const std::pair<const Field&, const vkt::ComboBox&> lists[] = {
        {P0::GlobalGroup, c.cboGlobalGroup}, {P0::GlobalChannel, c.cboGlobalChannel},
        {P0::LowPowerSwitch, c.cboLoPowerSwitch}, {P0::ChannelScanSwitch, c.cboChanScan},
        {P0::PriorityScanSwitch, c.cboPriScan}, {P0::TalkAroundSwitch, c.cboRTA}, {P0::GroupScanSwitch, c.cboGroupScan},
        {P0::DTMFDeviation, c.cboDTMFDev}, {P0::FrontPorchTime, c.cboPorchTime}, {P0::ANIRate, c.cboANIRate},
        {P0::PriorityRate, c.cboPriRate}, {P0::GlobalBatterySaver, c.cboBattSave}, {P0::FrequencyDisplay, c.cboFreqDisplay},
        {P0::PerChannelPower, c.cboLoPower}, {P0::TalkBackScan, c.cboTalkBack}, {P0::NuisanceChannelDelete, c.cboNuisanceChan}};
    for (const auto& [f, box] : lists) s.emplace_back(f.name, Chosen(box));
    return s;
}

// A channel's cells and check boxes, from controls that show its group.
void AddChannel(Shown& s, vkt::GroupControls& c, int g, int ch) {
    namespace CS = VKTCore::ChannelSlot;
    const std::pair<const Field&, int> columns[] = {{CS::RxFreq, vkt::ColRecFreq}, {CS::RxCG, vkt::ColRecCG},
                                                    {CS::TxFreq, vkt::ColTxFreq}, {CS::TxCG, vkt::ColTxCG}};
    const auto i = static_cast<size_t>(ch);
    const std::string name = "Group " + std::to_string(g + 1) + " Ch " + std::to_string(ch + 1) + " ";
    for (const auto& [f, col] : columns) s.emplace_back(name + f.name, c.grid().cellText(ch, col));
    s.emplace_back(name + VKTCore::LabelSlot::Label.name, Quoted(c.grid().cellText(ch, vkt::ColChLabel)));
    s.emplace_back(name + GB::Scan.name, Checked(c.chkScan[i]));
    s.emplace_back(name + GB::Narrow.name, Checked(c.chkNarr[i]));
    s.emplace_back(name + GB::LowPower.name, Checked(c.chkLoPower[i]));
}

// One channel alone: a channel's field is seen in its own row or nowhere.
Shown ChannelShown(Image image, int g, int ch) {
    vkt::GroupControls c;
    VKTCore::clsChannel(c, image).Read_Channel(g, ch);
    Shown s;
    AddChannel(s, c, g, ch);
    return s;
}

Shown GroupShown(Image image, int g) {
    vkt::GroupControls c;
    VKTCore::clsGroup(c, image).Read_Group(g);
    const std::string group = "Group " + std::to_string(g + 1) + " ";
    Shown s{{group + GB::Label.name, Quoted(c.txtGrpLab.Text())},
            {group + GB::IdNumber.name, c.txtID.Text()},
            {group + GB::Password.name, c.txtPassWord.Text()},
            {group + GB::DisplayMode.name, Chosen(c.cboDisplay)},
            {group + GB::BackLight.name, Chosen(c.cboBackLight)},
            {group + GB::BackLightDuration.name, Chosen(c.cboDuration)},
            {group + "Priority 1", Chosen(c.cboPri1Chan)},
            {group + "Priority 2", Chosen(c.cboPri2Chan)},
            {group + GB::TransmitOnPriority1.name, Checked(c.chkPriTX)},
            {group + "UCG", c.optUCGEnabled.Value() ? c.optUCGEnabled.Caption() : c.optUCGDisabled.Caption()},
            {group + GB::UCGEncodeOnly.name, Checked(c.chkUCGEncode)},
            {group + GB::UCGChannel.name, Chosen(c.cboUCGChan)},
            {group + GB::BusyChannelIndicator.name, Chosen(c.cboBCI)},
            {group + GB::ResidentAniDtmf.name, Chosen(c.cboANI)},
            {group + GB::TimeOutTimer.name, Chosen(c.cboTOT)},
            {group + GB::ScanHoldTime.name, Chosen(c.cboScan)},
            {group + GB::GroupScanList.name, Checked(c.chkGroupScanList)},
            {group + "Battery Saver", c.optBattSaveOff.Value() ? c.optBattSaveOff.Caption() : c.optBattSaveOn.Caption()},
            {group + GB::EntClrKeyLockout.name, Checked(c.chkENTCLRLock)},
            {group + GB::PriorityKeyLockout.name, Checked(c.chkPriKeyLock)}};
    for (int ch = 0; ch < VKTCore::ChannelCount; ++ch) AddChannel(s, c, g, ch);
    return s;
}

Shown RecordShown(const Image& image, int record) { return record == UnitWide ? UnitWideShown(image) : GroupShown(image, record); }

// The image with one field taken from another.
Image With(Image image, const Image& from, const Entry& e) {
    VKTCore::WriteField(image, e.base, e.field, VKTCore::ReadField(from, e.base, e.field));
    return image;
}

} // namespace

std::vector<FieldDifference> CompareSetups(const Image& first, const Image& given, bool unitWide) {
    static const std::vector<Entry> fields = SentFields();
    // The second setup's bits that no write sends are taken as the first's,
    // so that no setting differs by what a write leaves alone.
    Image second = first;
    for (size_t a = 0; a < second.size(); ++a)
        second[a] = static_cast<uint8_t>((first[a] & ~SentBits(static_cast<int>(a))) | (given[a] & SentBits(static_cast<int>(a))));

    std::vector<FieldDifference> out;
    for (int record = unitWide ? UnitWide : 0; record < VKTCore::GroupCount; ++record) {
        std::vector<const Entry*> differing;
        for (const Entry& e : fields)
            if (e.record == record && VKTCore::ReadField(first, e.base, e.field) != VKTCore::ReadField(second, e.base, e.field))
                differing.push_back(&e);
        if (differing.empty()) continue;
        const Shown a = RecordShown(first, record), b = RecordShown(second, record);
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].second != b[i].second) out.push_back({a[i].first, a[i].second, b[i].second});
        // Bits the windows show alike on both sides (a group nibble under its
        // Global flag, say) still differ on the radio: named by their field.
        const auto alike = [record](const Image& image, const Image& other, const Shown& whole, const Entry& e) {
            return e.channel < 0 ? RecordShown(With(image, other, e), record) == whole
                                 : ChannelShown(With(image, other, e), record, e.channel) == ChannelShown(image, record, e.channel);
        };
        for (const Entry* e : differing)
            if (alike(first, second, a, *e) && alike(second, first, b, *e)) out.push_back({e->name, Text(first, *e), Text(second, *e)});
    }
    return out;
}

} // namespace VKTCom
