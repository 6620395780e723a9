#include "cli/SetupFields.h"

#include <functional>

#include "core/ChannelCodes.h"
#include "core/Text.h"

namespace vktcli {

using VKTCore::Image;

namespace {

struct Bits { int address; int mask; };

struct Field {
    std::string name;
    std::vector<Bits> bits;
    std::function<std::string(const Image&)> text;
};

int Byte(const Image& im, int a) { return im[static_cast<size_t>(a)]; }

Field Simple(std::string name, int address, int mask) {
    return {std::move(name), {{address, mask}}, [address, mask](const Image& im) {
                const int low = mask & -mask;
                return std::to_string((Byte(im, address) & mask) / low);
            }};
}

std::string Label(const Image& im, int address) {
    uint8_t codes[8];
    for (int i = 0; i < 8; ++i) codes[i] = static_cast<uint8_t>(Byte(im, address + i));
    return "\"" + VKTCore::DecodeLabel(codes) + "\"";
}

std::string Digits(const Image& im, int address, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += vkt::Hex2(static_cast<unsigned>(Byte(im, address + i)));
    return s;
}

std::vector<Field> BuildFields() {
    std::vector<Field> f;
    // Unit-wide settings: the bits the editor writes to page 0.
    f.push_back({"DTMF Deviation", {{7, 0xF8}}, [](const Image& im) { return vkt::NumberText(((Byte(im, 7) >> 3) & 31) * 93.75); }});
    f.push_back(Simple("ANI Rate", 7, 0x04));
    f.push_back(Simple("Front Porch Time", 7, 0x03));
    f.push_back(Simple("Global Battery Saver", 6, 0x04));
    f.push_back(Simple("Display Frequencies Only", 155, 0x80));
    f.push_back(Simple("Per Channel Power", 155, 0x40));
    f.push_back(Simple("Talk Back Scan", 155, 0x20));
    f.push_back(Simple("Nuisance Channel Delete", 155, 0x10));
    f.push_back(Simple("Priority Rate", 155, 0x07));
    f.push_back(Simple("Low Power Switch", 152, 0xE0));
    f.push_back(Simple("Channel Scan Switch", 152, 0x1C));
    f.push_back({"Priority Scan Switch", {{152, 0x03}, {153, 0x80}},
                 [](const Image& im) { return std::to_string((Byte(im, 152) & 3) * 2 + (Byte(im, 153) >> 7)); }});
    f.push_back(Simple("Repeater Talk Around Switch", 153, 0x70));
    f.push_back(Simple("Group Scan Switch", 153, 0x0E));
    for (int p = 1; p <= 16; ++p) {
        const int bit = p <= 8 ? 1 << (p - 1) : 1 << (p - 9);
        const int odd = p <= 8 ? 1 : 0;
        f.push_back({"Rotary Position " + std::to_string(p),
                     {{127 + p, 0xFF}, {144 + odd, bit}, {146 + odd, bit}, {148 + odd, bit}, {150 + odd, bit}},
                     [p, bit, odd](const Image& im) {
                         const int b = Byte(im, 127 + p);
                         auto flag = [&](int a) { return (Byte(im, a + odd) & bit) != 0; };
                         return std::string("group ") + (flag(144) ? "Global" : std::to_string((b >> 4) + 1)) +
                                (flag(148) ? " (keypad)" : "") + ", channel " + (flag(146) ? "Global" : std::to_string((b & 15) + 1)) +
                                (flag(150) ? " (keypad)" : "");
                     }});
    }
    f.push_back({"Global Group/Channel", {{255, 0xFF}},
                 [](const Image& im) { return std::to_string((Byte(im, 255) >> 4) + 1) + "/" + std::to_string((Byte(im, 255) & 15) + 1); }});

    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        const int b = VKTCore::GroupBase(g);
        const std::string group = "Group " + std::to_string(g + 1) + " ";
        // Of a group's first 32 bytes only the encode-only bit goes to the radio.
        f.push_back(Simple(group + "UCG Encode Only", b, 0x20));
        f.push_back({group + "Password", {{b + 38, 0xFF}, {b + 39, 0xFF}, {b + 40, 0xFF}}, [b](const Image& im) { return Digits(im, b + 38, 3); }});
        f.push_back({group + "ID Number", {{b + 41, 0xFF}, {b + 42, 0xFF}, {b + 43, 0xFF}, {b + 44, 0xFF}},
                     [b](const Image& im) { return Digits(im, b + 41, 4).substr(1); }});
        f.push_back({group + "Time Out Timer", {{b + 45, 0xF0}}, [b](const Image& im) { return std::to_string((Byte(im, b + 45) >> 4) * 15); }});
        f.push_back({group + "Scan Hold Time", {{b + 45, 0x0F}}, [b](const Image& im) { return vkt::FixedText((Byte(im, b + 45) & 15) * 0.5, 1); }});
        for (int pri : {1, 2})
            f.push_back({group + "Priority " + std::to_string(pri), {{b + 45 + pri, 0xFF}},
                         [b, pri](const Image& im) { return vkt::Hex2(static_cast<unsigned>(Byte(im, b + 45 + pri))); }});
        f.push_back(Simple(group + "Battery Saver Off", b + 48, 0x80));
        f.push_back(Simple(group + "Group Scan List", b + 48, 0x40));
        f.push_back(Simple(group + "Transmit on Priority 1", b + 48, 0x20));
        f.push_back(Simple(group + "Priority Key Lockout", b + 48, 0x10));
        f.push_back(Simple(group + "ENT/CLR Key Lockout", b + 48, 0x08));
        f.push_back(Simple(group + "UCG Enabled", b + 49, 0x80));
        f.push_back(Simple(group + "Busy Channel Indicator", b + 49, 0x60));
        f.push_back(Simple(group + "Resident ANI/DTMF", b + 49, 0x18));
        f.push_back(Simple(group + "Back Light", b + 50, 0x30));
        f.push_back(Simple(group + "Display Mode", b + 50, 0x08));
        f.push_back(Simple(group + "Back Light Duration", b + 50, 0x07));
        std::vector<Bits> label;
        for (int i = 0; i < 8; ++i) label.push_back({b + 51 + i, 0xFF});
        f.push_back({group + "Label", label, [b](const Image& im) { return Label(im, b + 51); }});
        // Bytes the editor does not interpret still go to the radio.
        for (int r = 32; r < 128; ++r) {
            int unnamed = r >= 59 ? 0xFF : 0;  // 32 ... 47 and 51 ... 58 are named above
            if (r == 48 || r == 49) unnamed = 0x07;
            if (r == 50) unnamed = 0xC0;
            if (unnamed) f.push_back({group + "byte " + std::to_string(r), {{b + r, unnamed}},
                                      [b, r](const Image& im) { return vkt::Hex2(static_cast<unsigned>(Byte(im, b + r))); }});
        }
        for (int c = 0; c < VKTCore::ChannelCount; ++c) {
            const std::string ch = group + "Ch " + std::to_string(c + 1) + " ";
            const int slot = VKTCore::ChannelSlotAddress(g, c);
            f.push_back({ch + "Rec Freq", {{slot, 0xFF}, {slot + 1, 0xFF}}, [slot](const Image& im) { return VKTCore::StepsToMHzText(VKTCore::WordAt(im, slot)); }});
            f.push_back({ch + "Rec CG", {{slot + 2, 0xFF}, {slot + 3, 0xFF}},
                         [slot](const Image& im) { return VKTCore::CGCodeToText(static_cast<uint16_t>(VKTCore::WordAt(im, slot + 2))); }});
            f.push_back({ch + "Tx Freq", {{slot + 4, 0xFF}, {slot + 5, 0xFF}}, [slot](const Image& im) { return VKTCore::StepsToMHzText(VKTCore::WordAt(im, slot + 4)); }});
            f.push_back({ch + "Tx CG", {{slot + 6, 0xFF}, {slot + 7, 0xFF}},
                         [slot](const Image& im) { return VKTCore::CGCodeToText(static_cast<uint16_t>(VKTCore::WordAt(im, slot + 6))); }});
            std::vector<Bits> chLabel;
            const int labelAt = VKTCore::LabelSlotAddress(g, c);
            for (int i = 0; i < 8; ++i) chLabel.push_back({labelAt + i, 0xFF});
            f.push_back({ch + "Label", chLabel, [labelAt](const Image& im) { return Label(im, labelAt); }});
            const int bit = 1 << (c % 8);
            const int odd = c < 8 ? 1 : 0;
            f.push_back(Simple(ch + "Low Power", b + 32 + odd, bit));
            f.push_back(Simple(ch + "Narrow", b + 34 + odd, bit));
            f.push_back(Simple(ch + "Scan", b + 36 + odd, bit));
        }
    }
    return f;
}

} // namespace

std::vector<FieldDifference> CompareSetups(const Image& first, const Image& second) {
    static const std::vector<Field> fields = BuildFields();
    std::vector<FieldDifference> out;
    for (const Field& f : fields) {
        bool differs = false;
        for (const Bits& b : f.bits) differs = differs || ((Byte(first, b.address) ^ Byte(second, b.address)) & b.mask) != 0;
        if (differs) out.push_back({f.name, f.text(first), f.text(second)});
    }
    return out;
}

} // namespace vktcli
