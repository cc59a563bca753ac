#include "palette/palette_sort.h"

#include <algorithm>

bool SortsBefore(const PaletteEntry& a, const PaletteEntry& b) {
    switch (static_cast<SortMode>(a.sortMode)) {
    case SortMode::Count:
        return a.count > b.count;
    case SortMode::Colour:
        return a.hue < b.hue;
    case SortMode::Luminance:
        return a.value < b.value;
    case SortMode::ColourInverse:
        return a.hue > b.hue;
    case SortMode::LuminanceInverse:
        return a.value > b.value;
    }
    return false;
}

void AutoSortPalette(Palette& palette, int32_t mode) {
    if (palette.empty())
        return;
    for (PaletteEntry& entry : palette)
        entry.sortMode = static_cast<uint8_t>(mode);
    std::stable_sort(palette.begin(), palette.end(), SortsBefore);
}
