#include "palette/palette_sort.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Entries told apart by red (their original position), with the given counts, hues or values.
Palette WithField(const std::vector<int32_t>& values, int32_t PaletteEntry::*field) {
    Palette palette;
    for (size_t i = 0; i < values.size(); ++i) {
        PaletteEntry entry;
        entry.red = static_cast<uint16_t>(i);
        entry.*field = values[i];
        palette.push_back(entry);
    }
    return palette;
}

Palette WithCounts(const std::vector<uint32_t>& counts) {
    Palette palette;
    for (size_t i = 0; i < counts.size(); ++i) {
        PaletteEntry entry;
        entry.red = static_cast<uint16_t>(i);
        entry.count = counts[i];
        palette.push_back(entry);
    }
    return palette;
}

std::vector<uint16_t> Order(const Palette& palette) {
    std::vector<uint16_t> order;
    for (const PaletteEntry& entry : palette)
        order.push_back(entry.red);
    return order;
}

} // namespace

TEST(PaletteSort, CountIsStableAndLargestFirst) {
    Palette palette = WithCounts({5, 9, 9, 2});
    AutoSortPalette(palette, 0);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 2, 0, 3}));
    // Unsigned: a count above 2^31 is still the largest.
    palette = WithCounts({1, 0x80000000u});
    AutoSortPalette(palette, 0);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 0}));
}

TEST(PaletteSort, HueBothWaysKeepsEqualHuesInOrder) {
    Palette palette = WithField({300, 100, 200, 100}, &PaletteEntry::hue);
    AutoSortPalette(palette, 1);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 3, 2, 0}));
    AutoSortPalette(palette, 3);
    // Not the exact reverse: the equal hues keep their relative order.
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{0, 2, 1, 3}));
    for (const PaletteEntry& entry : palette)
        EXPECT_EQ(entry.sortMode, 3);
}

TEST(PaletteSort, LuminanceUsesTheValueField) {
    Palette palette = WithField({10, 50, 30}, &PaletteEntry::value);
    palette[0].hue = 900; // other fields take no part
    AutoSortPalette(palette, 2);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{0, 2, 1}));
    AutoSortPalette(palette, 4);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 2, 0}));
    const Palette sorted = palette;
    AutoSortPalette(palette, 4);
    EXPECT_EQ(palette, sorted);
}

TEST(PaletteSort, EqualLuminanceKeepsThePaletteOrderBothWays) {
    // Two pairs of equal values: a comparison that lets equal keys pass each other reverses a pair.
    Palette palette = WithField({40, 10, 40, 10, 25}, &PaletteEntry::value);
    AutoSortPalette(palette, 2);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 3, 4, 0, 2}));
    AutoSortPalette(palette, 4);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{0, 2, 4, 1, 3}));
    // A palette of one brightness only is left as it stands.
    palette = WithField({7, 7, 7, 7}, &PaletteEntry::value);
    for (int32_t mode : {2, 4}) {
        AutoSortPalette(palette, mode);
        EXPECT_EQ(Order(palette), (std::vector<uint16_t>{0, 1, 2, 3})) << "mode " << mode;
    }
}

TEST(PaletteSort, EdgeCases) {
    Palette empty;
    AutoSortPalette(empty, 1);
    EXPECT_TRUE(empty.empty());

    // A mode without an ordering keeps the order but is still stamped.
    Palette palette = WithCounts({1, 3, 2});
    AutoSortPalette(palette, 9);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(palette[0].sortMode, 9);
    // Only the low 8 bits of the mode are kept: 256 stamps and sorts as "Count".
    AutoSortPalette(palette, 256);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 2, 0}));
    EXPECT_EQ(palette[0].sortMode, 0);
}
