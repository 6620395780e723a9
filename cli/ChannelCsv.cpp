#include "cli/ChannelCsv.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "core/ChannelCodes.h"
#include "core/MemoryMap.h"
#include "core/Text.h"

namespace vktcli {

using VKTCore::Image;

namespace {

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

// Splits one CSV line; quotes protect commas and spaces.
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) out.emplace_back();
        else if (c != '\r') out.back() += c;
    }
    return out;
}

namespace CS = VKTCore::ChannelSlot;
namespace GB = VKTCore::GroupBlock;

int Flag(const Image& im, int g, const VKTCore::Field& flags, int c) {
    return static_cast<int>(VKTCore::ReadField(im, VKTCore::GroupBase(g), flags[c]));
}

// A frequency the grid would take: none (0), or a channel step within 136 ... 174 MHz.
std::optional<uint16_t> CheckedFrequency(const std::string& text, std::string& why) {
    if (!vkt::IsNumeric(text)) { why = "frequency \"" + text + "\" is not a number"; return std::nullopt; }
    const double mhz = vkt::Val(text);
    if (mhz == 0) return uint16_t{0};
    const double hz = std::round(mhz * 1e6);
    if (std::fabs(hz - mhz * 1e6) > 1e-3 || (std::fmod(hz, 2500) != 0 && std::fmod(hz, 6250) != 0)) {
        why = "frequency " + text + " is not on a 2.5 or 6.25 kHz channel step";
        return std::nullopt;
    }
    if (mhz < 136 || mhz > 174) { why = "frequency " + text + " is outside 136 ... 174 MHz"; return std::nullopt; }
    return VKTCore::FreqTextToSteps(text);
}

} // namespace

std::string ExportCsv(const Image& im) {
    std::ostringstream out;
    out << CsvHeader << "\n";
    for (int g = 0; g < VKTCore::GroupCount; ++g) {
        for (int c = 0; c < VKTCore::ChannelCount; ++c) {
            const int slot = VKTCore::ChannelSlotAddress(g, c);
            auto text = [&](const VKTCore::Field& f) { return VKTCore::FieldText(im, slot, f); };
            out << g + 1 << "," << c + 1 << "," << text(CS::RxFreq) << "," << text(CS::TxFreq) << "," << text(CS::RxCG) << ","
                << text(CS::TxCG) << "," << Quote(VKTCore::FieldText(im, VKTCore::LabelSlotAddress(g, c), VKTCore::LabelSlot::Label))
                << "," << Flag(im, g, GB::Scan, c) << "," << Flag(im, g, GB::Narrow, c) << "," << Flag(im, g, GB::LowPower, c) << "\n";
        }
    }
    return out.str();
}

bool ImportCsv(const std::string& csv, Image& image, std::string& error) {
    struct Row { int g, c; uint16_t rx, tx, rxcg, txcg; VKTCore::LabelCodes label; int scan, narrow, low; };
    std::vector<Row> rows;
    std::istringstream in(csv);
    std::string line;
    int number = 0;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        if (line.empty() || line == "\r") continue;
        ++number;
        const auto f = SplitCsv(line);
        auto bad = [&](const std::string& why) {
            error = "row " + std::to_string(number) + ": " + why;
            return false;
        };
        if (f.size() != 10) return bad("expected 10 fields, found " + std::to_string(f.size()));
        Row r{};
        r.g = vkt::ToInt(vkt::Val(f[0])) - 1;
        r.c = vkt::ToInt(vkt::Val(f[1])) - 1;
        if (!vkt::IsNumeric(f[0]) || r.g < 0 || r.g >= VKTCore::GroupCount) return bad("group \"" + f[0] + "\" is not 1 ... 15");
        if (!vkt::IsNumeric(f[1]) || r.c < 0 || r.c >= VKTCore::ChannelCount) return bad("channel \"" + f[1] + "\" is not 1 ... 16");
        std::string why;
        const auto rx = CheckedFrequency(f[2], why);
        if (!rx) return bad(why);
        const auto tx = CheckedFrequency(f[3], why);
        if (!tx) return bad(why);
        const auto rxcg = VKTCore::CGTextToCode(f[4]);
        if (!rxcg) return bad("channel guard \"" + f[4] + "\" is neither a tone (088.5) nor a code (D023, D023-)");
        const auto txcg = VKTCore::CGTextToCode(f[5]);
        if (!txcg) return bad("channel guard \"" + f[5] + "\" is neither a tone (088.5) nor a code (D023, D023-)");
        if (vkt::CharCount(f[6]) > 8 || !VKTCore::LabelEncodable(f[6]))
            return bad("label \"" + f[6] + "\" has more than 8 characters or one the radio cannot show");
        for (int k = 7; k <= 9; ++k)
            if (f[static_cast<size_t>(k)] != "0" && f[static_cast<size_t>(k)] != "1") return bad("flag \"" + f[static_cast<size_t>(k)] + "\" is not 0 or 1");
        r.rx = *rx;
        r.tx = *tx;
        r.rxcg = *rxcg;
        r.txcg = *txcg;
        r.label = VKTCore::EncodeLabel(f[6]);
        r.scan = f[7] == "1";
        r.narrow = f[8] == "1";
        r.low = f[9] == "1";
        rows.push_back(r);
    }
    for (const Row& r : rows) {
        const int slot = VKTCore::ChannelSlotAddress(r.g, r.c);
        VKTCore::WriteField(image, slot, CS::RxFreq, r.rx);
        VKTCore::WriteField(image, slot, CS::RxCG, r.rxcg);
        VKTCore::WriteField(image, slot, CS::TxFreq, r.tx);
        VKTCore::WriteField(image, slot, CS::TxCG, r.txcg);
        std::copy(r.label.begin(), r.label.end(), image.begin() + VKTCore::LabelSlotAddress(r.g, r.c) + VKTCore::LabelSlot::Label.offset);
        const int block = VKTCore::GroupBase(r.g);
        VKTCore::WriteField(image, block, GB::Scan[r.c], static_cast<uint64_t>(r.scan));
        VKTCore::WriteField(image, block, GB::Narrow[r.c], static_cast<uint64_t>(r.narrow));
        VKTCore::WriteField(image, block, GB::LowPower[r.c], static_cast<uint64_t>(r.low));
    }
    return true;
}

} // namespace vktcli
