#include "host/export/palette_export.h"

#include <cstdio>

namespace host {

std::uint8_t Byte8(std::uint16_t channel) {
    // channel * 255 / 65535 is channel / 257; 257 is odd, so no channel lies halfway between two levels.
    return static_cast<std::uint8_t>((channel + 128u) / 257u);
}

std::string HexColour(const PaletteEntry& entry) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", Byte8(entry.red), Byte8(entry.green),
                  Byte8(entry.blue));
    return text;
}

std::string SharePercent(const PaletteEntry& entry, std::uint64_t samples) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%",
                  samples > 0 ? 100.0 * static_cast<double>(entry.count) / static_cast<double>(samples)
                              : 0.0);
    return text;
}

std::string ColourName(const PaletteExport& palette, std::size_t index) {
    return "Chromasift " + std::to_string(index + 1) + " (" +
           SharePercent(palette.palette[index], palette.samples) + ")";
}

std::string PaletteTitle(const PaletteExport& palette) {
    const std::size_t slash = palette.source.find_last_of("/\\");
    std::string name = slash == std::string::npos ? palette.source : palette.source.substr(slash + 1);
    // Every format keeps the title on one line.
    for (char& c : name)
        if (c == '\n' || c == '\r')
            c = ' ';
    return "Chromasift " + name;
}

} // namespace host
