#include "ui/banner/banner_picture.h"

#include "host/draw/font.h"

#include <array>
#include <cstdint>

namespace {

using host::Rgba8;

// A palette such as the map draws from a photograph: warm to cool, light and dark.
constexpr std::array<Rgba8, 12> kBand = {{
    {0x8c, 0x2f, 0x39, 255},
    {0xc8, 0x4b, 0x31, 255},
    {0xe9, 0x8a, 0x3c, 255},
    {0xf2, 0xc1, 0x4e, 255},
    {0xe8, 0xdc, 0xa8, 255},
    {0x9b, 0xc5, 0x3d, 255},
    {0x4f, 0x9d, 0x69, 255},
    {0x2a, 0x7f, 0x8f, 255},
    {0x3d, 0x5a, 0xa6, 255},
    {0x5c, 0x3c, 0x92, 255},
    {0x9a, 0x4c, 0x95, 255},
    {0x3a, 0x32, 0x2e, 255},
}};

constexpr int kBandTop = 62;
constexpr int kBandHeight = 10;

std::uint8_t Mix(int from, int to, int step, int steps) {
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

} // namespace

host::Canvas DrawBanner() {
    host::Canvas canvas(kBannerWidth, kBannerHeight, Rgba8{0, 0, 0, 255});
    // A dark ground, a shade lighter at the top.
    for (int y = 0; y < kBannerHeight; ++y)
        canvas.FillRect(0, y, kBannerWidth, 1,
                        Rgba8{Mix(52, 22, y, kBannerHeight), Mix(54, 23, y, kBannerHeight),
                              Mix(64, 28, y, kBannerHeight), 255});

    const host::Font& font = host::Font::Default();
    font.Draw(canvas, 14, 6, "KR Chromasift", 32.0f, Rgba8{255, 255, 255, 255});
    font.Draw(canvas, 16, 42, "KR Tintworks by KESTRIM", 13.0f, Rgba8{176, 182, 196, 255});

    // The band: one cell a colour, across the whole width.
    const int count = static_cast<int>(kBand.size());
    for (int i = 0; i < count; ++i) {
        const int left = i * kBannerWidth / count;
        const int right = (i + 1) * kBannerWidth / count;
        canvas.FillRect(left, kBandTop, right - left, kBandHeight, kBand[static_cast<std::size_t>(i)]);
    }
    return canvas;
}
