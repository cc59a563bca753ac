// Bitmap storage keeps pixels at their decoded depth and converts them when read. Expected values are
// computed here from the stored integers, as the float copy the bitmaps used to hold had them.
#include "hostsdk/bitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Pixel memory holding `values`, as the decoder hands it over.
template <typename T> PixelMemory MemoryOf(const std::vector<T>& values) {
    PixelMemory memory(std::malloc(values.size() * sizeof(T)));
    std::memcpy(memory.get(), values.data(), values.size() * sizeof(T));
    return memory;
}

template <typename T>
BitmapStorage StorageOf(int width, int height, BitmapChannels channels, const std::vector<T>& values) {
    return BitmapStorage(width, height, channels, MemoryOf(values));
}

using Rgba = std::array<float, 4>;

Rgba AsArray(const BMM_Color_fl& pixel) {
    return {pixel.r, pixel.g, pixel.b, pixel.a};
}

// The four channels of each of the `count` pixels read from (x, y) by one linear read; NaNs are left
// where it failed.
std::vector<Rgba> ReadRun(const BitmapStorage& storage, int x, int y, int count) {
    std::vector<BMM_Color_fl> run(static_cast<std::size_t>(count), BMM_Color_fl{NAN, NAN, NAN, NAN});
    EXPECT_EQ(storage.GetLinearPixels(x, y, count, run.data()), 1)
        << "run of " << count << " from " << x << ", " << y;
    std::vector<Rgba> out;
    for (const BMM_Color_fl& pixel : run)
        out.push_back(AsArray(pixel));
    return out;
}

// The channel values of a pixel count x 4 values, each expected as value / maximum.
template <typename T> std::vector<Rgba> Divided(const std::vector<T>& values, float maximum) {
    std::vector<Rgba> out;
    for (std::size_t i = 0; i < values.size(); i += 4)
        out.push_back({static_cast<float>(values[i]) / maximum, static_cast<float>(values[i + 1]) / maximum,
                       static_cast<float>(values[i + 2]) / maximum,
                       static_cast<float>(values[i + 3]) / maximum});
    return out;
}

// Pixel by pixel, so that a failure names the first pixel that differs rather than printing thousands.
void ExpectSamePixels(const std::vector<Rgba>& actual, const std::vector<Rgba>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "pixel " << i;
}

} // namespace

TEST(BitmapStorage, EveryByteValueReadsAsItsDivisionBy255) {
    // 64 x 4 pixels: red runs through every value, the other channels through shifted copies.
    std::vector<std::uint8_t> bytes;
    for (int v = 0; v < 256; ++v)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                                   static_cast<std::uint8_t>(v * 7), static_cast<std::uint8_t>(v + 128)});
    const BitmapStorage storage = StorageOf(64, 4, BitmapChannels::UInt8, bytes);
    EXPECT_EQ(storage.Channels(), BitmapChannels::UInt8);
    // One run over the whole bitmap, continuing from row to row.
    ExpectSamePixels(ReadRun(storage, 0, 0, 256), Divided(bytes, 255.0f));
    // Single pixels, and a multiplication by the reciprocal would be off in the last bit here.
    EXPECT_EQ(ReadRun(storage, 3, 0, 1)[0][0], 3.0f / 255.0f);
    EXPECT_NE(ReadRun(storage, 3, 0, 1)[0][0], 3.0f * (1.0f / 255.0f));
    EXPECT_EQ(ReadRun(storage, 63, 3, 1)[0], (Rgba{1.0f, 0.0f, static_cast<std::uint8_t>(255 * 7) / 255.0f,
                                                   static_cast<std::uint8_t>(255 + 128) / 255.0f}));
}

TEST(BitmapStorage, EverySixteenBitValueReadsAsItsDivisionBy65535) {
    // 128 x 128 pixels hold the 65,536 values once each, in the four channels in turn.
    std::vector<std::uint16_t> words(65536);
    for (std::size_t v = 0; v < words.size(); ++v)
        words[v] = static_cast<std::uint16_t>(v);
    const BitmapStorage storage = StorageOf(128, 128, BitmapChannels::UInt16, words);
    EXPECT_EQ(storage.Channels(), BitmapChannels::UInt16);
    ExpectSamePixels(ReadRun(storage, 0, 0, 128 * 128), Divided(words, 65535.0f));
    // A run starting inside a row.
    const std::vector<Rgba> tail = ReadRun(storage, 127, 126, 129);
    EXPECT_EQ(tail.front()[0], static_cast<float>((126 * 128 + 127) * 4) / 65535.0f);
    EXPECT_EQ(tail.back()[3], 1.0f);
}

TEST(BitmapStorage, FloatingPointChannelsReadUnchanged) {
    using limits = std::numeric_limits<float>;
    const std::vector<float> values = {
        -2.5f, 0.0f,     1.0f, 1e30f, limits::infinity(), limits::quiet_NaN(), -0.0f, limits::denorm_min(),
        0.1f,  65535.0f, 3.0f, 0.5f};
    const BitmapStorage storage = StorageOf(3, 1, BitmapChannels::Float, values);
    std::vector<BMM_Color_fl> run(3);
    ASSERT_EQ(storage.GetLinearPixels(0, 0, 3, run.data()), 1);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(AsArray(run[i / 4])[i % 4]),
                  std::bit_cast<std::uint32_t>(values[i]))
            << "channel " << i;
}

TEST(BitmapStorage, OnePixelAndOddWidthsAtEveryDepth) {
    // 1 x 1 and 5 x 3 bitmaps of each depth: the last pixel is reachable, nothing beyond it is, and a
    // failed read leaves the output untouched.
    for (const int width : {1, 5}) {
        const int height = width == 1 ? 1 : 3;
        const int count = width * height;
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint16_t> words;
        std::vector<float> floats;
        for (int i = 0; i < count * 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(i * 37 + 11));
            words.push_back(static_cast<std::uint16_t>(i * 4099 + 13));
            floats.push_back(static_cast<float>(i) * 0.3f - 1.0f);
        }
        const BitmapStorage storages[] = {StorageOf(width, height, BitmapChannels::UInt8, bytes),
                                          StorageOf(width, height, BitmapChannels::UInt16, words),
                                          StorageOf(width, height, BitmapChannels::Float, floats)};
        const std::vector<Rgba> expected[] = {Divided(bytes, 255.0f), Divided(words, 65535.0f),
                                              Divided(floats, 1.0f)};
        for (int depth = 0; depth < 3; ++depth) {
            SCOPED_TRACE(testing::Message() << width << " x " << height << ", depth " << depth);
            const BitmapStorage& storage = storages[depth];
            ExpectSamePixels(ReadRun(storage, 0, 0, count), expected[depth]);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    EXPECT_EQ(ReadRun(storage, x, y, 1)[0],
                              expected[depth][static_cast<std::size_t>(y * width + x)]);
            BMM_Color_fl untouched[2] = {{5.0f, 5.0f, 5.0f, 5.0f}, {5.0f, 5.0f, 5.0f, 5.0f}};
            EXPECT_EQ(storage.GetLinearPixels(width - 1, height - 1, 2, untouched), 0);
            EXPECT_EQ(storage.GetLinearPixels(width, 0, 1, untouched), 0);
            EXPECT_EQ(storage.GetLinearPixels(0, height, 1, untouched), 0);
            EXPECT_EQ(storage.GetLinearPixels(0, 0, count + 1, untouched), 0);
            EXPECT_EQ(AsArray(untouched[0]), (Rgba{5.0f, 5.0f, 5.0f, 5.0f}));
            EXPECT_EQ(AsArray(untouched[1]), (Rgba{5.0f, 5.0f, 5.0f, 5.0f}));
        }
    }
}
