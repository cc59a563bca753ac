#include "palette/sample_grid.h"

#include <algorithm>

namespace {

constexpr uint64_t kMostSamples = 0x10000;
constexpr uint32_t kLongSideSamples = 256;

float ClampChannel(float value) {
    if (!(value > 0.0f)) // NaN too
        return 0.0f;
    return value < 1.0f ? value : 1.0f;
}

} // namespace

int GridLayout::PixelX(uint32_t column) const {
    return everyPixel ? static_cast<int>(column) : static_cast<int>(static_cast<float>(column) * stepX);
}

int GridLayout::PixelY(uint32_t row) const {
    return everyPixel ? static_cast<int>(row) : static_cast<int>(static_cast<float>(row) * stepY);
}

GridLayout LayoutSampleGrid(uint32_t width, uint32_t height) {
    GridLayout layout;
    if (uint64_t{width} * height <= kMostSamples) {
        layout.columns = width;
        layout.rows = height;
        return layout;
    }
    layout.everyPixel = false;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float longSide = static_cast<float>(kLongSideSamples);
    if (width > height) {
        layout.columns = kLongSideSamples;
        layout.rows = static_cast<uint32_t>(h * longSide / w);
    } else {
        layout.rows = kLongSideSamples;
        layout.columns = static_cast<uint32_t>(w * longSide / h);
    }
    // A grid with no rows or columns has no samples; its steps are never used.
    if (layout.columns > 0 && layout.rows > 0) {
        layout.stepX = w / static_cast<float>(layout.columns);
        layout.stepY = h / static_cast<float>(layout.rows);
    }
    return layout;
}

SampleGrid BuildSampleGrid(uint32_t width, uint32_t height, const PixelReader& readPixel) {
    const GridLayout layout = LayoutSampleGrid(width, height);
    SampleGrid grid;
    grid.columns = layout.columns;
    grid.rows = layout.rows;
    grid.samples.reserve(size_t{grid.Count()} * 4);
    for (uint32_t row = 0; row < grid.rows; ++row) {
        const int y = layout.PixelY(row);
        for (uint32_t column = 0; column < grid.columns; ++column) {
            const AColor pixel = readPixel(layout.PixelX(column), y);
            grid.samples.insert(grid.samples.end(), {ClampChannel(pixel.r), ClampChannel(pixel.g),
                                                     ClampChannel(pixel.b), ClampChannel(pixel.a)});
        }
    }
    return grid;
}

SampleGrid BuildSampleGrid(uint32_t width, uint32_t height, std::span<const AColor> pixels) {
    return BuildSampleGrid(width, height, [&](int x, int y) {
        const size_t at = size_t(y) * width + size_t(x);
        return at < pixels.size() ? pixels[at] : AColor(0.0f, 0.0f, 0.0f, 0.0f);
    });
}
