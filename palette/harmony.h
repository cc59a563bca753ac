#pragma once

#include "palette/palette_entry.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// "Color harmony" values: 0 None, then the templates i, V, L, I, T, Y and X.
constexpr int32_t kHarmonyNone = 0;
constexpr int32_t kLastHarmony = 7;

// An entry's hue in degrees: hue / 65535 × 360 in float.
float HueDegrees(const PaletteEntry& entry);

// The entry whose hue has the smallest sum of plain (not circular) distances to all hues: the median hue.
// The first of equal sums wins. The palette must not be empty.
size_t HarmonyAnchor(const Palette& palette);

// The palette harmonisation makes from the extracted palette with a template: "None" gives a copy of it;
// a template pulls every hue outside its sectors onto the nearest sector border, the anchor and entries
// inside the anchor's sector unchanged. The order stays that of the extracted palette. A value above 7
// gives nothing (the working palette stays as it is); negative values read as "None". The caller leaves
// an empty working palette alone and records "Is harmonized" itself.
std::optional<Palette> HarmonisePalette(const Palette& extractedPalette, int32_t harmony);
