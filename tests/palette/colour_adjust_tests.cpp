#include "palette/colour_adjust.h"

#include <gtest/gtest.h>

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
