#pragma once

#include "palette/palette_entry.h"

#include <cstdint>

// Autosort modes ("Sorts"): the one field that orders the palette.
enum class SortMode : uint8_t {
    Count = 0,            // count, largest first
    Colour = 1,           // hue, smallest first
    Luminance = 2,        // HSV value, smallest first
    ColourInverse = 3,    // hue, largest first
    LuminanceInverse = 4, // HSV value, largest first
};

// Whether a goes before b under the mode a carries in sortMode. Modes above 4 order nothing.
bool SortsBefore(const PaletteEntry& a, const PaletteEntry& b);

// Stamps mode (its low 8 bits) into every entry's sortMode and sorts stably by that mode: entries with
// equal fields keep their order. An empty palette stays as it is.
void AutoSortPalette(Palette& palette, int32_t mode);
