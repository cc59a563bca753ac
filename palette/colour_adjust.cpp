#include "palette/colour_adjust.h"

#include "hostsdk/hsv.h"

#include <cmath>

namespace {

float Factor(int32_t percent) {
    return static_cast<float>(percent) / 100.0f;
}

float Channel(uint16_t channel, float gamma) {
    const float value = static_cast<float>(channel) / 65535.0f;
    // x to the power 1 is x exactly; the default gamma need not pay for powf on every sample.
    return gamma == 1.0f ? value : std::pow(value, gamma);
}

} // namespace

AColor AdjustPaletteColour(const PaletteEntry& entry, const ColourAdjustment& adjustment) {
    const Color rgb(Channel(entry.red, adjustment.gamma), Channel(entry.green, adjustment.gamma),
                    Channel(entry.blue, adjustment.gamma));
    const Color hsv = RGBtoHSV(rgb);
    const Color altered(hsv.r * Factor(adjustment.hueAlteration),
                        hsv.g * Factor(adjustment.saturationAlteration),
                        hsv.b * Factor(adjustment.valueAlteration));
    return AColor(HSVtoRGB(altered), 1.0f);
}
