// SPDX-License-Identifier: GPL-3.0-or-later
// make-icon OUT.ico PICTURE.png ...: a Windows icon holding the PNG pictures
// as they are, which Windows reads since Vista; the program's resources take
// its icon from it.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void Put16(std::string& out, unsigned v) { out += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A PNG's width and height are big-endian at bytes 16 and 20, in its IHDR.
uint32_t BigEndian(const std::string& png, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
    return v;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> pictures;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        pictures.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (pictures.back().size() < 24 || pictures.back().compare(1, 3, "PNG") != 0 || BigEndian(pictures.back(), 16) > 256) {
            std::cerr << "make-icon: " << argv[i] << " is no PNG of at most 256 pixels\n";
            return 1;
        }
    }
    if (argc < 3) {
        std::cerr << "usage: make-icon OUT.ico PICTURE.png ...\n";
        return 2;
    }
    std::string icon;
    Put16(icon, 0);
    Put16(icon, 1);  // an icon, not a cursor
    Put16(icon, static_cast<unsigned>(pictures.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * pictures.size());
    for (const std::string& png : pictures) {
        // 256 is written as 0.
        icon += static_cast<char>(BigEndian(png, 16) & 0xFF);
        icon += static_cast<char>(BigEndian(png, 20) & 0xFF);
        icon += std::string(2, '\0');  // no palette
        Put16(icon, 1);
        Put16(icon, 32);
        Put32(icon, static_cast<uint32_t>(png.size()));
        Put32(icon, offset);
        offset += static_cast<uint32_t>(png.size());
    }
    for (const std::string& png : pictures) icon += png;
    std::ofstream out(argv[1], std::ios::binary);
    out << icon;
    return out.good() ? 0 : 1;
}
