// The distribution-mode table and the category layout it drives.
#include "plugin/resource_ids.h"
#include "ui/mode_choices.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <string>

namespace {

// Every radio of every category with its label and the combined mode shading switches on (scenes keep
// these values). Which sub-mode each combined mode stores is the map's legacy-mode test.
struct ChoiceRow {
    int category, radio;
    const wchar_t* label;
    int combinedMode;
};
constexpr ChoiceRow kChoiceRows[] = {
    {0, 1046, L"Random", 0},           {0, 1047, L"Linear", 1},
    {0, 1048, L"Mirror", 11},          {1, 1046, L"Object (linear)", 6},
    {1, 1047, L"Object (random)", 10}, {1, 1048, L"Per Element", 9},
    {1, 1049, L"Object ID", 7},        {1, 1050, L"Material ID", 8},
    {1, 1051, L"Per Face", 12},        {1, 1060, L"VRay Instance (rnd)", 16},
    {2, 1046, L"1D Mapping", 2},       {2, 1047, L"2D Mapping", 3},
    {2, 1048, L"3D Mapping", 4},       {2, 1049, L"As Tiles", 13},
    {3, 1046, L"Input map", 5},        {3, 1047, L"BerconTile(Lin)", 14},
    {3, 1048, L"BerconTile(Rnd)", 15},
};

TEST(ModeChoices, EveryRadioOfEveryCategoryStoresItsValues) {
    EXPECT_EQ(ModeChoices().size(), std::size(kChoiceRows));
    for (const ChoiceRow& row : kChoiceRows) {
        SCOPED_TRACE(testing::Message() << "category " << row.category << ", radio " << row.radio);
        const ModeChoice* choice = FindModeChoice(row.category, row.radio);
        ASSERT_NE(choice, nullptr);
        EXPECT_STREQ(choice->label, row.label);
        EXPECT_EQ(choice->combinedMode, row.combinedMode);
        EXPECT_EQ(FindModeChoiceBySubMode(row.category, choice->subModeValue), choice);
        EXPECT_EQ(SubModeParameter(row.category), choice->subMode);
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
