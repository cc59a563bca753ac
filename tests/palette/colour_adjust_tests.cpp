#include "palette/colour_adjust.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

PaletteEntry Entry(uint16_t red, uint16_t green, uint16_t blue) {
    PaletteEntry entry;
    entry.red = red;
    entry.green = green;
    entry.blue = blue;
    entry.alpha = 0; // never used
    return entry;
}

} // namespace

TEST(ColourAdjust, DefaultsKeepTheColour) {
    const AColor colour = AdjustPaletteColour(Entry(13107, 39321, 52428), ColourAdjustment{});
    EXPECT_NEAR(colour.r, 0.2f, 1e-6f);
    EXPECT_NEAR(colour.g, 0.6f, 1e-6f);
    EXPECT_NEAR(colour.b, 0.8f, 1e-6f);
    EXPECT_EQ(colour.a, 1.0f);
}

TEST(ColourAdjust, GammaIsTheExponent) {
    ColourAdjustment adjustment;
    adjustment.gamma = 2.0f;
    // Channels near 0.5 come out near 0.25: the colour is raised to the power, not to its inverse.
    const float half = 32768.0f / 65535.0f;
    const AColor darker = AdjustPaletteColour(Entry(32768, 32768, 32768), adjustment);
    EXPECT_NEAR(darker.r, half * half, 1e-6f);
    EXPECT_NEAR(darker.b, half * half, 1e-6f);
}

TEST(ColourAdjust, AlterationsScaleHueSaturationAndValue) {
    ColourAdjustment hue;
    hue.hueAlteration = 50; // blue at 240 degrees turns to green at 120
    const AColor green = AdjustPaletteColour(Entry(0, 0, 65535), hue);
    EXPECT_NEAR(green.r, 0.0f, 1e-6f);
    EXPECT_NEAR(green.g, 1.0f, 1e-6f);
    EXPECT_NEAR(green.b, 0.0f, 1e-6f);
    // Blue alone cannot tell halving from doubling (480 wraps to 120): green at 120 goes to yellow at 60.
    const AColor yellow = AdjustPaletteColour(Entry(0, 65535, 0), hue);
    EXPECT_NEAR(yellow.r, 1.0f, 1e-6f);
    EXPECT_NEAR(yellow.g, 1.0f, 1e-6f);
    EXPECT_NEAR(yellow.b, 0.0f, 1e-6f);

    ColourAdjustment saturation;
    saturation.saturationAlteration = 1;
    const AColor washed = AdjustPaletteColour(Entry(65535, 0, 0), saturation);
    EXPECT_NEAR(washed.g, 0.99f, 1e-6f); // saturation 0.01 of a full red
    EXPECT_EQ(washed.r, 1.0f);

    ColourAdjustment value;
    value.valueAlteration = 25;
    const AColor dim = AdjustPaletteColour(Entry(65535, 65535, 65535), value);
    EXPECT_NEAR(dim.r, 0.25f, 1e-6f);
    EXPECT_NEAR(dim.g, 0.25f, 1e-6f);
}

// Scenes and scripts can set what the spinners cannot; the same formulas apply, nothing is clamped.
TEST(ColourAdjust, ValuesBeyondTheSpinnersFollowTheFormulas) {
    const PaletteEntry grey = Entry(32768, 32768, 32768), blue = Entry(0, 0, 65535);
    const float half = 32768 / 65535.0f, low = std::pow(half, 0.05f), high = std::pow(half, 12.0f);
    const struct {
        const char* what;
        PaletteEntry entry;
        ColourAdjustment adjustment;
        float r, g, b;
    } rows[] = {
        {"gamma 0.05", grey, {0.05f, 100, 100, 100}, low, low, low},
        {"gamma 12", grey, {12.0f, 100, 100, 100}, high, high, high},
        {"gamma 0", grey, {0.0f, 100, 100, 100}, 1.0f, 1.0f, 1.0f},
        {"gamma -1", grey, {-1.0f, 100, 100, 100}, 1.0f / half, 1.0f / half, 1.0f / half},
        // Blue is hue 2/3: factors above 1 carry the hue past one turn, where it wraps.
        {"hue 125: magenta", blue, {1.0f, 125, 100, 100}, 1.0f, 0.0f, 1.0f},
        {"value 150", blue, {1.0f, 100, 100, 150}, 0.0f, 0.0f, 1.5f},
        {"value -50", blue, {1.0f, 100, 100, -50}, 0.0f, 0.0f, -0.5f},
        {"no saturation: grey at the value", blue, {1.0f, 100, 0, 100}, 1.0f, 1.0f, 1.0f},
    };
    for (const auto& row : rows) {
        const AColor c = AdjustPaletteColour(row.entry, row.adjustment);
        EXPECT_NEAR(c.r, row.r, 1e-5f) << row.what;
        EXPECT_NEAR(c.g, row.g, 1e-5f) << row.what;
        EXPECT_NEAR(c.b, row.b, 1e-5f) << row.what;
    }
}
