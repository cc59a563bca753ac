#include "ui/mode_choices.h"

#include "plugin/resource_ids.h"
#include "shade/distribution_mode.h"

#include <algorithm>

namespace {

constexpr int kPixels = 0;
constexpr int kObjects = 1;
constexpr int kCoordinates = 2;
constexpr int kInputMap = 3;

constexpr ModeChoice kChoices[] = {
    {kPixels, IDC_MODE_RADIO_1, L"Random", pb_pixel_mapping, 0, distribution::kRandom},
    {kPixels, IDC_MODE_RADIO_2, L"Linear", pb_pixel_mapping, 1, distribution::kLinear},
    {kPixels, IDC_MODE_RADIO_3, L"Mirror", pb_pixel_mapping, 2, distribution::kMirror},
    {kObjects, IDC_MODE_RADIO_1, L"Object (linear)", pb_object_mapping, 0, distribution::kObjectLinear},
    {kObjects, IDC_MODE_RADIO_2, L"Object (random)", pb_object_mapping, 1, distribution::kObjectRandom},
    {kObjects, IDC_MODE_RADIO_3, L"Per Element", pb_object_mapping, 2, distribution::kPerElement},
    {kObjects, IDC_MODE_RADIO_4, L"Object ID", pb_object_mapping, 3, distribution::kObjectId},
    {kObjects, IDC_MODE_RADIO_5, L"Material ID", pb_object_mapping, 4, distribution::kMaterialId},
    {kObjects, IDC_MODE_RADIO_6, L"Per Face", pb_object_mapping, 5, distribution::kPerFace},
    {kObjects, IDC_MODE_RADIO_7, L"VRay Instance (rnd)", pb_object_mapping, 6, distribution::kVRayInstance},
    {kCoordinates, IDC_MODE_RADIO_1, L"1D Mapping", pb_coord_mapping, 0, distribution::kMapping1D},
    {kCoordinates, IDC_MODE_RADIO_2, L"2D Mapping", pb_coord_mapping, 1, distribution::kMapping2D},
    {kCoordinates, IDC_MODE_RADIO_3, L"3D Mapping", pb_coord_mapping, 2, distribution::kMapping3D},
    {kCoordinates, IDC_MODE_RADIO_4, L"As Tiles", pb_coord_mapping, 3, distribution::kTiles},
    {kInputMap, IDC_MODE_RADIO_1, L"Input map", pb_input_mapping, 0, distribution::kInputMap},
    {kInputMap, IDC_MODE_RADIO_2, L"BerconTile(Lin)", pb_input_mapping, 1, distribution::kBerconLinear},
    {kInputMap, IDC_MODE_RADIO_3, L"BerconTile(Rnd)", pb_input_mapping, 2, distribution::kBerconRandom},
};

constexpr int kInputMapControls[] = {IDC_INPUT_MAP_LABEL, IDC_INPUT_MAP_BUTTON, IDC_INPUT_MAP_ON};
constexpr int kTilingControls[] = {IDC_TILING_GROUP,     IDC_TILE_ROWS_LABEL, IDC_TILE_COLUMNS_LABEL,
                                   IDC_TILE_ROWS_EDIT,   IDC_TILE_ROWS_SPIN,  IDC_TILE_COLUMNS_EDIT,
                                   IDC_TILE_COLUMNS_SPIN};

} // namespace

std::span<const ModeChoice> ModeChoices() {
    return kChoices;
}

const ModeChoice* FindModeChoice(int category, int radioId) {
    const auto* found = std::find_if(std::begin(kChoices), std::end(kChoices), [&](const ModeChoice& c) {
        return c.category == category && c.radioId == radioId;
    });
    return found == std::end(kChoices) ? nullptr : found;
}

const ModeChoice* FindModeChoiceBySubMode(int category, int subModeValue) {
    if (subModeValue < 0 || subModeValue >= static_cast<int>(kModeRadios.size()))
        return nullptr;
    return FindModeChoice(category, kModeRadios[static_cast<std::size_t>(subModeValue)]);
}

std::optional<ChromasiftParamId> SubModeParameter(int category) {
    for (const ModeChoice& choice : kChoices)
        if (choice.category == category)
            return choice.subMode;
    return std::nullopt;
}

std::optional<CategoryLayout> LayOutCategory(int category, bool vrayIsCurrent) {
    if (category < 0 || category >= kNumCategories)
        return std::nullopt;
    CategoryLayout layout;
    for (int radio : kModeRadios) {
        const ModeChoice* choice = FindModeChoice(category, radio);
        if (choice != nullptr)
            layout.labels.emplace_back(radio, choice->label);
        layout.visibility.emplace_back(radio,
                                       choice != nullptr && (radio != kVRayInstanceRadio || vrayIsCurrent));
    }
    for (int control : kInputMapControls)
        layout.visibility.emplace_back(control, category == kInputMap);
    for (int control : kTilingControls)
        layout.visibility.emplace_back(control, category == kCoordinates);
    return layout;
}
