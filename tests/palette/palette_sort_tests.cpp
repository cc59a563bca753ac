#include "palette/palette_sort.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Entries told apart by red (their original position), with the given counts, hues or values.
template <typename T> Palette WithField(const std::vector<T>& values, T PaletteEntry::*field) {
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
    return WithField(counts, &PaletteEntry::count);
}

std::vector<uint16_t> Order(const Palette& palette) {
    std::vector<uint16_t> order;
    for (const PaletteEntry& entry : palette)
        order.push_back(entry.red);
    return order;
}

} // namespace

// Each row sorts a palette whose entries are told apart by their original position; entries of equal keys
// keep their order in both directions, and every entry is stamped with the mode's low 8 bits.
TEST(PaletteSort, EachModeOrdersByItsFieldAndKeepsEqualKeysInOrder) {
    const struct {
        const char* what;
        int32_t mode;
        Palette palette;
        std::vector<uint16_t> order;
    } rows[] = {
        {"count, largest first", 0, WithCounts({5, 9, 9, 2}), {1, 2, 0, 3}},
        {"count, unsigned", 0, WithCounts({1, 0x80000000u}), {1, 0}},
        {"hue", 1, WithField<int32_t>({300, 100, 200, 100}, &PaletteEntry::hue), {1, 3, 2, 0}},
        {"hue, inverse", 3, WithField<int32_t>({300, 100, 200, 100}, &PaletteEntry::hue), {0, 2, 1, 3}},
        {"luminance", 2, WithField<int32_t>({10, 50, 30}, &PaletteEntry::value), {0, 2, 1}},
        {"luminance, inverse", 4, WithField<int32_t>({10, 50, 30}, &PaletteEntry::value), {1, 2, 0}},
        // Two pairs of equal values: a comparison that lets equal keys pass each other reverses a pair.
        {"equal luminance",
         2,
         WithField<int32_t>({40, 10, 40, 10, 25}, &PaletteEntry::value),
         {1, 3, 4, 0, 2}},
        {"equal luminance, inverse",
         4,
         WithField<int32_t>({40, 10, 40, 10, 25}, &PaletteEntry::value),
         {0, 2, 4, 1, 3}},
        {"one luminance", 2, WithField<int32_t>({7, 7, 7, 7}, &PaletteEntry::value), {0, 1, 2, 3}},
        {"one luminance, inverse", 4, WithField<int32_t>({7, 7, 7, 7}, &PaletteEntry::value), {0, 1, 2, 3}},
        {"a mode without an ordering", 9, WithCounts({1, 3, 2}), {0, 1, 2}},
        {"256 is count", 256, WithCounts({1, 3, 2}), {1, 2, 0}},
        {"empty", 1, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Palette palette = row.palette;
        AutoSortPalette(palette, row.mode);
        EXPECT_EQ(Order(palette), row.order);
        for (const PaletteEntry& entry : palette)
            EXPECT_EQ(entry.sortMode, row.mode & 0xFF);
    }
}

TEST(PaletteSort, LuminanceReadsTheValueFieldOnly) {
    Palette palette = WithField<int32_t>({10, 50, 30}, &PaletteEntry::hue);
    palette[0].value = 900;
    AutoSortPalette(palette, 2);
    EXPECT_EQ(Order(palette), (std::vector<uint16_t>{1, 2, 0}));
}
