// The About rollout's banner: the bitmap file the resource script includes is what the generator draws
// now, and the file is a bitmap the resource compiler reads.
#include "ui/banner/banner_picture.h"
#include "ui/banner/bmp_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::uint32_t Read(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

TEST(Banner, TheCommittedBitmapIsWhatTheGeneratorDrawsNow) {
    std::ifstream file(CHROMASIFT_BANNER_FILE, std::ios::binary);
    ASSERT_TRUE(file) << CHROMASIFT_BANNER_FILE;
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(file), {}};
    const std::vector<std::uint8_t> drawn = EncodeBmp24(DrawBanner());
    EXPECT_TRUE(committed == drawn) << "ui/banner.bmp is stale: rebuild it with build/linux/bin/draw_banner "
                                       "ui/banner.bmp";
    ASSERT_GE(committed.size(), 54u);
    EXPECT_EQ(Read(committed, 18, 4), 378u);
    EXPECT_EQ(Read(committed, 22, 4), 78u);
}

TEST(Banner, BitmapFilesHoldBottomUpRowsPaddedToFourBytes) {
    host::Canvas canvas(3, 2, host::Rgba8{});
    canvas.FillRect(0, 0, 3, 1, host::Rgba8{10, 20, 30, 255});
    canvas.FillRect(2, 1, 1, 1, host::Rgba8{40, 50, 60, 128});
    const std::vector<std::uint8_t> bytes = EncodeBmp24(canvas);

    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Read(bytes, 2, 4), bytes.size());
    EXPECT_EQ(Read(bytes, 10, 4), 54u);
    EXPECT_EQ(Read(bytes, 14, 4), 40u);
    EXPECT_EQ(Read(bytes, 18, 4), 3u);
    EXPECT_EQ(Read(bytes, 22, 4), 2u); // positive: the bottom row comes first
    EXPECT_EQ(Read(bytes, 26, 2), 1u);
    EXPECT_EQ(Read(bytes, 28, 2), 24u);
    EXPECT_EQ(Read(bytes, 30, 4), 0u);
    EXPECT_EQ(Read(bytes, 34, 4), 24u);
    // The bottom row, blue-green-red, then three bytes of padding; then the top row.
    const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0,  0,  0,  0,  0,  0,  60, 50, 40, 0, 0, 0,
                                                 30, 20, 10, 30, 20, 10, 30, 20, 10, 0, 0, 0}));
}

} // namespace
