#pragma once

// A picture the host draws into: contact sheets, swatch sheets and their labels.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

struct Rgba8 {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

class Canvas {
public:
    Canvas() = default;
    // Throws std::length_error for a size that is negative or too large to hold.
    Canvas(int width, int height, Rgba8 background);

    int Width() const { return width; }
    int Height() const { return height; }
    // Four bytes per pixel, row by row from the top.
    const std::vector<std::uint8_t>& Rgba() const { return rgba; }

    Rgba8 Pixel(int x, int y) const;
    // Every pixel of the rectangle that lies on the canvas; the rest is ignored.
    void FillRect(int x, int y, int w, int h, Rgba8 colour);
    // Blends `colour` over the pixel with the coverage 0..255 (text antialiasing); off-canvas is ignored.
    void Blend(int x, int y, Rgba8 colour, int coverage);
    // Copies a picture of four bytes per pixel with its top-left corner at (x, y), clipped to the canvas.
    void Paste(int x, int y, int w, int h, const std::vector<std::uint8_t>& pictureRgba);

    // Throws std::runtime_error naming the file when it cannot be written.
    void WritePng(const std::filesystem::path& file) const;

private:
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

} // namespace host
