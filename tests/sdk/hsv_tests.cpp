// The palette's tests convert every colour they extract; here the hues they never reach.
#include "hostsdk/hsv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(HSV, HuesStayWithinOneTurn) {
    const Color yellowGreen = HSVtoRGB(Color(0.25f, 1.0f, 1.0f));
    for (const float hue : {1.25f, -0.75f, 3.25f})
        EXPECT_EQ(HSVtoRGB(Color(hue, 1.0f, 1.0f)), yellowGreen) << hue;
    // A blue this small puts red's hue a rounding step below a whole turn: it wraps to 0, never to 1.
    EXPECT_EQ(RGBtoHSV(Color(1.0f, 0.0f, 1e-8f)).r, 0.0f);
    for (const float hue : {std::nanf(""), std::numeric_limits<float>::infinity()})
        EXPECT_TRUE(std::isnan(HSVtoRGB(Color(hue, 1.0f, 1.0f)).g)) << hue;
}

} // namespace
