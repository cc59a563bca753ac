#include "ui/banner/bmp_file.h"

namespace {

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> EncodeBmp24(const host::Canvas& canvas) {
    constexpr std::uint32_t kHeaderSize = 14 + 40;
    const auto width = static_cast<std::uint32_t>(canvas.Width());
    const auto height = static_cast<std::uint32_t>(canvas.Height());
    const std::uint32_t rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelSize = rowSize * height;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHeaderSize + pixelSize);
    // File header: "BM", file size, two reserved words, offset of the pixels.
    bytes.push_back('B');
    bytes.push_back('M');
    Put(bytes, kHeaderSize + pixelSize, 4);
    Put(bytes, 0, 4);
    Put(bytes, kHeaderSize, 4);
    // BITMAPINFOHEADER: a positive height means bottom-up rows; no compression; 2835 pixels a metre (72 dpi).
    Put(bytes, 40, 4);
    Put(bytes, width, 4);
    Put(bytes, height, 4);
    Put(bytes, 1, 2);
    Put(bytes, 24, 2);
    Put(bytes, 0, 4);
    Put(bytes, pixelSize, 4);
    Put(bytes, 2835, 4);
    Put(bytes, 2835, 4);
    Put(bytes, 0, 4);
    Put(bytes, 0, 4);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const host::Rgba8 pixel = canvas.Pixel(x, y);
            bytes.insert(bytes.end(), {pixel.b, pixel.g, pixel.r});
        }
        bytes.resize(bytes.size() + (rowSize - width * 3), 0);
    }
    return bytes;
}
