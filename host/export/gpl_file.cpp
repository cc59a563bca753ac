#include "host/export/gpl_file.h"

#include "host/export/swatch_sheet.h"

#include <algorithm>
#include <cstdio>

namespace host {

std::string GplFile(const PaletteExport& palette) {
    const std::size_t count = palette.palette.size();
    std::string text = "GIMP Palette\nName: " + PaletteTitle(palette) + "\n";
    // GIMP shows the colours in as many columns as the rollout's swatches.
    text += "Columns: " + std::to_string(std::min<std::size_t>(count, kSwatchColumns)) + "\n";
    text += "# " + std::to_string(count) + " colours extracted by chromasift; each name gives the colour's\n";
    text += "# share of the " + std::to_string(palette.samples) + " samples taken from the image.\n";
    for (std::size_t i = 0; i < count; ++i) {
        const PaletteEntry& e = palette.palette[i];
        char rgb[16];
        std::snprintf(rgb, sizeof rgb, "%3u %3u %3u\t", Byte8(e.red), Byte8(e.green), Byte8(e.blue));
        text += rgb + ColourName(palette, i) + "\n";
    }
    return text;
}

} // namespace host
