#include "host/export/css_file.h"

namespace host {

std::string CssFile(const PaletteExport& palette) {
    std::string text = "/* " + PaletteTitle(palette) + ": " + std::to_string(palette.palette.size()) +
                       " colours, each with its share of the " + std::to_string(palette.samples) +
                       " samples taken from the image. */\n:root {\n";
    for (std::size_t i = 0; i < palette.palette.size(); ++i) {
        const PaletteEntry& e = palette.palette[i];
        text += "  --chromasift-" + std::to_string(i + 1) + ": " + HexColour(e) + "; /* " +
                SharePercent(e, palette.samples) + " */\n";
    }
    return text + "}\n";
}

} // namespace host
