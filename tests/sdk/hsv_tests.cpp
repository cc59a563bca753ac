#include "hostsdk/hsv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(HSV, HexconeConversionsOfKnownColours) {
    const Color red = RGBtoHSV(Color(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(red, Color(0.0f, 1.0f, 1.0f));
    const Color cyan = RGBtoHSV(Color(0.0f, 0.5f, 0.5f));
    EXPECT_FLOAT_EQ(cyan.r, 0.5f);
    EXPECT_FLOAT_EQ(cyan.g, 1.0f);
    EXPECT_FLOAT_EQ(cyan.b, 0.5f);
    // Hues just below red wrap into [0, 1), never to 1.
    const Color magentaRed = RGBtoHSV(Color(1.0f, 0.0f, 0.01f));
    EXPECT_GT(magentaRed.r, 0.99f);
    EXPECT_LT(magentaRed.r, 1.0f);
    // Greys have hue 0 and saturation 0.
    EXPECT_EQ(RGBtoHSV(Color(0.3f, 0.3f, 0.3f)), Color(0.0f, 0.0f, 0.3f));
    EXPECT_EQ(RGBtoHSV(Color(0.0f, 0.0f, 0.0f)), Color(0.0f, 0.0f, 0.0f));
}

TEST(HSV, RoundTripsEveryPrimaryAndSecondary) {
    const Color colours[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0},         {0, 1, 1},
                             {0, 0, 1}, {1, 0, 1}, {0.2f, 0.4f, 0.6f}};
    for (const Color& c : colours) {
        const Color back = HSVtoRGB(RGBtoHSV(c));
        EXPECT_NEAR(back.r, c.r, 1e-6f);
        EXPECT_NEAR(back.g, c.g, 1e-6f);
        EXPECT_NEAR(back.b, c.b, 1e-6f);
    }
    // A hue of exactly one turn is the same as zero.
    EXPECT_EQ(HSVtoRGB(Color(1.0f, 1.0f, 1.0f)), HSVtoRGB(Color(0.0f, 1.0f, 1.0f)));
}

TEST(HSV, HuesBeyondOneTurnWrapAndHuesOfNoNumberGiveNoNumber) {
    const Color yellowGreen = HSVtoRGB(Color(0.25f, 1.0f, 1.0f));
    EXPECT_EQ(HSVtoRGB(Color(1.25f, 1.0f, 1.0f)), yellowGreen);
    EXPECT_EQ(HSVtoRGB(Color(-0.75f, 1.0f, 1.0f)), yellowGreen);
    EXPECT_EQ(HSVtoRGB(Color(1e30f, 1.0f, 0.5f)), Color(0.5f, 0.0f, 0.0f))
        << "a whole number of turns is red";
    for (const float hue : {std::nanf(""), std::numeric_limits<float>::infinity()}) {
        const Color c = HSVtoRGB(Color(hue, 1.0f, 1.0f));
        EXPECT_TRUE(std::isnan(c.g)) << hue << " gives " << c.r << " " << c.g << " " << c.b;
    }
}

} // namespace
