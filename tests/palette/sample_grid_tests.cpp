#include "palette/sample_grid.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>
#include <utility>
#include <vector>

namespace {

// Builds a grid from a reader that encodes each pixel's position in its colour and records every read.
struct RecordingImage {
    std::vector<std::pair<int, int>> reads;

    SampleGrid Build(uint32_t width, uint32_t height) {
        return BuildSampleGrid(width, height, [this](int x, int y) {
            reads.emplace_back(x, y);
            return AColor(static_cast<float>(x) / 65536.0f, static_cast<float>(y) / 65536.0f, 0.5f, 1.0f);
        });
    }
};

} // namespace

TEST(SampleGrid, SmallImagesAreTakenWhole) {
    RecordingImage image;
    const SampleGrid grid = image.Build(256, 256);
    EXPECT_EQ(grid.columns, 256u);
    EXPECT_EQ(grid.rows, 256u);
    ASSERT_EQ(grid.samples.size(), 65536u * 4);
    ASSERT_EQ(image.reads.size(), 65536u);
    // Row by row, each row from column 0 upward.
    EXPECT_EQ(image.reads[1], std::make_pair(1, 0));
    EXPECT_EQ(image.reads[256], std::make_pair(0, 1));
    EXPECT_EQ(image.reads.back(), std::make_pair(255, 255));
    // Sample index = row × columns + column.
    EXPECT_EQ(grid.samples[(3 * 256 + 5) * 4 + 0], 5.0f / 65536.0f);
    EXPECT_EQ(grid.samples[(3 * 256 + 5) * 4 + 1], 3.0f / 65536.0f);
}

TEST(SampleGrid, LargeImagesGet256AlongTheLongerSide) {
    const GridLayout wide = LayoutSampleGrid(257, 256);
    EXPECT_EQ(wide.columns, 256u);
    EXPECT_EQ(wide.rows, 255u); // trunc(256 × 256 / 257)

    const GridLayout tall = LayoutSampleGrid(500, 1000);
    EXPECT_EQ(tall.columns, 128u);
    EXPECT_EQ(tall.rows, 256u);

    const GridLayout square = LayoutSampleGrid(300, 300);
    EXPECT_EQ(square.columns, 256u);
    EXPECT_EQ(square.rows, 256u);
}

TEST(SampleGrid, StepsAreSinglePrecision) {
    RecordingImage image;
    const SampleGrid grid = image.Build(1000, 500);
    EXPECT_EQ(grid.columns, 256u);
    EXPECT_EQ(grid.rows, 128u);
    // Steps of 1000/256 = 500/128 = 3.90625: sample (1, 1) reads pixel (3, 3).
    EXPECT_EQ(image.reads[256 + 1], std::make_pair(3, 3));
    EXPECT_EQ(image.reads.back(), std::make_pair(996, 496));

    // 264 × 250: 242 rows with step 250/242. Row 121 lies at exactly 125 in real numbers, but the float step
    // is slightly smaller, so the row read is 124.
    const GridLayout layout = LayoutSampleGrid(264, 250);
    EXPECT_EQ(layout.rows, 242u);
    EXPECT_EQ(layout.PixelY(121), 124);
    EXPECT_EQ(layout.PixelY(242 - 1), 248);
}

TEST(SampleGrid, ASingleRowOrColumnStillSpreadsOverTheImage) {
    // 70000 × 300: trunc(300 × 256 / 70000) = 1 row; the 256 columns step by 70000 / 256 = 273.4375.
    RecordingImage wide;
    const SampleGrid row = wide.Build(70000, 300);
    EXPECT_EQ(row.rows, 1u);
    ASSERT_EQ(row.columns, 256u);
    EXPECT_EQ(wide.reads.back(), std::make_pair(69726, 0)); // trunc(255 × 273.4375)

    RecordingImage tall;
    const SampleGrid column = tall.Build(300, 70000);
    EXPECT_EQ(column.columns, 1u);
    ASSERT_EQ(column.rows, 256u);
    EXPECT_EQ(tall.reads.back(), std::make_pair(0, 69726));
}

TEST(SampleGrid, DegenerateImagesGiveNoSamples) {
    RecordingImage image;
    const SampleGrid elongated = image.Build(40000, 2); // 256 columns × trunc(2 × 256 / 40000) = 0 rows
    EXPECT_EQ(elongated.columns, 256u);
    EXPECT_EQ(elongated.rows, 0u);
    EXPECT_EQ(elongated.Count(), 0u);
    EXPECT_TRUE(elongated.samples.empty());
    EXPECT_EQ(image.Build(0, 0).Count(), 0u);
    EXPECT_TRUE(image.reads.empty());
}

TEST(SampleGrid, ChannelsAreClampedAndNaNCountsAsZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<AColor> pixels{AColor(nan, 2.5f, -0.5f, 0.25f),
                                     AColor(infinity, -infinity, 1.0f, 0.0f)};
    const SampleGrid grid = BuildSampleGrid(2, 1, pixels);
    EXPECT_EQ(grid.samples, (std::vector<float>{0.0f, 1.0f, 0.0f, 0.25f, 1.0f, 0.0f, 1.0f, 0.0f}));
}

TEST(SampleGrid, PixelsMissingFromTheSpanAreTransparentBlack) {
    // The span stops one pixel short of 2 × 2; the pixel after it in memory must not be read.
    const std::vector<AColor> stored(4, AColor(1.0f, 1.0f, 1.0f, 1.0f));
    const SampleGrid grid = BuildSampleGrid(2, 2, std::span<const AColor>(stored.data(), 3));
    ASSERT_EQ(grid.samples.size(), 16u);
    EXPECT_EQ(grid.samples[8], 1.0f);
    EXPECT_EQ(std::vector<float>(grid.samples.begin() + 12, grid.samples.end()),
              (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f}));
}
