#include "host/export/palette_table.h"

#include <cstdio>

namespace host {

std::string PaletteTable(const PaletteExport& palette, bool colour) {
    std::string text = palette.source + ": " + std::to_string(palette.imageWidth) + " x " +
                       std::to_string(palette.imageHeight) + " pixels, sampled " +
                       std::to_string(palette.gridColumns) + " x " + std::to_string(palette.gridRows) +
                       ", k-means passes: " + std::to_string(palette.iterations) + "\n";
    text += colour ? "       " : "";
    text += "  #   colour     red  green   blue  alpha    hue    sat  value   count\n";
    for (std::size_t i = 0; i < palette.palette.size(); ++i) {
        const PaletteEntry& e = palette.palette[i];
        if (colour)
            text += "\x1b[48;2;" + std::to_string(Byte8(e.red)) + ";" + std::to_string(Byte8(e.green)) + ";" +
                    std::to_string(Byte8(e.blue)) + "m      \x1b[0m ";
        char line[160];
        std::snprintf(line, sizeof line, "%3zu  %s  %5u  %5u  %5u  %5u  %5d  %5d  %5d  %6u (%s)\n", i,
                      HexColour(e).c_str(), e.red, e.green, e.blue, e.alpha, e.hue, e.saturation, e.value,
                      e.count, SharePercent(e, palette.samples).c_str());
        text += line;
    }
    if (palette.palette.empty())
        text += "(empty palette)\n";
    return text;
}

} // namespace host
