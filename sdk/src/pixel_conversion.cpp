#include "pixel_conversion.h"

#include <cstdint>
#include <cstring>

namespace hostsdk::image {

namespace {

// Every channel is divided by its maximum, not multiplied by the reciprocal: the two differ in the last
// bit for many values, and results must match those of the other builds exactly.
template <typename T> void Normalise(const T* source, float maximum, std::size_t count, BMM_Color_fl* out) {
    for (std::size_t i = 0; i < count; ++i, source += 4)
        out[i] = {static_cast<float>(source[0]) / maximum, static_cast<float>(source[1]) / maximum,
                  static_cast<float>(source[2]) / maximum, static_cast<float>(source[3]) / maximum};
}

} // namespace

std::size_t PixelBytes(BitmapChannels channels) {
    switch (channels) {
    case BitmapChannels::UInt8:
        return 4 * sizeof(std::uint8_t);
    case BitmapChannels::UInt16:
        return 4 * sizeof(std::uint16_t);
    default:
        return sizeof(BMM_Color_fl);
    }
}

void ConvertPixels(BitmapChannels channels, const void* source, std::size_t count, BMM_Color_fl* out) {
    switch (channels) {
    case BitmapChannels::UInt8:
        Normalise(static_cast<const std::uint8_t*>(source), 255.0f, count, out);
        break;
    case BitmapChannels::UInt16:
        Normalise(static_cast<const std::uint16_t*>(source), 65535.0f, count, out);
        break;
    default:
        std::memcpy(out, source, count * sizeof(BMM_Color_fl));
        break;
    }
}

} // namespace hostsdk::image
