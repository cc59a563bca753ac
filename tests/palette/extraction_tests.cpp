#include "palette/extraction.h"

#include "test_images.h"

#include "hostsdk/hsv.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

namespace {

SampleGrid UniformGrid(uint32_t columns, uint32_t rows, AColor colour) {
    return BuildSampleGrid(columns, rows, [&](int, int) { return colour; });
}

SampleGrid PhotoGrid(const std::string& name) {
    const TestImage image = LoadTestImage(name);
    return BuildSampleGrid(image.width, image.height, image.pixels);
}

} // namespace

TEST(Extraction, ColourKeyPacksRedHighest) {
    PaletteEntry entry;
    entry.red = 0x1234;
    entry.green = 0x5678;
    entry.blue = 0x9ABC;
    entry.alpha = 0xDEF0;
    EXPECT_EQ(ColourKey(entry), 0x123456789ABCDEF0u);
    const float centre[4] = {0x1234 / 65535.0f, 0x5678 / 65535.0f, 0x9ABC / 65535.0f, 0xDEF0 / 65535.0f};
    EXPECT_EQ(QuantiseCentre(centre), 0x123456789ABCDEF0u);
    const float ends[4] = {1.0f, 0.0f, 1.0f, 0.0f};
    EXPECT_EQ(QuantiseCentre(ends), 0xFFFF0000FFFF0000u);
}

TEST(Extraction, ClusterCountIsAtLeast35) {
    EXPECT_EQ(ClusterCount(10, 0), 35u);
    EXPECT_EQ(ClusterCount(30, 5), 35u);
    EXPECT_EQ(ClusterCount(100, 30), 130u);
    EXPECT_EQ(ClusterCount(0xFFFFFFFFu, 2), 35u); // the sum wraps to 1
}

// A negative "# colors" arrives as about 4 billion; the clusters stay within what the largest grid can fill.
TEST(Extraction, CountsInTheBillionsStayWithinMemory) {
    const SampleGrid grid = PhotoGrid("Waves.png");
    const ExtractionResult all = ExtractPaletteFromGrid(grid, 0xFFFFFFF9u, 0);
    EXPECT_EQ(all.palette, ExtractPaletteFromGrid(grid, 65536, 0).palette);
    EXPECT_GT(all.palette.size(), 130u);
    EXPECT_TRUE(ExtractPaletteFromGrid(grid, 10, 0xFFFFFFF0u).palette.empty()) << "every colour skipped";
}

TEST(Extraction, BuildPalettesOrdersByCountThenKey) {
    const std::vector<uint64_t> keys{0x0002000000000000, 0x0001000000000000, 0x0003000000000000,
                                     0x0001000000000000, 0x0003000000000000, 0x0000FFFF00000000};
    const Palette palette = BuildPalettes(keys);
    ASSERT_EQ(palette.size(), 4u);
    EXPECT_EQ(ColourKey(palette[0]), 0x0001000000000000u); // count 2, smaller key first
    EXPECT_EQ(ColourKey(palette[1]), 0x0003000000000000u);
    EXPECT_EQ(ColourKey(palette[2]), 0x0000FFFF00000000u); // count 1, ascending keys
    EXPECT_EQ(ColourKey(palette[3]), 0x0002000000000000u);
    EXPECT_EQ(palette[0].count, 2u);
    EXPECT_EQ(palette[3].count, 1u);
    EXPECT_EQ(palette[0].sortMode, 0);
    // Transparent black has key 0; as the very first key it is counted like any other.
    const std::vector<uint64_t> blackFirst{0, 0, 0x0000FFFF00000000};
    const Palette withBlack = BuildPalettes(blackFirst);
    ASSERT_EQ(withBlack.size(), 2u);
    EXPECT_EQ(ColourKey(withBlack[0]), 0u);
    EXPECT_EQ(withBlack[0].count, 2u);
    EXPECT_EQ(withBlack[1].count, 1u);
    // Pure green: hue 1/3 of a turn, full saturation and value, each × 65535 truncated.
    EXPECT_EQ(palette[2].hue, static_cast<int32_t>(RGBtoHSV(Color(0.0f, 1.0f, 0.0f)).r * 65535.0f));
    EXPECT_EQ(palette[2].saturation, 65535);
    EXPECT_EQ(palette[2].value, 65535);
}

TEST(Extraction, SingleColourImage) {
    const SampleGrid grid = UniformGrid(40, 30, AColor(0.2f, 0.4f, 0.6f, 1.0f));
    const ExtractionResult result = ExtractPaletteFromGrid(grid, 10, 0);
    ASSERT_EQ(result.palette.size(), 1u);
    EXPECT_EQ(result.palette[0].count, 1200u);
    EXPECT_EQ(result.palette[0].red, static_cast<uint16_t>(0.2f * 65535.0f));
    EXPECT_EQ(result.palette[0].alpha, 65535);
    EXPECT_EQ(result.iterations, 1u);
    EXPECT_EQ(result.extractedPalette, result.palette);
    EXPECT_TRUE(ExtractPaletteFromGrid(grid, 10, 1).palette.empty());
    EXPECT_TRUE(ExtractPaletteFromGrid(grid, 10, 1).extractedPalette.empty());
    EXPECT_TRUE(ExtractPaletteFromGrid(grid, 0, 0).palette.empty()) << "no colour kept";
}

TEST(Extraction, HalfAndHalfComesOutInKeyOrder) {
    // Left half bright red-ish, right half dark red-ish: equal counts, the smaller red value first.
    const SampleGrid grid = BuildSampleGrid(64, 64, [](int x, int) {
        return x < 32 ? AColor(0.9f, 0.1f, 0.1f, 1.0f) : AColor(0.3f, 0.5f, 0.5f, 1.0f);
    });
    const ExtractionResult result = ExtractPaletteFromGrid(grid, 10, 0);
    ASSERT_EQ(result.palette.size(), 2u);
    EXPECT_EQ(result.palette[0].count, 2048u);
    EXPECT_EQ(result.palette[1].count, 2048u);
    EXPECT_LT(result.palette[0].red, result.palette[1].red);
}

TEST(Extraction, EmptyGridGivesEmptyLists) {
    const SampleGrid grid =
        BuildSampleGrid(40000, 2, [](int, int) { return AColor(1.0f, 1.0f, 1.0f, 1.0f); });
    const ExtractionResult result = ExtractPaletteFromGrid(grid, 10, 0);
    EXPECT_TRUE(result.palette.empty());
    EXPECT_TRUE(result.extractedPalette.empty());
    EXPECT_EQ(result.iterations, 0u);
}

TEST(Extraction, PhotographProperties) {
    for (const std::string& name : TestImageNames()) {
        const SampleGrid grid = PhotoGrid(name);
        ASSERT_GT(grid.Count(), 0u) << name;
        // 100 colours from 100 clusters: nothing is cut, so the counts cover the whole grid.
        const ExtractionResult all = ExtractPaletteFromGrid(grid, 100, 0);
        EXPECT_EQ(all.palette, all.extractedPalette) << name;
        const uint64_t total =
            std::accumulate(all.palette.begin(), all.palette.end(), uint64_t{0},
                            [](uint64_t sum, const PaletteEntry& e) { return sum + e.count; });
        EXPECT_EQ(total, grid.Count()) << name;
        for (size_t i = 1; i < all.palette.size(); ++i) {
            const PaletteEntry& before = all.palette[i - 1];
            const PaletteEntry& after = all.palette[i];
            EXPECT_TRUE(before.count > after.count ||
                        (before.count == after.count && ColourKey(before) < ColourKey(after)))
                << name << " entry " << i;
        }

        // Skip and truncation cut the same clustering (k stays 35) at different places.
        const ExtractionResult full = ExtractPaletteFromGrid(grid, 30, 0);
        const ExtractionResult middle = ExtractPaletteFromGrid(grid, 3, 2);
        ASSERT_GE(full.palette.size(), 5u) << name;
        EXPECT_EQ(middle.palette, Palette(full.palette.begin() + 2, full.palette.begin() + 5)) << name;
        EXPECT_EQ(middle.extractedPalette, middle.palette) << name;
        EXPECT_EQ(ExtractPaletteFromGrid(grid, 30, 0).palette, full.palette) << name << ": second run";
    }
}
