#pragma once

#include <cstdint>
#include <vector>

// One palette colour. Channels are 16-bit fixed point (value × 65535, truncated); hue, saturation and
// value are the HSV triple of those channels scaled by 65535. The field order is part of the record.
struct PaletteEntry {
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
    uint16_t alpha = 0;
    int32_t hue = 0;
    int32_t saturation = 0;
    int32_t value = 0;
    uint32_t count = 0;   // grid samples whose cluster centre quantised to this colour
    uint8_t sortMode = 0; // the autosort mode whose ordering this entry follows; 0 from extraction

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// Ordered list of entries with value semantics: the working palette and the palette as extracted.
using Palette = std::vector<PaletteEntry>;

// The four channels as one 64-bit key, red in the most significant 16 bits.
constexpr uint64_t ColourKey(const PaletteEntry& entry) {
    return (uint64_t{entry.red} << 48) | (uint64_t{entry.green} << 32) | (uint64_t{entry.blue} << 16) |
           uint64_t{entry.alpha};
}
