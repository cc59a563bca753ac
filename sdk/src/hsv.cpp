#include "hostsdk/hsv.h"

#include <algorithm>
#include <cmath>

Color RGBtoHSV(Color rgb) {
    const float maxChannel = std::max({rgb.r, rgb.g, rgb.b});
    const float minChannel = std::min({rgb.r, rgb.g, rgb.b});
    const float spread = maxChannel - minChannel;
    if (maxChannel <= 0.0f || spread <= 0.0f)
        return Color(0.0f, 0.0f, std::max(maxChannel, 0.0f));

    float sextant;
    if (rgb.r == maxChannel)
        sextant = (rgb.g - rgb.b) / spread;
    else if (rgb.g == maxChannel)
        sextant = 2.0f + (rgb.b - rgb.r) / spread;
    else
        sextant = 4.0f + (rgb.r - rgb.g) / spread;
    float hue = sextant / 6.0f;
    if (hue < 0.0f)
        hue += 1.0f;
    if (hue >= 1.0f)
        hue -= 1.0f;
    return Color(hue, spread / maxChannel, maxChannel);
}

Color HSVtoRGB(Color hsv) {
    const float value = hsv.b;
    const float saturation = hsv.g;
    if (saturation <= 0.0f)
        return Color(value, value, value);

    // Hues beyond 0..1 wrap around the circle. A hue of no number (NaN, or an infinity, whose wrap is NaN)
    // has no sextant and converting it to an integer is undefined: it takes the first, and the NaN carries
    // into the channels.
    const float hue = hsv.r - std::floor(hsv.r);
    const float scaled = hue * 6.0f;
    const int sextant = scaled >= 0.0f ? std::min(static_cast<int>(scaled), 5) : 0;
    const float fraction = scaled - static_cast<float>(sextant);
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - saturation * fraction);
    const float t = value * (1.0f - saturation * (1.0f - fraction));
    switch (sextant) {
    case 0:
        return Color(value, t, p);
    case 1:
        return Color(q, value, p);
    case 2:
        return Color(p, value, t);
    case 3:
        return Color(p, q, value);
    case 4:
        return Color(t, p, value);
    default:
        return Color(value, p, q);
    }
}
