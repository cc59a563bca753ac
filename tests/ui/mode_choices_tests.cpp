// The distribution-mode table and the category layout it drives.
#include "plugin/resource_ids.h"
#include "ui/mode_choices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

std::set<int> ShownControls(const CategoryLayout& layout) {
    std::set<int> shown;
    for (const auto& [control, visible] : layout.visibility)
        if (visible)
            shown.insert(control);
    return shown;
}

std::map<int, std::wstring> Labels(const CategoryLayout& layout) {
    std::map<int, std::wstring> labels;
    for (const auto& [radio, text] : layout.labels)
        labels[radio] = text;
    return labels;
}

const std::set<int> kInputMapControls = {1052, 1033, 1034};
const std::set<int> kTilingControls = {1551, 1053, 1054, 1040, 1041, 1042, 1043};

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(CategoryLayout, EachCategoryShowsItsRadiosAndItsOwnControlsOnly) {
    const auto pixels = LayOutCategory(0, false);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(ShownControls(*pixels), (std::set<int>{1046, 1047, 1048}));
    EXPECT_EQ(Labels(*pixels),
              (std::map<int, std::wstring>{{1046, L"Random"}, {1047, L"Linear"}, {1048, L"Mirror"}}));

    const auto objects = LayOutCategory(1, false);
    ASSERT_TRUE(objects);
    EXPECT_EQ(ShownControls(*objects), (std::set<int>{1046, 1047, 1048, 1049, 1050, 1051}));
    EXPECT_EQ(Labels(*objects), (std::map<int, std::wstring>{{1046, L"Object (linear)"},
                                                             {1047, L"Object (random)"},
                                                             {1048, L"Per Element"},
                                                             {1049, L"Object ID"},
                                                             {1050, L"Material ID"},
                                                             {1051, L"Per Face"},
                                                             {1060, L"VRay Instance (rnd)"}}));

    const auto coordinates = LayOutCategory(2, true);
    ASSERT_TRUE(coordinates);
    EXPECT_EQ(ShownControls(*coordinates), Union({1046, 1047, 1048, 1049}, kTilingControls));
    EXPECT_EQ(Labels(*coordinates),
              (std::map<int, std::wstring>{
                  {1046, L"1D Mapping"}, {1047, L"2D Mapping"}, {1048, L"3D Mapping"}, {1049, L"As Tiles"}}));

    const auto inputMap = LayOutCategory(3, true);
    ASSERT_TRUE(inputMap);
    EXPECT_EQ(ShownControls(*inputMap), Union({1046, 1047, 1048}, kInputMapControls));
    EXPECT_EQ(Labels(*inputMap),
              (std::map<int, std::wstring>{
                  {1046, L"Input map"}, {1047, L"BerconTile(Lin)"}, {1048, L"BerconTile(Rnd)"}}));
}

TEST(CategoryLayout, EveryLayoutDecidesTheSameControls) {
    // A control left out of one category's layout would keep whatever the previous category showed.
    std::set<int> expected;
    const CategoryLayout pixels = *LayOutCategory(0, false);
    for (const auto& [control, visible] : pixels.visibility)
        expected.insert(control);
    EXPECT_EQ(expected.size(), 7u + kInputMapControls.size() + kTilingControls.size());
    for (int category = 0; category < 4; ++category)
        for (bool vray : {false, true}) {
            std::set<int> decided;
            const CategoryLayout layout = *LayOutCategory(category, vray);
            for (const auto& [control, visible] : layout.visibility)
                decided.insert(control);
            EXPECT_EQ(decided, expected) << "category " << category;
        }
}

TEST(CategoryLayout, TheVRayRadioShowsOnlyInObjectsUnderVRay) {
    for (int category = 0; category < 4; ++category) {
        const std::set<int> shown = ShownControls(*LayOutCategory(category, true));
        EXPECT_EQ(shown.count(kVRayInstanceRadio), category == 1 ? 1u : 0u) << "category " << category;
        EXPECT_EQ(ShownControls(*LayOutCategory(category, false)).count(kVRayInstanceRadio), 0u);
    }
}

TEST(CategoryLayout, CategoriesOutsideTheListChangeNothing) {
    EXPECT_FALSE(LayOutCategory(-1, false));
    EXPECT_FALSE(LayOutCategory(4, true));
    EXPECT_FALSE(SubModeParameter(4));
    EXPECT_FALSE(SubModeParameter(-1));
}

TEST(ModeChoices, EveryCombinedModeHasExactlyOneRadio) {
    std::map<int, int> uses;
    for (const ModeChoice& choice : ModeChoices())
        ++uses[choice.combinedMode];
    ASSERT_EQ(uses.size(), 17u);
    for (const auto& [mode, count] : uses) {
        EXPECT_GE(mode, 0);
        EXPECT_LE(mode, 16);
        EXPECT_EQ(count, 1) << "combined mode " << mode;
    }
}

TEST(ModeChoices, SubModesAreRadioPositionsAndOneParameterPerCategory) {
    for (const ModeChoice& choice : ModeChoices()) {
        const auto position =
            std::find(kModeRadios.begin(), kModeRadios.end(), choice.radioId) - kModeRadios.begin();
        EXPECT_EQ(choice.subModeValue, position) << choice.radioId;
        EXPECT_EQ(FindModeChoiceBySubMode(choice.category, choice.subModeValue), &choice);
        EXPECT_EQ(SubModeParameter(choice.category), choice.subMode);
    }
    EXPECT_EQ(SubModeParameter(0), pb_pixel_mapping);
    EXPECT_EQ(SubModeParameter(1), pb_object_mapping);
    EXPECT_EQ(SubModeParameter(2), pb_coord_mapping);
    EXPECT_EQ(SubModeParameter(3), pb_input_mapping);
}

TEST(ModeChoices, SubModesOutsideTheCategoryNameNoRadio) {
    EXPECT_EQ(FindModeChoiceBySubMode(0, 3), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(2, 4), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(1, 7), nullptr);
    EXPECT_EQ(FindModeChoiceBySubMode(1, -1), nullptr);
    EXPECT_EQ(FindModeChoice(3, IDC_MODE_RADIO_4), nullptr);
    EXPECT_EQ(FindModeChoice(1, IDC_MANUAL_BUTTON), nullptr);
}

} // namespace
