#include "palette/harmony.h"

#include "hostsdk/hsv.h"

#include <cmath>

namespace {

// Half-width of the anchor sector and the two borders of the second sector, in degrees from the anchor.
struct HarmonyTemplate {
    float halfWidth;
    bool twoSectors;
    float border1;
    float border2;
};

// Indexed by harmony value; "None" (0) has no template.
constexpr HarmonyTemplate kTemplates[kLastHarmony + 1] = {
    {0.0f, false, 0.0f, 0.0f},     // None
    {9.0f, false, 0.0f, 0.0f},     // i
    {46.8f, false, 0.0f, 0.0f},    // V
    {9.0f, true, 51.4f, 128.6f},   // L
    {9.0f, true, 171.0f, 189.0f},  // I
    {90.0f, false, 0.0f, 0.0f},    // T
    {46.8f, true, 171.0f, 189.0f}, // Y
    {46.8f, true, 133.2f, 226.8f}, // X
};

float WrapBorder(float degrees) {
    return degrees > 360.0f ? degrees - 360.0f : degrees;
}

// The hue moved onto the nearer border of the anchor sector; d0 = h - a lies outside [-w, w].
float ToAnchorBorder(float h, float d0, float w) {
    return d0 > w ? h - (d0 - w) : h - (d0 + w);
}

PaletteEntry WithHue(PaletteEntry entry, float degrees) {
    entry.hue = static_cast<int32_t>(degrees / 360.0f * 65535.0f);
    const Color rgb = HSVtoRGB(Color(static_cast<float>(entry.hue) / 65535.0f,
                                     static_cast<float>(entry.saturation) / 65535.0f,
                                     static_cast<float>(entry.value) / 65535.0f));
    entry.red = static_cast<uint16_t>(static_cast<int32_t>(rgb.r * 65535.0f));
    entry.green = static_cast<uint16_t>(static_cast<int32_t>(rgb.g * 65535.0f));
    entry.blue = static_cast<uint16_t>(static_cast<int32_t>(rgb.b * 65535.0f));
    return entry;
}

} // namespace

float HueDegrees(const PaletteEntry& entry) {
    return static_cast<float>(entry.hue) / 65535.0f * 360.0f;
}

size_t HarmonyAnchor(const Palette& palette) {
    size_t anchor = 0;
    float smallest = 0.0f;
    for (size_t e = 0; e < palette.size(); ++e) {
        const float hue = HueDegrees(palette[e]);
        float sum = 0.0f;
        for (const PaletteEntry& other : palette)
            sum += std::fabs(HueDegrees(other) - hue);
        if (e == 0 || sum < smallest) {
            smallest = sum;
            anchor = e;
        }
    }
    return anchor;
}

std::optional<Palette> HarmonisePalette(const Palette& extractedPalette, int32_t harmony) {
    if (harmony > kLastHarmony)
        return std::nullopt;
    if (harmony <= kHarmonyNone || extractedPalette.empty())
        return extractedPalette;

    const HarmonyTemplate& shape = kTemplates[harmony];
    const size_t anchor = HarmonyAnchor(extractedPalette);
    const float a = HueDegrees(extractedPalette[anchor]);
    const float w = shape.halfWidth;
    const float c1 = WrapBorder(a + shape.border1);
    const float c2 = WrapBorder(a + shape.border2);

    Palette result;
    result.reserve(extractedPalette.size());
    for (size_t e = 0; e < extractedPalette.size(); ++e) {
        const PaletteEntry& entry = extractedPalette[e];
        const float h = HueDegrees(entry);
        const float d0 = h - a;
        if (e == anchor || (-w <= d0 && d0 <= w)) {
            result.push_back(entry);
            continue;
        }
        if (!shape.twoSectors) {
            result.push_back(WithHue(entry, ToAnchorBorder(h, d0, w)));
            continue;
        }
        const float d1 = h - c1;
        const float d2 = h - c2;
        float moved;
        if (std::fabs(d0) <= std::fabs(d1) && std::fabs(d0) <= std::fabs(d2))
            moved = ToAnchorBorder(h, d0, w);
        else if (std::fabs(d1) < std::fabs(d2))
            moved = h - d1;
        else
            moved = h - d2;
        result.push_back(WithHue(entry, moved));
    }
    return result;
}
