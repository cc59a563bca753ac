#pragma once

// The distribution-mode choice of the parameters rollout: the "Mapping" category list and seven radio
// buttons whose labels, visibility and stored values change with the category. The choices are made from
// the table of modes (shade/mode_table.h), so that the layout, the clicks and the host tool cannot disagree.
#include "plugin/param_ids.h"
#include "plugin/resource_ids.h"
#include "shade/mode_table.h"

#include <array>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// One radio's role in one category.
struct ModeChoice {
    int category;              // the "Mapping" list value
    int radioId;               // the radio button's control ID
    const wchar_t* label;      // the radio's text in this category
    ChromasiftParamId subMode; // the category's sub-mode parameter
    int subModeValue;          // the radio's position among the seven
    int combinedMode;          // what shading switches on ("Mapping", the old single mode)
};

// The seven mode radios in position order: the sub-mode value of a radio is its index here.
inline constexpr std::array<int, 7> kModeRadios = {IDC_MODE_RADIO_1, IDC_MODE_RADIO_2, IDC_MODE_RADIO_3,
                                                   IDC_MODE_RADIO_4, IDC_MODE_RADIO_5, IDC_MODE_RADIO_6,
                                                   IDC_MODE_RADIO_7};
// The radio shown in "Objects" only when the current renderer is V-Ray.
inline constexpr int kVRayInstanceRadio =
    kModeRadios[static_cast<std::size_t>(distribution::FindMode(distribution::kVRayInstance)->subMode)];

std::span<const ModeChoice> ModeChoices();

// The role of `radioId` in `category`; null when the radio has none there.
const ModeChoice* FindModeChoice(int category, int radioId);
// The choice that a category's stored sub-mode value names; null when it names no radio of the category.
const ModeChoice* FindModeChoiceBySubMode(int category, int subModeValue);
// The sub-mode parameter of a category; none outside 0 to 3.
std::optional<ChromasiftParamId> SubModeParameter(int category);

// What the rollout shows for a category.
struct CategoryLayout {
    std::vector<std::pair<int, const wchar_t*>> labels; // radio ID, text
    std::vector<std::pair<int, bool>> visibility;       // control ID, shown
};

// The layout of a category; none outside 0 to 3, where the rollout is left as it is.
std::optional<CategoryLayout> LayOutCategory(int category, bool vrayIsCurrent);
