// The times the map reads and writes its parameters at, outside shading: Update, cloning, construction,
// the sub-map switch and the post-load upgrade work at time 0; extraction, sorting and harmonisation at the
// slider's time. Each test keys a parameter to other values at 0, at the slider and at the render's time.
#include "map_test_support.h"

#include "palette/harmony.h"
#include "palette/palette_sort.h"
#include "plugin/param_ids.h"

#include "hostsdk/anim_time.h"

#include <gtest/gtest.h>

namespace {

class ChromasiftTimes : public ::testing::Test {
protected:
    void SetUp() override { GetCOREInterface()->SetQuietMode(TRUE); }
    void TearDown() override { GetCOREInterface()->SetQuietMode(FALSE); }

    // A map whose bitmap waits for Update, with counts keyed: 3 and 0 at time 0, others later.
    static MapPtr PendingMap() {
        MapPtr map = NewMap();
        SetBitmap(*map, TestImage("rubberwhale1.png"));
        KeyThreeTimes(*map->pblock, pb_num_colors, 3, 5, 7);
        KeyThreeTimes(*map->pblock, pb_skip_colors, 0, 1, 2);
        map->MarkExtractPending();
        return map;
    }
};

TEST_F(ChromasiftTimes, UpdateAndClonesExtractWithTheCountsAtTimeZero) {
    MapPtr reference = NewMap();
    ExtractFromTestImage(*reference, "rubberwhale1.png", 3);

    const SliderAt slider;
    MapPtr map = PendingMap();
    Interval valid = FOREVER;
    map->Update(kRenderTime, valid);
    EXPECT_EQ(*map->GetPalette(), *reference->GetPalette()) << "three colours, none skipped";
    EXPECT_EQ(valid, FOREVER) << "the keyed counts do not narrow the validity";
    EXPECT_EQ(map->Validity(kRenderTime), FOREVER) << "nor the map's own";

    // The clone harmonises again because "Is harmonized" is 1 at time 0, whatever it is later.
    map->pblock->SetValue(pb_harmony, kSliderTime, 2);
    KeyThreeTimes(*map->pblock, pb_is_harmonized, 1, 0, 0);
    RemapDir remap;
    MapPtr copy(static_cast<Chromasift*>(map->Clone(remap)));
    EXPECT_EQ(copy->GetExtractedPalette(), reference->GetExtractedPalette());
    EXPECT_EQ(*copy->GetPalette(), HarmonisePalette(reference->GetExtractedPalette(), 2).value());
}

TEST_F(ChromasiftTimes, LoadingExtractsWithTheCountsAtTimeZero) {
    MapPtr reference = NewMap();
    ExtractFromTestImage(*reference, "rubberwhale1.png", 3);
    MapPtr saved = PendingMap();
    // Harmonised at the slider and later, not at time 0: loading does not harmonise.
    saved->pblock->SetValue(pb_harmony, 0, 2);
    KeyThreeTimes(*saved->pblock, pb_is_harmonized, 0, 1, 1);
    const SliderAt slider;
    MapPtr loaded = WithStoredBlock(*saved);
    LoadAndRunCallbacks(*loaded);
    EXPECT_EQ(*loaded->GetPalette(), *reference->GetPalette());
}

TEST_F(ChromasiftTimes, ConstructionAndTheInputSwitchWriteAtTimeZero) {
    // In animate mode a write at the slider's time would set keys; writes at time 0 set plain values.
    const SliderAt slider(kSliderTime, true);
    MapPtr map = NewMap();
    // "Version" 2 and every mode number 0.
    for (ParamID id : {pb_version, pb_mapping_old, pb_pixel_mapping, pb_object_mapping, pb_coord_mapping,
                       pb_input_mapping}) {
        EXPECT_TRUE(map->pblock->GetKeys(id).empty()) << "parameter " << id;
        EXPECT_EQ(map->pblock->GetInt(id, 0), id == pb_version ? 2 : 0) << "parameter " << id;
    }

    map->SetSubTexmap(Chromasift::kSubMapInput, NewDefaultBitmapTex());
    EXPECT_TRUE(map->pblock->GetKeys(pb_input_map_on).empty());
    EXPECT_EQ(map->SubTexmapOn(Chromasift::kSubMapInput), 1);
    KeyThreeTimes(*map->pblock, pb_input_map_on, 0, 1, 1);
    EXPECT_EQ(map->SubTexmapOn(Chromasift::kSubMapInput), 0) << "read at time 0";
}

TEST_F(ChromasiftTimes, SortingAndHarmonisingUseTheSliderTime) {
    MapPtr map = NewMap();
    ExtractFromTestImage(*map, "YellowFlower.jpg", 8);
    const Palette extracted = map->GetExtractedPalette();
    const SliderAt slider(kSliderTime, true);
    KeyThreeTimes(*map->pblock, pb_sort, 0, 3, 4);
    map->AutoSortPalette();
    Palette sorted = extracted;
    AutoSortPalette(sorted, 3);
    EXPECT_EQ(*map->GetPalette(), sorted);

    KeyThreeTimes(*map->pblock, pb_harmony, 0, 4, 6);
    KeyThreeTimes(*map->pblock, pb_is_harmonized, 0, 0, 0);
    map->HarmonisePalette();
    EXPECT_EQ(*map->GetPalette(), HarmonisePalette(extracted, 4).value());
    // In animate mode the flag is keyed at the slider's time.
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized, kSliderTime), 1);
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized, 0), 0);

    // Extraction in animate mode clears the flag at the slider's time.
    map->pblock->SetKeys(pb_is_harmonized, KeyTrack{});
    map->pblock->SetValue(pb_is_harmonized, 0, 1);
    BitmapInfo flower;
    flower.SetName(TestImage("YellowFlower.jpg").c_str());
    map->ExtractPalette(flower, 8, 0);
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized, kSliderTime), 0);
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized, 0), 1);
}

} // namespace
