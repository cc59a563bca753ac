// The parameters as samples read them: which changes make them out of date, the times they hold over,
// and the colours they carry.
#include "map/shade_settings.h"

#include "map_test_support.h"
#include "test_maps.h"

#include "plugin/param_ids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

const Palette kPalette{{65535, 0, 0, 65535}, {0, 30000, 65535, 65535}, {7, 7, 8, 65535}};

bool SameBits(const AColor& a, const AColor& b) {
    return std::memcmp(&a, &b, sizeof(AColor)) == 0;
}

TEST(ShadeSettings, EveryKindOfChangeToTheBlockMakesThemOutOfDate) {
    MapPtr map = NewMap();
    IParamBlock2& block = *map->pblock;
    const std::function<void()> changes[] = {
        [&] { block.SetValue(pb_num_colors, 0, 2); },
        [&] { block.SetValue(pb_gamma, 0, 2.0f); },
        [&] {
            block.SetKeys(pb_tile_rows, KeyTrack{{0, 2.0f}, {100, 4.0f}});
        },
        [&] { block.SetKeys(pb_tile_rows, KeyTrack{}); },
        [&] { block.SetValue(pb_input_map, 0, static_cast<Texmap*>(new ConstantMap())); },
        [&] { block.ReplaceReference(0, nullptr); }, // the input map's slot, as when the map is deleted
        [&] { block.ResetAll(); },
    };
    // Without animated values they hold at every time, and the time is not even asked for.
    const auto never = []() -> TimeValue { throw std::logic_error("no value is animated"); };
    EXPECT_TRUE(ReadShadeSettings(&block, 0, kPalette, ShadeSettings{}).Current(&block, never));
    const auto atZero = [] { return TimeValue{0}; };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const ShadeSettings before = ReadShadeSettings(&block, 0, kPalette, ShadeSettings{});
        ASSERT_TRUE(before.Current(&block, atZero)) << "change " << i;
        changes[i]();
        EXPECT_FALSE(before.Current(&block, atZero)) << "change " << i;
    }
    EXPECT_FALSE(ShadeSettings{}.Current(nullptr, never)) << "unread";
}

TEST(ShadeSettings, AnimatedValuesHoldOnlyOverTheirTimes) {
    MapPtr map = NewMap();
    IParamBlock2& block = *map->pblock;
    block.SetKeys(pb_gamma, KeyTrack{{0, 1.0f}, {100, 2.0f}});
    // "InputMapOn" is read at time 0, so its keys do not tie the settings to the slider.
    block.SetKeys(pb_input_map_on, KeyTrack{{0, 1.0f}, {100, 0.0f}});
    const ShadeSettings at50 = ReadShadeSettings(&block, 50, kPalette, ShadeSettings{});
    EXPECT_EQ(at50.adjustment.gamma, block.GetFloat(pb_gamma, 50));
    EXPECT_TRUE(at50.Current(&block, [] { return 50; }));
    EXPECT_FALSE(at50.Current(&block, [] { return 51; }));
    const ShadeSettings after = ReadShadeSettings(&block, 150, kPalette, ShadeSettings{});
    EXPECT_TRUE(after.Current(&block, [] { return 1000; })) << "the last key holds from there on";
    EXPECT_FALSE(after.Current(&block, [] { return 99; }));
}

TEST(ShadeSettings, CarryThePalettesColoursUnderTheirAdjustment) {
    MapPtr map = NewMap();
    IParamBlock2& block = *map->pblock;
    block.SetValue(pb_num_colors, 0, 50);
    block.SetValue(pb_mapping_old, 0, 40);
    block.SetValue(pb_gamma, 0, 2.2f);
    block.SetValue(pb_hue_alteration, 0, 40);
    block.SetValue(pb_input_map, 0, static_cast<Texmap*>(new ConstantMap()));
    const ShadeSettings settings = ReadShadeSettings(&block, 0, kPalette, ShadeSettings{});
    EXPECT_EQ(settings.n, 3u) << "no more colours than the palette holds";
    EXPECT_EQ(settings.route, ShadeSettings::kUnknownMode);
    EXPECT_EQ(settings.input, nullptr) << "switched off";
    ASSERT_EQ(settings.entries, 3u);
    ASSERT_EQ(settings.colours.size(), 4u);
    for (std::size_t i = 0; i <= kPalette.size(); ++i) {
        const PaletteEntry entry = i < kPalette.size() ? kPalette[i] : PaletteEntry{};
        EXPECT_TRUE(SameBits(settings.colours[i], AdjustPaletteColour(entry, settings.adjustment))) << i;
    }
    EXPECT_TRUE(SameBits(settings.plain[1], AColor(0.0f, 30000 / 65535.0f, 1.0f, 1.0f)));

    // Without a palette or a block: black, and nothing else.
    for (const ShadeSettings& blank : {ReadShadeSettings(&block, 0, Palette{}, settings),
                                       ReadShadeSettings(nullptr, 0, kPalette, settings)}) {
        EXPECT_EQ(blank.route, ShadeSettings::kBlank);
        ASSERT_EQ(blank.colours.size(), 1u);
        EXPECT_TRUE(SameBits(blank.colours[0], AColor(0.0f, 0.0f, 0.0f, 1.0f)));
    }
}

} // namespace
