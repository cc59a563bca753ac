// The parameters as samples read them: which changes make them out of date, the times they hold over, and
// the map reading them again from whatever block it holds.
#include "map/shade_settings.h"

#include "map/block_change_count.h"

#include "map_test_support.h"
#include "scripted_shade_context.h"

#include "plugin/param_ids.h"
#include "shade/distribution_mode.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

const Palette kPalette{{65535, 0, 0, 65535}, {0, 30000, 65535, 65535}, {7, 7, 8, 65535}};

// Every change the block tells of counts (which changes it tells of, its own tests show), and so does
// following another block or none.
TEST(ShadeSettings, EveryChangeTheBlockTellsOfOrAnotherBlockMakesThemOutOfDate) {
    MapPtr map = NewMap();
    IParamBlock2& block = *map->pblock;
    BlockChangeCount count; // destroyed first: it lets go of the block before the map deletes it
    count.Follow(&block);
    const KeyTrack rising{{0, 2.0f}, {100, 4.0f}};
    const std::function<void()> changes[] = {
        [&] { block.SetValue(pb_num_colors, 0, 2); },
        [&] { block.SetKeys(pb_tile_rows, rising); },
        [&] { block.ResetAll(); },
        [&] { count.Follow(nullptr); },
        [&] { count.Follow(&block); },
    };
    // Without animated values they hold at every time, and the time is not even asked for.
    const auto never = []() -> TimeValue { throw std::logic_error("no value is animated"); };
    EXPECT_TRUE(
        ReadShadeSettings(&block, count.Count(), 0, kPalette, ShadeSettings{}).Current(count.Count(), never));
    const auto atZero = [] { return TimeValue{0}; };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const ShadeSettings before = ReadShadeSettings(&block, count.Count(), 0, kPalette, ShadeSettings{});
        ASSERT_TRUE(before.Current(count.Count(), atZero)) << "change " << i;
        changes[i]();
        EXPECT_FALSE(before.Current(count.Count(), atZero)) << "change " << i;
    }
    EXPECT_FALSE(ShadeSettings{}.Current(0, never)) << "unread";
}

// The map reads its colours again whenever its reference 0 takes another block: the new block's values
// show, and so do the changes made to it.
TEST(ShadeSettings, FollowTheMapsBlockWhereverItGoes) {
    MapPtr map = NewMap();
    map->SetPalette(kPalette);
    map->pblock->SetValue(pb_mapping_old, 0, static_cast<int>(distribution::Mode::kMaterialId));
    ScriptedShadeContext sc;
    sc.mtlNum = 2;
    const auto entryShown = [&] {
        const AColor colour = map->EvalColor(sc);
        return colour.r > 0.5f ? 0 : colour.b > 0.5f ? 1 : 2;
    };
    EXPECT_EQ(entryShown(), 2);
    RemapDir remap;
    auto* replacement = static_cast<IParamBlock2*>(remap.CloneRef(map->pblock));
    replacement->SetValue(pb_num_colors, 0, 2);
    ASSERT_EQ(map->ReplaceReference(Chromasift::kRefParamBlock, replacement), REF_SUCCEED);
    EXPECT_EQ(entryShown(), 0) << "2 modulo the new block's count";
    replacement->SetValue(pb_num_colors, 0, 3);
    EXPECT_EQ(entryShown(), 2);
    ASSERT_EQ(map->ReplaceReference(Chromasift::kRefParamBlock, nullptr), REF_SUCCEED);
    EXPECT_EQ(map->EvalColor(sc), AColor(0.0f, 0.0f, 0.0f, 1.0f)) << "no block: black";
}

TEST(ShadeSettings, AnimatedValuesHoldOnlyOverTheirTimes) {
    MapPtr map = NewMap();
    IParamBlock2& block = *map->pblock;
    block.SetKeys(pb_gamma, KeyTrack{{0, 1.0f}, {100, 2.0f}});
    // "InputMapOn" is read at time 0, so its keys do not tie the settings to the slider.
    block.SetKeys(pb_input_map_on, KeyTrack{{0, 1.0f}, {100, 0.0f}});
    const ShadeSettings at50 = ReadShadeSettings(&block, 0, 50, kPalette, ShadeSettings{});
    EXPECT_TRUE(at50.Current(0, [] { return 50; }));
    EXPECT_FALSE(at50.Current(0, [] { return 51; }));
    const ShadeSettings after = ReadShadeSettings(&block, 0, 150, kPalette, ShadeSettings{});
    EXPECT_TRUE(after.Current(0, [] { return 1000; })) << "the last key holds from there on";
    EXPECT_FALSE(after.Current(0, [] { return 99; }));
}

} // namespace
