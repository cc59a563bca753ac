#include "hostsdk/bitmap.h"

#include "pixel_conversion.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

void PixelMemoryFree::operator()(void* memory) const {
    std::free(memory);
}

namespace {

PixelMemory Allocate(std::size_t bytes, bool zeroed) {
    // At least one byte: a zero-byte request may give null, which reads as a failure.
    void* memory = zeroed ? std::calloc(bytes > 0 ? bytes : 1, 1) : std::malloc(bytes > 0 ? bytes : 1);
    if (memory == nullptr)
        throw std::bad_alloc();
    return PixelMemory(memory);
}

} // namespace

BitmapStorage::BitmapStorage(int width_, int height_)
    : width(width_), height(height_), channels(BitmapChannels::Float),
      pixels(Allocate(PixelCount() * sizeof(BMM_Color_fl), true)) {}

BitmapStorage::BitmapStorage(int width_, int height_, BitmapChannels channels_, PixelMemory pixels_)
    : width(width_), height(height_), channels(channels_), pixels(std::move(pixels_)) {}

BitmapStorage::BitmapStorage(const BitmapStorage& other)
    : width(other.width), height(other.height), channels(other.channels),
      pixels(Allocate(PixelCount() * hostsdk::image::PixelBytes(channels), false)) {
    std::memcpy(pixels.get(), other.pixels.get(), PixelCount() * hostsdk::image::PixelBytes(channels));
}

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

int BitmapStorage::PutPixels(int x, int y, int count, const BMM_Color_fl* in) {
    if (!Contains(x, y, count))
        return 0;
    if (channels != BitmapChannels::Float) {
        // A bitmap written to is rare (a loaded image is read, a created one is already in floats), so the
        // whole image is converted once rather than every write being rounded to the stored depth.
        void* floats = std::malloc(PixelCount() * sizeof(BMM_Color_fl));
        if (floats == nullptr)
            return 0;
        PixelMemory converted(floats);
        hostsdk::image::ConvertPixels(channels, pixels.get(), PixelCount(),
                                      static_cast<BMM_Color_fl*>(floats));
        pixels = std::move(converted);
        channels = BitmapChannels::Float;
    }
    std::memcpy(static_cast<BMM_Color_fl*>(pixels.get()) + static_cast<std::size_t>(y) * width + x, in,
                static_cast<std::size_t>(count) * sizeof(BMM_Color_fl));
    return 1;
}
