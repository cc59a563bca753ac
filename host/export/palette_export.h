#pragma once

// The palette the command exports, and what every export format shares: 8-bit colours, shares and names.
#include "palette/palette_entry.h"

#include <cstdint>
#include <string>

namespace host {

// A palette with what it was extracted from, as plain data for the writers.
struct PaletteExport {
    std::string source; // the image as the user named it, or "built-in picture"
    int imageWidth = 0;
    int imageHeight = 0;
    int gridColumns = 0;
    int gridRows = 0;
    int iterations = 0;        // k-means passes
    std::uint64_t samples = 0; // samples of the grid: each colour's share is its count over these
    Palette palette;
};

// A 16-bit channel as the nearest 8-bit level.
std::uint8_t Byte8(std::uint16_t channel);
// "#rrggbb" of an entry's 8-bit colour.
std::string HexColour(const PaletteEntry& entry);
// The entry's share of the samples, "23.4%"; "0.0%" when there are no samples.
std::string SharePercent(const PaletteEntry& entry, std::uint64_t samples);
// The name a palette file gives colour `index` (from 0): "Chromasift 1 (23.4%)".
std::string ColourName(const PaletteExport& palette, std::size_t index);
// The palette's own name, from the image's file name without its folders: "Chromasift Silk.png".
std::string PaletteTitle(const PaletteExport& palette);

} // namespace host
