// The map's palette operations on real images: extraction through Update, harmonisation, sorting, and the
// paths that rebuild a palette (clone, load).
#include "map_test_support.h"

#include "map/chromasift_post_load.h"
#include "palette/extraction.h"
#include "palette/harmony.h"
#include "palette/sample_grid.h"
#include "plugin/param_ids.h"
#include "scratch_folder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class ChromasiftPalette : public ::testing::Test {
protected:
    void SetUp() override { GetCOREInterface()->SetQuietMode(TRUE); }
    void TearDown() override { GetCOREInterface()->SetQuietMode(FALSE); }

    // A map with a bitmap chosen and extracted, as after the user picks a file.
    static MapPtr ExtractedMap(const char* image, int numColours = 10, int skipColours = 0) {
        MapPtr map = NewMap();
        map->pblock->SetValue(pb_skip_colors, 0, skipColours);
        ExtractFromTestImage(*map, image, numColours);
        return map;
    }
};

// The palette the plain functions give for the file, decoded by the same bitmap manager.
ExtractionResult DirectExtraction(const std::wstring& file, uint32_t numColours, uint32_t skipColours) {
    BitmapInfo info;
    info.SetName(file.c_str());
    BMMRES status = 0;
    Bitmap* bitmap = TheManager->Load(&info, &status);
    EXPECT_EQ(status, 0);
    if (bitmap == nullptr)
        return {};
    const SampleGrid grid = BuildSampleGrid(info.Width(), info.Height(), [bitmap](int x, int y) {
        BMM_Color_fl p;
        bitmap->GetLinearPixels(x, y, 1, &p);
        return AColor(p.r, p.g, p.b, p.a);
    });
    bitmap->DeleteThis();
    return ExtractPaletteFromGrid(grid, numColours, skipColours);
}

TEST_F(ChromasiftPalette, UpdateExtractsThePaletteOfTheChosenBitmap) {
    MapPtr map = ExtractedMap("rubberwhale1.png", 6, 2);
    const ExtractionResult expected = DirectExtraction(TestImage("rubberwhale1.png"), 6, 2);
    EXPECT_EQ(*map->GetPalette(), expected.palette);
    EXPECT_EQ(map->GetExtractedPalette(), expected.extractedPalette);
}

// Scenes and scripts can set counts the spinners cannot; extraction takes them as they are.
TEST_F(ChromasiftPalette, CountsBeyondTheSpinnersAreTakenAsTheyAre) {
    MapPtr map = ExtractedMap("chicky_512.png", 120, 5);
    EXPECT_EQ(*map->GetPalette(), DirectExtraction(TestImage("chicky_512.png"), 120, 5).palette);
    map->pblock->SetValue(pb_num_colors, 0, -7);
    map->pblock->SetValue(pb_skip_colors, 0, -1);
    EXPECT_EQ(map->ReadColourCounts().numColours, 0xFFFFFFF9u);
    EXPECT_EQ(map->ReadColourCounts().skipColours, 0xFFFFFFFFu);
}

// Re-extraction reuses the samples of the very file read before while it is unchanged: another file of
// the same size and write time is read afresh.
TEST_F(ChromasiftPalette, ReextractionReadsAnotherFileOfTheSameSizeAndTime) {
    const ScratchFolder folder;
    const std::filesystem::path silk = folder / "silk.png", waves = folder / "waves.png";
    std::filesystem::copy_file(TestDataFile("images/Waves.png"), waves);
    std::string bytes = ReadBytes(TestDataFile("images/Silk.png"));
    ASSERT_LT(bytes.size(), std::filesystem::file_size(waves));
    bytes.resize(std::filesystem::file_size(waves), '\0'); // bytes past the picture's end are not read
    WriteBytes(silk, bytes);
    std::filesystem::last_write_time(silk, std::filesystem::last_write_time(waves));
    MapPtr map = NewMap();
    BitmapInfo first, second;
    first.SetName(silk.wstring().c_str());
    second.SetName(waves.wstring().c_str());
    map->ExtractPalette(first, 5, 0);
    const Palette fromSilk = *map->GetPalette();
    map->ReextractPalette(second, 5, 0);
    EXPECT_EQ(*map->GetPalette(), DirectExtraction(waves.wstring(), 5, 0).palette);
    EXPECT_NE(*map->GetPalette(), fromSilk);
}

TEST_F(ChromasiftPalette, AFailedLoadKeepsThePaletteAndTheHarmonyFlag) {
    MapPtr map = ExtractedMap("chicky_512.png", 4);
    map->pblock->SetValue(pb_harmony, 0, 2);
    map->HarmonisePalette();
    const Palette before = *map->GetPalette();
    BitmapInfo missing;
    missing.SetName(L"no-such-picture.png");
    map->ExtractPalette(missing, 4, 0);
    EXPECT_EQ(*map->GetPalette(), before);
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized), 1);
}

TEST_F(ChromasiftPalette, HarmonyNoneUndoesSortAndHarmony) {
    MapPtr map = ExtractedMap("starry_night.jpg", 8);
    const Palette extracted = map->GetExtractedPalette();
    map->pblock->SetValue(pb_harmony, 0, 7);
    map->HarmonisePalette();
    EXPECT_EQ(*map->GetPalette(), *HarmonisePalette(extracted, 7));
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized), 1);

    map->pblock->SetValue(pb_sort, 0, 1);
    map->AutoSortPalette();

    map->pblock->SetValue(pb_harmony, 0, 0);
    map->HarmonisePalette();
    EXPECT_EQ(*map->GetPalette(), extracted);
    EXPECT_EQ(map->pblock->GetInt(pb_is_harmonized), 1);
}

TEST_F(ChromasiftPalette, ClonesExtractAfreshAndHarmoniseAgain) {
    MapPtr map = ExtractedMap("YellowFlower.jpg", 7);
    map->pblock->SetValue(pb_harmony, 0, 3);
    map->HarmonisePalette();
    EXPECT_EQ(*CloneOf(*map)->GetPalette(), *map->GetPalette())
        << "by the cloned map's flag, not the clone's";
    map->pblock->SetValue(pb_is_harmonized, 0, 0);
    map->pblock->SetValue(pb_sort, 0, 4);
    map->AutoSortPalette();
    ASSERT_NE(*map->GetPalette(), map->GetExtractedPalette());
    EXPECT_EQ(*CloneOf(*map)->GetPalette(), map->GetExtractedPalette());
}

TEST_F(ChromasiftPalette, LoadingRestoresPaletteHarmonyAndSourceMap) {
    MapPtr saved = ExtractedMap("Waves.png", 5);
    saved->pblock->SetValue(pb_harmony, 0, 5);
    saved->HarmonisePalette();

    // A loaded map receives the stored block; the palette lists are not stored.
    MapPtr loaded = WithStoredBlock(*saved);
    loaded->pblock->SetValue(pb_source_map, 0, static_cast<Texmap*>(nullptr));
    LoadAndRunCallbacks(*loaded);
    EXPECT_EQ(*loaded->GetPalette(), *saved->GetPalette());
    EXPECT_EQ(loaded->pblock->GetInt(pb_is_harmonized), 1) << "harmonised again";
    auto* source = dynamic_cast<BitmapTex*>(loaded->GetSubTexmap(1));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetMapName(), TestImage("Waves.png"));

    // A source map already in place stays.
    MapPtr again = WithStoredBlock(*loaded);
    Texmap* kept = again->GetSubTexmap(1);
    ASSERT_NE(kept, nullptr);
    LoadAndRunCallbacks(*again);
    EXPECT_EQ(again->GetSubTexmap(1), kept);
}

TEST_F(ChromasiftPalette, LoadingWithAMissingBitmapLeavesAnEmptyPalette) {
    // In animate mode a write at the slider's time would set keys; the upgrade writes at time 0.
    const SliderAt animating(kSliderTime, true);
    // First-version maps in "Per Face" (Objects, sub-mode 5) and "Mirror" (Pixels, sub-mode 2).
    const struct {
        int stored, category;
        ChromasiftParamId subModeParam;
        int subMode;
    } rows[] = {{12, 1, pb_object_mapping, 5}, {11, 0, pb_pixel_mapping, 2}};
    for (const auto& row : rows) {
        MapPtr source = NewMap();
        SetBitmap(*source, L"vanished-photo.jpg");
        source->pblock->SetValue(pb_mapping_old, 0, row.stored);
        source->pblock->SetValue(pb_version, 0, 1);
        MapPtr loaded = WithStoredBlock(*source);
        LoadAndRunCallbacks(*loaded);
        EXPECT_TRUE(loaded->GetPalette()->empty());
        ASSERT_NE(loaded->GetSubTexmap(1), nullptr)
            << "the source map names the file even when it is missing";
        // The first-version conversion still happens: it needs a stored bitmap, not a readable one.
        EXPECT_EQ(loaded->pblock->GetInt(pb_mapping), row.category) << row.stored;
        EXPECT_EQ(loaded->pblock->GetInt(row.subModeParam), row.subMode) << row.stored;
        EXPECT_EQ(loaded->pblock->GetInt(pb_version), 2);
        EXPECT_EQ(loaded->pblock->GetInt(pb_mapping_old), row.stored) << "the combined mode itself is kept";
        for (ParamID id : {pb_mapping, row.subModeParam, pb_version})
            EXPECT_TRUE(loaded->pblock->GetKeys(id).empty()) << "parameter " << id;
    }
}

TEST_F(ChromasiftPalette, LoadingASecondVersionMapNeverConvertsItsMode) {
    MapPtr source = NewMap();
    SetBitmap(*source, TestImage("Waves.png"));
    source->pblock->SetValue(pb_mapping_old, 0, 9);
    source->pblock->SetValue(pb_mapping, 0, 2);
    MapPtr loaded = WithStoredBlock(*source);
    LoadAndRunCallbacks(*loaded);
    ASSERT_FALSE(loaded->GetPalette()->empty()) << "the bitmap was read, so a conversion could have run";
    EXPECT_EQ(loaded->pblock->GetInt(pb_mapping), 2) << "not Objects, as stored mode 9 would convert to";
}

TEST(LegacyModes, EveryStoredModeHasItsRolloutPair) {
    const struct {
        int stored, category;
        short param;
        int subMode;
    } table[] = {{0, 0, pb_pixel_mapping, 0},   {1, 0, pb_pixel_mapping, 1},  {11, 0, pb_pixel_mapping, 2},
                 {2, 2, pb_coord_mapping, 0},   {3, 2, pb_coord_mapping, 1},  {4, 2, pb_coord_mapping, 2},
                 {13, 2, pb_coord_mapping, 3},  {5, 3, pb_input_mapping, 0},  {14, 3, pb_input_mapping, 1},
                 {15, 3, pb_input_mapping, 2},  {6, 1, pb_object_mapping, 0}, {10, 1, pb_object_mapping, 1},
                 {9, 1, pb_object_mapping, 2},  {7, 1, pb_object_mapping, 3}, {8, 1, pb_object_mapping, 4},
                 {12, 1, pb_object_mapping, 5}, {16, 1, pb_object_mapping, 6}};
    for (const auto& row : table) {
        const LegacyModeConversion c = ConvertLegacyMode(row.stored);
        EXPECT_EQ(c.category, row.category) << row.stored;
        EXPECT_EQ(c.subModeParam, row.param) << row.stored;
        EXPECT_EQ(c.subMode, row.subMode) << row.stored;
    }
    EXPECT_EQ(ConvertLegacyMode(17).category, -1);
    EXPECT_EQ(ConvertLegacyMode(-1).category, -1);
}

} // namespace
