// Writes a large photograph-like JPEG for the big-image comparison: a test image scaled up bilinearly to
// WIDTH x HEIGHT with a little fixed pseudo-random grain (so the file is about as dense as a camera's),
// encoded by stb_image_write at quality 95. The same arguments always give the same bytes.
//
//   make_big_jpeg SOURCE OUT.jpg [WIDTH HEIGHT]     (default 6000 x 4000, 24 megapixels)
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A grain of -6..6 levels that depends only on the pixel and the channel.
int Grain(std::uint32_t x, std::uint32_t y, std::uint32_t channel) {
    std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ channel * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return static_cast<int>(h % 13) - 6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: make_big_jpeg SOURCE OUT.jpg [WIDTH HEIGHT]\n");
        return 2;
    }
    const int width = argc == 5 ? std::atoi(argv[3]) : 6000;
    const int height = argc == 5 ? std::atoi(argv[4]) : 4000;
    int sw = 0, sh = 0, channels = 0;
    unsigned char* source = stbi_load(argv[1], &sw, &sh, &channels, 3);
    if (source == nullptr || width <= 0 || height <= 0) {
        std::fprintf(stderr, "make_big_jpeg: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> out(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        // Integer fixed point (8 fractional bits), so the output never depends on float rounding.
        const long fy = std::max(0L, (static_cast<long>(y) * 2 + 1) * sh * 128 / height - 128);
        const int y0 = std::min(static_cast<int>(fy >> 8), sh - 1), y1 = std::min(y0 + 1, sh - 1);
        const int wy = static_cast<int>(fy & 255);
        for (int x = 0; x < width; ++x) {
            const long fx = std::max(0L, (static_cast<long>(x) * 2 + 1) * sw * 128 / width - 128);
            const int x0 = std::min(static_cast<int>(fx >> 8), sw - 1), x1 = std::min(x0 + 1, sw - 1);
            const int wx = static_cast<int>(fx & 255);
            for (int c = 0; c < 3; ++c) {
                const auto at = [&](int px, int py) {
                    return source[(static_cast<std::size_t>(py) * sw + px) * 3 + c];
                };
                const int top = at(x0, y0) * (256 - wx) + at(x1, y0) * wx;
                const int bottom = at(x0, y1) * (256 - wx) + at(x1, y1) * wx;
                const int value = ((top * (256 - wy) + bottom * wy) >> 16) + Grain(x, y, c);
                out[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
                    static_cast<unsigned char>(std::clamp(value, 0, 255));
            }
        }
    }
    stbi_image_free(source);
    if (!stbi_write_jpg(argv[2], width, height, 3, out.data(), 95)) {
        std::fprintf(stderr, "make_big_jpeg: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
