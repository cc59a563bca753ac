#include "host/draw/canvas.h"

#include "host/draw/png_file.h"

#include <algorithm>
#include <stdexcept>

namespace host {

namespace {

// Larger canvases than this are refused before any allocation: 16384 x 16384 pixels, 1 GiB of bytes.
constexpr int kMaxCanvasSide = 16384;

} // namespace

Canvas::Canvas(int width, int height, Rgba8 background) : width(width), height(height) {
    if (width < 0 || height < 0 || width > kMaxCanvasSide || height > kMaxCanvasSide)
        throw std::length_error("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                                " pixels is too large");
    rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    FillRect(0, 0, width, height, background);
}

Rgba8 Canvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Canvas::FillRect(int x, int y, int w, int h, Rgba8 colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + std::max(w, 0), width), y1 = std::min(y + std::max(h, 0), height);
    for (int row = y0; row < y1; ++row) {
        std::uint8_t* p = &rgba[(static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + x0) * 4];
        for (int column = x0; column < x1; ++column, p += 4) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
            p[3] = colour.a;
        }
    }
}

void Canvas::Blend(int x, int y, Rgba8 colour, int coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0)
        return;
    coverage = std::min(coverage, 255);
    std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
    const auto mix = [coverage](int under, int over) {
        return static_cast<std::uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
    };
    p[0] = mix(p[0], colour.r);
    p[1] = mix(p[1], colour.g);
    p[2] = mix(p[2], colour.b);
    p[3] = mix(p[3], colour.a);
}

void Canvas::Paste(int x, int y, int w, int h, const std::vector<std::uint8_t>& pictureRgba) {
    if (w <= 0 || h <= 0 ||
        pictureRgba.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4)
        return;
    for (int row = std::max(0, -y); row < h && y + row < height; ++row) {
        const int first = std::max(0, -x);
        const int last = std::min(w, width - x);
        if (first >= last)
            return;
        const std::uint8_t* from = &pictureRgba[(static_cast<std::size_t>(row) * w + first) * 4];
        std::uint8_t* to = &rgba[(static_cast<std::size_t>(y + row) * width + x + first) * 4];
        std::copy(from, from + static_cast<std::size_t>(last - first) * 4, to);
    }
}

void Canvas::WritePng(const std::filesystem::path& file) const {
    host::WritePng(file, width, height, rgba);
}

} // namespace host
