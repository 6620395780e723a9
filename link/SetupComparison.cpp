// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SetupComparison.h"

#include <algorithm>

#include "core/MemoryMap.h"
#include "core/Text.h"
#include "link/Transfers.h"

namespace VKTCom {

using VKTCore::Field;
using VKTCore::Image;

namespace {

// A field of one record of the image, with the bits of it a write sends.
struct Entry {
    std::string name;
    int base;
    Field field;
    int first;  // address of its first sent byte, for memory order
};

std::string ElementName(const Field& run, int i) {
    if (!run.element) return run.name;
    return std::string(run.element) + " " + std::to_string(i + 1) + " " + run.name;
}

// Keeps only the bits a write sends; a field without any is not compared.
void Add(std::vector<Entry>& out, const std::string& prefix, int base, const Field& run) {
    for (int i = 0; i < run.count; ++i) {
        Field f = run[i];
        uint64_t sent = 0;
        int first = -1;
        for (int k = 0; k < f.size; ++k) {
            const uint8_t bits = VKTCore::FieldBitsAt(f, f.offset + k) & SentBits(base + f.offset + k);
            sent = sent << 8 | bits;
            if (bits && first < 0) first = base + f.offset + k;
        }
        if (first < 0) continue;
        f.mask = sent;
        out.push_back({prefix + ElementName(run, i), base, f, first});
    }
}

// Sent bits of a group block that no field claims, shown as their byte.
void AddUnnamed(std::vector<Entry>& out, const std::string& prefix, int base) {
    for (int r = 0; r < VKTCore::GroupBlockSize; ++r) {
        const uint8_t unnamed = SentBits(base + r) & ~VKTCore::FieldsBitsAt(VKTCore::GroupBlock::Fields, r);
        if (unnamed)
            out.push_back({prefix + "byte " + std::to_string(r), base,
                           Field{.name = "byte", .offset = r, .mask = unnamed, .encoding = VKTCore::Encoding::Digits}, base + r});
    }
}

std::vector<Entry> SentFields() {
    std::vector<Entry> out;
    for (const Field& run : VKTCore::Page0::UnitWide) Add(out, "", 0, run);
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        const std::string group = "Group " + std::to_string(g + 1) + " ";
        const int block = VKTCore::GroupBase(g);
        for (const Field& run : VKTCore::GroupBlock::Fields) Add(out, group, block, run);
        AddUnnamed(out, group, block);
        for (int c = 0; c < VKTCore::ChannelCount; ++c) {
            const std::string ch = group + "Ch " + std::to_string(c + 1) + " ";
            for (const Field& f : VKTCore::ChannelSlot::Fields) Add(out, ch, VKTCore::ChannelSlotAddress(g, c), f);
            Add(out, ch, VKTCore::LabelSlotAddress(g, c), VKTCore::LabelSlot::Label);
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
    return out;
}

std::string Text(const Image& image, const Entry& e) {
    const std::string text = VKTCore::FieldText(image, e.base, e.field);
    return e.field.encoding == VKTCore::Encoding::Label ? "\"" + text + "\"" : text;
}

} // namespace

std::vector<FieldDifference> CompareSetups(const Image& first, const Image& second, bool unitWide) {
    static const std::vector<Entry> fields = SentFields();
    std::vector<FieldDifference> out;
    for (const Entry& e : fields)
        if ((unitWide || e.base != 0) && VKTCore::ReadField(first, e.base, e.field) != VKTCore::ReadField(second, e.base, e.field))
            out.push_back({e.name, Text(first, e), Text(second, e)});
    return out;
}

} // namespace VKTCom
