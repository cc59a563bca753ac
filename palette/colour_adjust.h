#pragma once

#include "palette/palette_entry.h"

#include "hostsdk/color.h"

#include <cstdint>
#include <cstring>

// The shade-time alterations of a palette colour: "Gamma" (0.1 to 10 on the rollout) and the hue,
// saturation and value factors (1 to 100 on the rollout, meaning n / 100). The defaults change nothing but
// rounding.
struct ColourAdjustment {
    float gamma = 1.0f;
    int32_t hueAlteration = 100;
    int32_t saturationAlteration = 100;
    int32_t valueAlteration = 100;
};

// The entry's colour raised to the power gamma (values above 1 darken), then its HSV components scaled by
// the factors; alpha is 1. The entry's own alpha is not used. Nothing is clamped: within the rollout's
// ranges every value stays within 0..1, and values a scene or script sets beyond them go through the same
// formulas (a gamma below 0 makes black infinite, factors above 1 carry hues round the circle).
AColor AdjustPaletteColour(const PaletteEntry& entry, const ColourAdjustment& adjustment);

// Whether two adjustments are the same in every bit (a NaN gamma matches itself).
inline bool SameAdjustment(const ColourAdjustment& a, const ColourAdjustment& b) {
    static_assert(sizeof(ColourAdjustment) == 16, "four 32-bit fields, no padding");
    return std::memcmp(&a, &b, sizeof(ColourAdjustment)) == 0;
}
