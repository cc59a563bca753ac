#pragma once

#include "hostsdk/color.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The samples extraction clusters: rows × columns of four floats (red, green, blue, alpha), row by row,
// so sample index = row × columns + column. Every channel lies in 0..1.
struct SampleGrid {
    uint32_t rows = 0;
    uint32_t columns = 0;
    std::vector<float> samples;

    uint32_t Count() const { return rows * columns; }
};

// Where the grid's samples lie in a width × height image: images of at most 65,536 pixels are taken
// whole; larger ones get 256 samples along the longer side and steps in single-precision float.
struct GridLayout {
    uint32_t columns = 0;
    uint32_t rows = 0;
    float stepX = 1.0f;
    float stepY = 1.0f;
    bool everyPixel = true;

    // The pixel read for a sample.
    int PixelX(uint32_t column) const;
    int PixelY(uint32_t row) const;
};

GridLayout LayoutSampleGrid(uint32_t width, uint32_t height);

// Reads the pixel at (x, y) as four floats.
using PixelReader = std::function<AColor(int x, int y)>;

// Reads the grid's pixels in row order, each row from column 0 upward. Channels are clamped to 0..1 and a
// NaN channel counts as 0, so that colour keys stay within their 16-bit fields.
SampleGrid BuildSampleGrid(uint32_t width, uint32_t height, const PixelReader& readPixel);

// The same from width × height pixels held row by row.
SampleGrid BuildSampleGrid(uint32_t width, uint32_t height, std::span<const AColor> pixels);
