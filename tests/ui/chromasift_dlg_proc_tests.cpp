// The rollout's dialog procedure, message by message, on the parameters it reads and writes. These run
// in both builds; the Windows build's window tests check the real controls as well.
#include "map_test_support.h"
#include "scratch_folder.h"

#include "palette/harmony.h"
#include "palette/palette_sort.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "test_files.h"
#include "ui/chromasift_dlg_proc.h"
#include "ui/rollout_controls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

class RolloutProcedure : public ::testing::Test {
protected:
    void SetUp() override {
        GetCOREInterface()->SetQuietMode(TRUE);
        GetCOREInterface()->SetTime(0);
        map = NewMap();
        theChromasiftDlgProc.SetMap(map.get());
    }
    void TearDown() override {
        GetCOREInterface()->SetQuietMode(FALSE);
        GetCOREInterface()->SetTime(0);
    }

    INT_PTR Send(MapID rollout, UINT message, WPARAM wParam = 0) {
        ParamMapSpec layout;
        layout.mapId = rollout;
        IParamMap2 paramMap(map->pblock, layout);
        return theChromasiftDlgProc.DlgProc(0, &paramMap, nullptr, message, wParam, 0);
    }
    INT_PTR Command(int control, int notification = 0, MapID rollout = kParamsMapId) {
        return Send(rollout, WM_COMMAND, static_cast<WPARAM>((notification << 16) | control));
    }
    INT_PTR SpinnerChange(int spinner, bool dragging = false) {
        return Send(kParamsMapId, CC_SPINNER_CHANGE, static_cast<WPARAM>((dragging ? 1 << 16 : 0) | spinner));
    }
    int Get(ChromasiftParamId id) { return map->pblock->GetInt(id, GetCOREInterface()->GetTime()); }
    void Set(ChromasiftParamId id, int value) { Set({{id, value}}); }
    void Set(std::initializer_list<std::pair<ChromasiftParamId, int>> values) {
        for (const auto& [id, value] : values)
            map->pblock->SetValue(id, GetCOREInterface()->GetTime(), value);
    }

    void Extract(const char* image, int numColours) { ExtractFromTestImage(*map, image, numColours); }
    // The palette another map extracts from the test image.
    Palette PaletteOf(const char* image, int numColours, int skipColours = 0) {
        MapPtr other = NewMap();
        other->pblock->SetValue(pb_skip_colors, 0, skipColours);
        ExtractFromTestImage(*other, image, numColours);
        Palette palette = *other->GetPalette();
        other.reset();
        theChromasiftDlgProc.SetMap(map.get()); // a new map makes itself the rollout's map
        return palette;
    }

    MapPtr map;
};

// Each radio's values are the mode table's; a click writes the choice's sub-mode and combined mode.
TEST_F(RolloutProcedure, ARadioClickWritesItsSubModeAndTheCombinedMode) {
    const struct {
        int category, radio;
        ChromasiftParamId subMode;
        int subModeValue, combinedMode;
    } rows[] = {{1, 1051, pb_object_mapping, 5, 12}, {3, 1048, pb_input_mapping, 2, 15}};
    for (const auto& row : rows) {
        Set({{pb_mapping, row.category}, {row.subMode, -1}, {pb_mapping_old, -1}});
        Command(row.radio, BN_CLICKED);
        EXPECT_EQ(Get(row.subMode), row.subModeValue) << "radio " << row.radio;
        EXPECT_EQ(Get(pb_mapping_old), row.combinedMode) << "radio " << row.radio;
    }
}

TEST_F(RolloutProcedure, ARadioWithoutARoleInTheCategoryChangesNothing) {
    Set({{pb_mapping, 0}, {pb_pixel_mapping, 1}, {pb_mapping_old, 1}});
    for (int radio : {1049, 1050, 1051, 1060})
        Command(radio);
    EXPECT_EQ(Get(pb_pixel_mapping), 1);
    EXPECT_EQ(Get(pb_mapping_old), 1);
    EXPECT_EQ(Get(pb_object_mapping), 0);
}

// "As Tiles" alone sets the generator to map-channel coordinates (1); without a generator it is still chosen.
TEST_F(RolloutProcedure, AsTilesSwitchesTheCoordinatesToMapChannels) {
    auto* coords = static_cast<StdXYZGen*>(map->GetTheXYZGen());
    ASSERT_TRUE(coords != nullptr && coords->IsStdXYZGen());
    Set(pb_mapping, 2);
    const int rows[][3] = {{1048, 0, 0}, {1049, 0, 1}, {1048, 2, 2}}; // radio, coordinates before, after
    for (const auto& [radio, before, after] : rows) {
        coords->SetCoordSystem(before);
        Command(radio);
        EXPECT_EQ(coords->GetCoordSystem(), after) << "radio " << radio;
    }
    map->ReplaceReference(1, nullptr);
    Command(1049);
    EXPECT_EQ(Get(pb_coord_mapping), 3);
    EXPECT_EQ(Get(pb_mapping_old), 13);
}

TEST_F(RolloutProcedure, OpeningTheRolloutBringsTheCombinedModeIntoLine) {
    // An older scene: the category and sub-mode say "As Tiles", the combined mode still says "Random".
    Set({{pb_mapping, 2}, {pb_coord_mapping, 3}, {pb_mapping_old, 0}});
    auto* coords = static_cast<StdXYZGen*>(map->GetTheXYZGen());
    coords->SetCoordSystem(0);
    Send(kParamsMapId, WM_INITDIALOG);
    EXPECT_EQ(Get(pb_mapping_old), 13);
    EXPECT_EQ(coords->GetCoordSystem(), 1);

    // A new category chosen in the list takes its own stored sub-mode.
    Set({{pb_mapping, 1}, {pb_object_mapping, 5}});
    Command(IDC_MAPPING_COMBO, CBN_SELCHANGE);
    EXPECT_EQ(Get(pb_mapping_old), 12);

    // Opened in animate mode away from frame 0, the layout writes the combined mode alone: the sub-mode it
    // reads gains no keys.
    {
        const SliderAt slider(kSliderTime, true);
        Send(kParamsMapId, WM_INITDIALOG);
    }
    EXPECT_TRUE(map->pblock->GetKeys(pb_object_mapping).empty());
}

TEST_F(RolloutProcedure, OutOfRangeCategoriesAndSubModesWriteNothing) {
    Set({{pb_mapping_old, 7}, {pb_mapping, 2}, {pb_coord_mapping, 4}});
    Send(kParamsMapId, WM_INITDIALOG);
    EXPECT_EQ(Get(pb_mapping_old), 7);
    Set(pb_mapping, 4);
    Send(kParamsMapId, WM_INITDIALOG);
    Command(1046);
    EXPECT_EQ(Get(pb_mapping_old), 7);
    EXPECT_EQ(Get(pb_coord_mapping), 4);
}

TEST_F(RolloutProcedure, TheAboutRolloutIgnoresTheParameterControls) {
    Set({{pb_mapping, 0}, {pb_mapping_old, 5}});
    Send(kAboutMapId, WM_INITDIALOG);
    Command(1046, 0, kAboutMapId);
    Command(IDC_BITMAP_BUTTON, 0, kAboutMapId);
    EXPECT_EQ(Get(pb_mapping_old), 5);
    EXPECT_FALSE(map->IsExtractPending());
}

TEST_F(RolloutProcedure, OnlyTheBitmapButtonAsksForExtraction) {
    Command(IDC_SWATCH_FRAME);
    Send(kParamsMapId, WM_PAINT);
    SpinnerChange(IDC_GAMMA_SPIN);
    Send(kParamsMapId, WM_USER + 1);
    EXPECT_FALSE(map->IsExtractPending());
    Command(IDC_BITMAP_BUTTON, BN_CLICKED);
    EXPECT_TRUE(map->IsExtractPending());
}

TEST_F(RolloutProcedure, TheCountSpinnersReExtract) {
    Extract("rubberwhale1.png", 10);
    ASSERT_EQ(map->GetPalette()->size(), 10u);

    Set(pb_num_colors, 4);
    SpinnerChange(IDC_NUM_COLORS_SPIN, true);
    EXPECT_EQ(map->GetPalette()->size(), 4u);
    const Palette four = *map->GetPalette();

    // Skipping drops the most common colours of the same extraction.
    Set(pb_skip_colors, 2);
    SpinnerChange(IDC_SKIP_COLORS_SPIN);
    ASSERT_EQ(map->GetPalette()->size(), 4u);
    EXPECT_EQ(map->GetPalette()->front(), four[2]);

    // Other spinners repaint only.
    Set(pb_num_colors, 6);
    SpinnerChange(IDC_GAMMA_SPIN);
    EXPECT_EQ(map->GetPalette()->size(), 4u);
}

TEST_F(RolloutProcedure, ReExtractionReadsTheCountsAtTheCurrentTime) {
    Extract("rubberwhale1.png", 10);
    KeyThreeTimes(*map->pblock, pb_num_colors, 3, 7, 5);
    KeyThreeTimes(*map->pblock, pb_skip_colors, 0, 2, 1);
    const SliderAt slider;
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    // The swatches show as many as "# colors" at the slider.
    Send(kParamsMapId, WM_PAINT);
    EXPECT_EQ(LastSwatchCount(), 7);
    EXPECT_EQ(*map->GetPalette(), PaletteOf("rubberwhale1.png", 7, 2)) << "seven colours after skipping two";
}

TEST_F(RolloutProcedure, ChoicesAreReadAndWrittenAtTheCurrentTime) {
    // The category at the slider is Objects; at 0 and at the render it is Pixels and Input map.
    KeyThreeTimes(*map->pblock, pb_mapping, 0, 1, 3);
    Set(pb_object_mapping, 4);
    const SliderAt slider(kSliderTime, true);
    // The layout, on opening and on a list change, reads the category and its sub-mode at the slider.
    for (const UINT message : {UINT{WM_INITDIALOG}, UINT{WM_COMMAND}}) {
        map->pblock->SetKeys(pb_mapping_old, {});
        map->pblock->SetValue(pb_mapping_old, 0, 0);
        if (message == WM_INITDIALOG)
            Send(kParamsMapId, WM_INITDIALOG);
        else
            Command(IDC_MAPPING_COMBO, CBN_SELCHANGE);
        EXPECT_EQ(map->pblock->GetInt(pb_mapping_old, kSliderTime), 8) << message;
    }
    Command(IDC_MODE_RADIO_2, BN_CLICKED);
    // In animate mode the writes are keys at the slider's time; time 0 keeps what it had.
    EXPECT_EQ(map->pblock->GetInt(pb_object_mapping, kSliderTime), 1);
    EXPECT_EQ(map->pblock->GetInt(pb_mapping_old, kSliderTime), 10);
    EXPECT_EQ(map->pblock->GetInt(pb_mapping_old, 0), 0);
}

TEST_F(RolloutProcedure, ReExtractionWithoutABitmapKeepsThePalette) {
    Palette twelve(12);
    for (std::size_t i = 0; i < twelve.size(); ++i)
        twelve[i].red = static_cast<std::uint16_t>(0x1000 * i);
    map->SetPalette(twelve);
    Set(pb_num_colors, 4);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    SpinnerChange(IDC_SKIP_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), twelve);
    Set(pb_num_colors, 20);
    Send(kParamsMapId, WM_PAINT);
    EXPECT_EQ(LastSwatchCount(), 12) << "no more cells than colours";
}

// The picture as the map last read it, in a file of the test's own that the test then changes.
class RolloutPicture : public RolloutProcedure {
protected:
    void SetUp() override {
        RolloutProcedure::SetUp();
        // In a folder of the test's own, with letters outside ASCII, as the names of users' pictures have.
        file = scratch / "\u00e9t\u00e9.png";
        const std::wstring inFolder = (scratch.Path() / "x").wstring(); // ASCII: no locale needed
        fileName = inFolder.substr(0, inFolder.size() - 1) + L"\u00e9t\u00e9.png";
        Place("rubberwhale1.png");
        Set(pb_num_colors, 10);
        SetBitmap(*map, fileName);
        map->MarkExtractPending();
        Interval valid = FOREVER;
        map->Update(0, valid);
        ASSERT_EQ(map->GetPalette()->size(), 10u);
    }
    // Puts a copy of the test image where the map's bitmap is, written a minute later than the last one.
    void Place(const char* image) {
        const bool existed = std::filesystem::exists(file);
        const auto written =
            existed ? std::filesystem::last_write_time(file) : std::filesystem::file_time_type();
        std::filesystem::copy_file(TestDataFile(std::string("images/") + image), file,
                                   std::filesystem::copy_options::overwrite_existing);
        if (existed)
            std::filesystem::last_write_time(file, written + std::chrono::minutes(1));
    }

    ScratchFolder scratch;
    std::filesystem::path file;
    std::wstring fileName; // the same file as the map names it
};

TEST_F(RolloutPicture, ACountChangeReadsThePictureAsItIsNow) {
    Place("Silk.png");
    Set(pb_num_colors, 5);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), PaletteOf("Silk.png", 5)) << "the new picture's colours";

    // And back, with the other count spinner.
    Place("rubberwhale1.png");
    Set(pb_skip_colors, 1);
    SpinnerChange(IDC_SKIP_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), PaletteOf("rubberwhale1.png", 5, 1));
}

TEST_F(RolloutPicture, ACountChangeAfterThePictureWentKeepsThePalette) {
    const Palette before = *map->GetPalette();
    std::filesystem::remove(file);
    GetCOREInterface()->SetQuietMode(TRUE); // the message itself is checked where message boxes are recorded
    Set(pb_num_colors, 5);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), before) << "nothing to extract from: the palette stays";
    // Back again, it is read again.
    Place("rubberwhale1.png");
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), PaletteOf("rubberwhale1.png", 5));
}

TEST_F(RolloutPicture, AnUnchangedPictureIsNotDecodedAgain) {
    // Garbage of the same size with the old write time: only a new decoding would notice, and it fails.
    const auto written = std::filesystem::last_write_time(file);
    const auto size = std::filesystem::file_size(file);
    {
        std::ofstream garbage(file, std::ios::binary | std::ios::trunc);
        garbage << std::string(static_cast<std::size_t>(size), 'x');
    }
    std::filesystem::last_write_time(file, written);
    Set(pb_num_colors, 5);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    EXPECT_EQ(*map->GetPalette(), PaletteOf("rubberwhale1.png", 5)) << "the samples read before were reused";
}

TEST_F(RolloutProcedure, TheListsSortAndHarmoniseByTheStoredChoice) {
    Extract("rubberwhale1.png", 8);
    Set(pb_sort, 2);
    Palette expected = *map->GetPalette();
    AutoSortPalette(expected, 2);
    // Opening the drop-down without a new choice re-sorts too.
    Command(IDC_SORTS_COMBO, CBN_DROPDOWN);
    EXPECT_EQ(*map->GetPalette(), expected);

    Set(pb_harmony, 3);
    Command(IDC_HARMONY_COMBO, CBN_SELCHANGE);
    EXPECT_EQ(*map->GetPalette(), *HarmonisePalette(map->GetExtractedPalette(), 3));
    EXPECT_EQ(Get(pb_is_harmonized), 1);
}

// The lists and the count spinners refresh the open rollouts, with a bitmap or without; other spinners
// repaint only.
TEST_F(RolloutProcedure, PaletteChangesRefreshTheOpenRollouts) {
    Extract("rubberwhale1.png", 8);
    IAutoMParamDlg* dialog = static_cast<IAutoMParamDlg*>(map->CreateParamDlg(nullptr, nullptr));
    ASSERT_NE(dialog, nullptr);
    IParamMap2* open = GetChromasiftDesc()->GetParamMap(0);
    const int before = open->InvalidationCount();
    Command(IDC_SORTS_COMBO);
    Command(IDC_HARMONY_COMBO);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    SpinnerChange(IDC_TILE_ROWS_SPIN);
    EXPECT_EQ(open->InvalidationCount(), before + 3);
    map->pblock->SetValue(pb_bitmap, 0, static_cast<PBBitmap*>(nullptr));
    SpinnerChange(IDC_SKIP_COLORS_SPIN);
    EXPECT_EQ(open->InvalidationCount(), before + 4);
    dialog->DeleteThis();
}

TEST_F(RolloutProcedure, WithoutAMapNothingHappens) {
    Set({{pb_mapping, 2}, {pb_coord_mapping, 3}});
    theChromasiftDlgProc.SetMap(nullptr);
    Command(1046);
    SpinnerChange(IDC_NUM_COLORS_SPIN);
    Send(kParamsMapId, WM_INITDIALOG);
    Send(kParamsMapId, WM_PAINT);
    EXPECT_EQ(Get(pb_mapping_old), 0);
}

} // namespace
