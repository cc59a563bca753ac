#include "hostsdk/bitmap.h"

#include "pixel_conversion.h"

#include <cstdlib>
#include <utility>

void PixelMemoryFree::operator()(void* memory) const {
    std::free(memory);
}

BitmapStorage::BitmapStorage(int width_, int height_, BitmapChannels channels_, PixelMemory pixels_)
    : width(width_), height(height_), channels(channels_), pixels(std::move(pixels_)) {}

BitmapStorage::~BitmapStorage() = default;

int BitmapStorage::Width() const {
    return width;
}

int BitmapStorage::Height() const {
    return height;
}

BitmapChannels BitmapStorage::Channels() const {
    return channels;
}

std::size_t BitmapStorage::PixelCount() const {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

bool BitmapStorage::Contains(int x, int y, int count) const {
    if (x < 0 || y < 0 || count < 0 || x >= width || y >= height)
        return false;
    const long long start = static_cast<long long>(y) * width + x;
    return start + count <= static_cast<long long>(PixelCount());
}

int BitmapStorage::GetLinearPixels(int x, int y, int count, BMM_Color_fl* out) const {
    if (!Contains(x, y, count))
        return 0;
    const std::size_t first = static_cast<std::size_t>(y) * width + x;
    const auto* bytes = static_cast<const unsigned char*>(pixels.get());
    hostsdk::image::ConvertPixels(channels, bytes + first * hostsdk::image::PixelBytes(channels),
                                  static_cast<std::size_t>(count), out);
    return 1;
}
