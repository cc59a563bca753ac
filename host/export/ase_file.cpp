#include "host/export/ase_file.h"

#include "host/base/text.h"

#include <bit>
#include <cstdint>

namespace host {

namespace {

constexpr std::uint16_t kColourBlock = 0x0001;
constexpr std::uint16_t kGroupStart = 0xc001;
constexpr std::uint16_t kGroupEnd = 0xc002;
constexpr std::uint16_t kNormalColour = 2; // 0 global, 1 spot, 2 normal

void Put16(std::string& bytes, std::uint16_t value) {
    bytes += static_cast<char>(value >> 8);
    bytes += static_cast<char>(value & 0xff);
}

void Put32(std::string& bytes, std::uint32_t value) {
    Put16(bytes, static_cast<std::uint16_t>(value >> 16));
    Put16(bytes, static_cast<std::uint16_t>(value & 0xffff));
}

// A name as the format stores it: its length in UTF-16 code units with the terminating zero, the code units
// big-endian, then the zero.
std::string Utf16Name(const std::string& utf8) {
    std::u16string units;
    for (const wchar_t c : FromUtf8(utf8)) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code >= 0x10000) { // only where wchar_t holds whole code points
            units += static_cast<char16_t>(0xd800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xdc00 + ((code - 0x10000) & 0x3ff));
        } else {
            units += static_cast<char16_t>(code);
        }
    }
    std::string bytes;
    Put16(bytes, static_cast<std::uint16_t>(units.size() + 1));
    for (const char16_t unit : units)
        Put16(bytes, unit);
    Put16(bytes, 0);
    return bytes;
}

void PutBlock(std::string& bytes, std::uint16_t type, const std::string& body) {
    Put16(bytes, type);
    Put32(bytes, static_cast<std::uint32_t>(body.size()));
    bytes += body;
}

} // namespace

std::string AseFile(const PaletteExport& palette) {
    std::string bytes = "ASEF";
    Put16(bytes, 1); // version 1.0
    Put16(bytes, 0);
    Put32(bytes, static_cast<std::uint32_t>(palette.palette.size() + 2)); // the colours and the group's two
    PutBlock(bytes, kGroupStart, Utf16Name(PaletteTitle(palette)));
    for (std::size_t i = 0; i < palette.palette.size(); ++i) {
        const PaletteEntry& e = palette.palette[i];
        std::string body = Utf16Name(ColourName(palette, i)) + "RGB ";
        for (const std::uint16_t channel : {e.red, e.green, e.blue})
            Put32(body, std::bit_cast<std::uint32_t>(static_cast<float>(channel) / 65535.0f));
        Put16(body, kNormalColour);
        PutBlock(bytes, kColourBlock, body);
    }
    PutBlock(bytes, kGroupEnd, std::string());
    return bytes;
}

} // namespace host
