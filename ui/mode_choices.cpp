#include "ui/mode_choices.h"

#include "plugin/resource_ids.h"

#include <array>
#include <cstddef>

namespace {

using distribution::Category;
using distribution::kModeTable;

// The labels as the rollout's wide text, each widened once at compile time from the table's ASCII.
constexpr std::size_t kLabelCapacity = 32;
using WideLabel = std::array<wchar_t, kLabelCapacity>;

constexpr bool LabelsFit() {
    for (const distribution::ModeRow& mode : kModeTable)
        for (std::size_t i = 0; i < kLabelCapacity; ++i)
            if (mode.label[i] == '\0')
                return true;
            else if (static_cast<unsigned char>(mode.label[i]) > 0x7f)
                return false;
    return false;
}
static_assert(LabelsFit(), "every label ASCII and shorter than kLabelCapacity");

constexpr std::array<WideLabel, distribution::kModeCount> kWideLabels = [] {
    std::array<WideLabel, distribution::kModeCount> wide{};
    for (std::size_t m = 0; m < wide.size(); ++m)
        for (std::size_t i = 0; kModeTable[m].label[i] != '\0'; ++i)
            wide[m][i] = static_cast<wchar_t>(kModeTable[m].label[i]);
    return wide;
}();

static_assert(std::size(kSubModeParams) == distribution::kCategoryCount);

// Each mode's radio is the one at its position; its category's sub-mode parameter stores that position.
constexpr std::array<ModeChoice, distribution::kModeCount> kChoices = [] {
    std::array<ModeChoice, distribution::kModeCount> choices{};
    for (std::size_t m = 0; m < choices.size(); ++m) {
        const distribution::ModeRow& mode = kModeTable[m];
        const auto category = static_cast<std::size_t>(mode.category);
        choices[m] = {static_cast<int>(category),
                      kModeRadios[static_cast<std::size_t>(mode.subMode)],
                      kWideLabels[m].data(),
                      kSubModeParams[category],
                      mode.subMode,
                      mode.combined};
    }
    return choices;
}();

constexpr int kInputMapControls[] = {IDC_INPUT_MAP_LABEL, IDC_INPUT_MAP_BUTTON, IDC_INPUT_MAP_ON};
constexpr int kTilingControls[] = {IDC_TILING_GROUP,     IDC_TILE_ROWS_LABEL, IDC_TILE_COLUMNS_LABEL,
                                   IDC_TILE_ROWS_EDIT,   IDC_TILE_ROWS_SPIN,  IDC_TILE_COLUMNS_EDIT,
                                   IDC_TILE_COLUMNS_SPIN};

} // namespace

std::span<const ModeChoice> ModeChoices() {
    return kChoices;
}

const ModeChoice* FindModeChoice(int category, int radioId) {
    for (const ModeChoice& choice : kChoices)
        if (choice.category == category && choice.radioId == radioId)
            return &choice;
    return nullptr;
}

const ModeChoice* FindModeChoiceBySubMode(int category, int subModeValue) {
    if (subModeValue < 0 || subModeValue >= static_cast<int>(kModeRadios.size()))
        return nullptr;
    return FindModeChoice(category, kModeRadios[static_cast<std::size_t>(subModeValue)]);
}

std::optional<ChromasiftParamId> SubModeParameter(int category) {
    if (category < 0 || category >= distribution::kCategoryCount)
        return std::nullopt;
    return kSubModeParams[static_cast<std::size_t>(category)];
}

std::optional<CategoryLayout> LayOutCategory(int category, bool vrayIsCurrent) {
    if (category < 0 || category >= distribution::kCategoryCount)
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
        layout.visibility.emplace_back(control, category == static_cast<int>(Category::InputMap));
    for (int control : kTilingControls)
        layout.visibility.emplace_back(control, category == static_cast<int>(Category::Coordinates));
    return layout;
}
