// The distribution-mode table and the category layout it drives.
#include "plugin/resource_ids.h"
#include "ui/mode_choices.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <string>

namespace {

// Every radio of every category as the rollout has always stored it (scenes keep these values): its label,
// the category's sub-mode parameter, the radio's sub-mode value and the combined mode shading switches on.
struct ChoiceRow {
    int category, radio;
    const wchar_t* label;
    ChromasiftParamId subMode;
    int subModeValue, combinedMode;
};
constexpr ChoiceRow kChoiceRows[] = {
    {0, 1046, L"Random", pb_pixel_mapping, 0, 0},
    {0, 1047, L"Linear", pb_pixel_mapping, 1, 1},
    {0, 1048, L"Mirror", pb_pixel_mapping, 2, 11},
    {1, 1046, L"Object (linear)", pb_object_mapping, 0, 6},
    {1, 1047, L"Object (random)", pb_object_mapping, 1, 10},
    {1, 1048, L"Per Element", pb_object_mapping, 2, 9},
    {1, 1049, L"Object ID", pb_object_mapping, 3, 7},
    {1, 1050, L"Material ID", pb_object_mapping, 4, 8},
    {1, 1051, L"Per Face", pb_object_mapping, 5, 12},
    {1, 1060, L"VRay Instance (rnd)", pb_object_mapping, 6, 16},
    {2, 1046, L"1D Mapping", pb_coord_mapping, 0, 2},
    {2, 1047, L"2D Mapping", pb_coord_mapping, 1, 3},
    {2, 1048, L"3D Mapping", pb_coord_mapping, 2, 4},
    {2, 1049, L"As Tiles", pb_coord_mapping, 3, 13},
    {3, 1046, L"Input map", pb_input_mapping, 0, 5},
    {3, 1047, L"BerconTile(Lin)", pb_input_mapping, 1, 14},
    {3, 1048, L"BerconTile(Rnd)", pb_input_mapping, 2, 15},
};

TEST(ModeChoices, EveryRadioOfEveryCategoryStoresItsValues) {
    EXPECT_EQ(ModeChoices().size(), std::size(kChoiceRows));
    for (const ChoiceRow& row : kChoiceRows) {
        SCOPED_TRACE(testing::Message() << "category " << row.category << ", radio " << row.radio);
        const ModeChoice* choice = FindModeChoice(row.category, row.radio);
        ASSERT_NE(choice, nullptr);
        EXPECT_STREQ(choice->label, row.label);
        EXPECT_EQ(choice->subMode, row.subMode);
        EXPECT_EQ(choice->subModeValue, row.subModeValue);
        EXPECT_EQ(choice->combinedMode, row.combinedMode);
        EXPECT_EQ(FindModeChoiceBySubMode(row.category, row.subModeValue), choice);
        EXPECT_EQ(SubModeParameter(row.category), row.subMode);
    }
}

TEST(ModeChoices, RadiosAndSubModesOutsideTheCategoryNameNothing) {
    EXPECT_EQ(FindModeChoiceBySubMode(0, 3), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(2, 4), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(1, 7), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(1, -1), nullptr);
    EXPECT_EQ(FindModeChoice(3, IDC_MODE_RADIO_4), nullptr);
    EXPECT_EQ(FindModeChoice(1, IDC_MANUAL_BUTTON), nullptr);
    EXPECT_FALSE(SubModeParameter(4));
    EXPECT_FALSE(SubModeParameter(-1));
}

const std::set<int> kInputMapControls = {1052, 1033, 1034};
const std::set<int> kTilingControls = {1551, 1053, 1054, 1040, 1041, 1042, 1043};

// Each category shows its radios (the V-Ray one only under V-Ray) with their labels, and its own controls;
// every layout decides every control, since one left out would keep what the previous category showed.
TEST(CategoryLayout, EachCategoryShowsItsRadiosAndItsOwnControlsOnly) {
    const struct {
        int category;
        bool vray;
        std::set<int> shown;
    } rows[] = {
        {0, true, {1046, 1047, 1048}},
        {1, false, {1046, 1047, 1048, 1049, 1050, 1051}},
        {1, true, {1046, 1047, 1048, 1049, 1050, 1051, 1060}},
        {2, true, {1046, 1047, 1048, 1049, 1551, 1053, 1054, 1040, 1041, 1042, 1043}},
        {3, true, {1046, 1047, 1048, 1052, 1033, 1034}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "category " << row.category << (row.vray ? ", V-Ray" : ""));
        const auto layout = LayOutCategory(row.category, row.vray);
        ASSERT_TRUE(layout);
        std::set<int> decided, shown;
        for (const auto& [control, visible] : layout->visibility) {
            decided.insert(control);
            if (visible)
                shown.insert(control);
        }
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(decided.size(), 7u + kInputMapControls.size() + kTilingControls.size());
        std::map<int, std::wstring> labels, expected;
        for (const auto& [radio, text] : layout->labels)
            labels[radio] = text;
        for (const ChoiceRow& choice : kChoiceRows)
            if (choice.category == row.category)
                expected[choice.radio] = choice.label;
        EXPECT_EQ(labels, expected);
    }
    EXPECT_FALSE(LayOutCategory(-1, false));
    EXPECT_FALSE(LayOutCategory(4, true));
}

} // namespace
