#include "palette/harmony.h"

#include "hostsdk/hsv.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr float kTolerance = 0.02f; // hues pass through the 16-bit field

PaletteEntry EntryAtHue(float degrees, uint32_t count = 1) {
    PaletteEntry entry;
    entry.hue = static_cast<int32_t>(degrees / 360.0f * 65535.0f);
    entry.saturation = 40000;
    entry.value = 50000;
    const Color rgb =
        HSVtoRGB(Color(static_cast<float>(entry.hue) / 65535.0f, 40000 / 65535.0f, 50000 / 65535.0f));
    entry.red = static_cast<uint16_t>(rgb.r * 65535.0f);
    entry.green = static_cast<uint16_t>(rgb.g * 65535.0f);
    entry.blue = static_cast<uint16_t>(rgb.b * 65535.0f);
    entry.alpha = 65535;
    entry.count = count;
    return entry;
}

Palette AtHues(const std::vector<float>& degrees) {
    Palette palette;
    for (size_t i = 0; i < degrees.size(); ++i)
        palette.push_back(EntryAtHue(degrees[i], static_cast<uint32_t>(100 - i)));
    return palette;
}

Palette Harmonised(const Palette& palette, int32_t harmony) {
    const std::optional<Palette> result = HarmonisePalette(palette, harmony);
    EXPECT_TRUE(result.has_value());
    return result.value_or(Palette{});
}

} // namespace

TEST(Harmony, AnchorIsTheMedianHue) {
    EXPECT_EQ(HarmonyAnchor(AtHues({10.0f, 200.0f, 100.0f})), 2u);
    // Two entries have equal sums: the first wins.
    EXPECT_EQ(HarmonyAnchor(AtHues({10.0f, 350.0f})), 0u);
}

// Each row: a palette at the given hues whose first entry is the anchor, a template, and the entries that
// move, with their new hue in degrees from the anchor's; every other entry stays as it was.
TEST(Harmony, EntriesOutsideTheSectorsMoveToTheNearestBorder) {
    const std::vector<float> spread = {0, 0, 0, 0, 0, 0, 60, 100, 170, 190, 300};
    const struct {
        const char* what;
        int32_t harmony;
        std::vector<float> hues;
        std::vector<std::pair<size_t, float>> moved;
    } rows[] = {
        {"i: a narrow sector", 1, {5, 5, 5, 300}, {{3, 9.0f}}},
        {"V: about 100 above, 60 below and 20 above", 2, {120, 220, 60, 140, 120}, {{1, 46.8f}, {2, -46.8f}}},
        {"V: distances do not wrap around", 2, {10, 350}, {{1, 46.8f}}},
        {"I: split between the borders", 4, {0, 0, 0, 175, 185}, {{3, 171.0f}, {4, 189.0f}}},
        {"I: borders 471 and 489 become 111 and 129",
         4,
         {300, 300, 300, 115, 125},
         {{3, 171.0f - 360.0f}, {4, 189.0f - 360.0f}}},
        {"Y", 6, spread, {{6, 46.8f}, {7, 171.0f}, {8, 171.0f}, {9, 189.0f}, {10, 189.0f}}},
        {"X: the nearer second-sector border",
         7,
         spread,
         {{6, 46.8f}, {7, 133.2f}, {8, 133.2f}, {9, 226.8f}, {10, 226.8f}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const Palette palette = AtHues(row.hues);
        const Palette result = Harmonised(palette, row.harmony);
        ASSERT_EQ(result.size(), palette.size());
        std::vector<bool> moved(palette.size(), false);
        for (const auto& [i, degrees] : row.moved) {
            EXPECT_NEAR(HueDegrees(result[i]), HueDegrees(palette[0]) + degrees, kTolerance) << "entry " << i;
            moved[i] = true;
        }
        for (size_t i = 0; i < palette.size(); ++i)
            if (!moved[i]) {
                EXPECT_EQ(result[i], palette[i]) << "entry " << i;
            }
    }
}

namespace {

// The entry at a new hue, worked out from the hue alone: channels from the hexcone model.
PaletteEntry AtNewHue(const PaletteEntry& entry, float degrees) {
    PaletteEntry moved = entry;
    moved.hue = static_cast<int32_t>(degrees / 360.0f * 65535.0f);
    const Color rgb = HSVtoRGB(Color(static_cast<float>(moved.hue) / 65535.0f,
                                     static_cast<float>(entry.saturation) / 65535.0f,
                                     static_cast<float>(entry.value) / 65535.0f));
    moved.red = static_cast<uint16_t>(rgb.r * 65535.0f);
    moved.green = static_cast<uint16_t>(rgb.g * 65535.0f);
    moved.blue = static_cast<uint16_t>(rgb.b * 65535.0f);
    return moved;
}

} // namespace

// Whole palettes, placed by hand from the template's borders around the anchor.
TEST(Harmony, LAndTTypesGiveTheHandPlacedPalettes) {
    // Most entries at 0 make 0 the anchor. L type: anchor sector [-9, 9], second sector borders 51.4 and
    // 128.6. Distances never wrap, so 350 is nearest to 128.6.
    const Palette l = AtHues({0, 0, 0, 0, 0, 0, 0, 0, 5, 20, 40, 89, 95, 200, 350});
    const std::pair<size_t, float> lPlaced[] = {{9, 9.0f},    {10, 51.4f},  {11, 51.4f},
                                                {12, 128.6f}, {13, 128.6f}, {14, 128.6f}};
    Palette lExpected = l;
    for (const auto& [i, degrees] : lPlaced)
        lExpected[i] = AtNewHue(l[i], degrees);
    EXPECT_EQ(Harmonised(l, 3), lExpected);

    // T type: one sector [-90, 90].
    const Palette t = AtHues({0, 0, 0, 0, 45, 100, 300});
    Palette tExpected = t;
    tExpected[5] = AtNewHue(t[5], 90.0f);
    tExpected[6] = AtNewHue(t[6], 90.0f);
    EXPECT_EQ(Harmonised(t, 5), tExpected);
}

TEST(Harmony, OrderAndUntouchedFieldsFollowTheExtractedPalette) {
    const Palette extracted = AtHues({0, 0, 0, 0, 0, 0, 60, 100, 170, 190, 300});
    EXPECT_EQ(Harmonised(extracted, 0), extracted);
    const Palette result = Harmonised(extracted, 6);
    ASSERT_EQ(result.size(), extracted.size());
    for (size_t i = 0; i < result.size(); ++i) {
        EXPECT_EQ(result[i].count, extracted[i].count) << "entry " << i;
        EXPECT_EQ(result[i].alpha, extracted[i].alpha) << "entry " << i;
        EXPECT_EQ(result[i].sortMode, 0) << "entry " << i;
    }
}

TEST(Harmony, EdgeCases) {
    const Palette single = AtHues({123.0f});
    EXPECT_EQ(Harmonised(single, 7), single);
    EXPECT_TRUE(Harmonised(Palette{}, 3).empty());
    EXPECT_FALSE(HarmonisePalette(AtHues({0, 90, 180}), 8).has_value());
    EXPECT_EQ(Harmonised(AtHues({0, 90, 180}), -1), AtHues({0, 90, 180}));
}
