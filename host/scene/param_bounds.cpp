#include "host/scene/param_bounds.h"

#include "host/base/option_table.h"
#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include <algorithm>

namespace host {

namespace {

// The radios of a category of "Mapping".
int RadioCount(distribution::Category category) {
    int count = 0;
    for (const distribution::ModeRow& row : distribution::kModeTable)
        count += row.category == category ? 1 : 0;
    return count;
}

// The Chromasift map's parameters that declare no range, bounded by the mode table and the map's versions.
std::optional<ParamBounds> ChromasiftBounds(ParamID id) {
    using distribution::Category;
    const auto radios = [](Category category) {
        return ParamBounds{0, static_cast<double>(RadioCount(category) - 1)};
    };
    switch (id) {
    case pb_mapping_old:
        return ParamBounds{0, static_cast<double>(distribution::kModeCount - 1)};
    case pb_mapping:
        return ParamBounds{0, static_cast<double>(distribution::kCategoryCount - 1)};
    case pb_pixel_mapping:
        return radios(Category::Pixels);
    case pb_object_mapping:
        return radios(Category::Objects);
    case pb_coord_mapping:
        return radios(Category::Coordinates);
    case pb_input_mapping:
        return radios(Category::InputMap);
    case pb_version:
        // 0 (a map saved before its upgrade ran, as one without a picture is) or 1: the first version.
        return ParamBounds{0, static_cast<double>(kCurrentVersion)};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<ParamBounds> StoredParamBounds(const Class_ID& owner, const ParamDef& def) {
    const int type = base_type(def.type);
    if (def.hasRange && type == TYPE_FLOAT)
        return ParamBounds{def.rangeLow.f, def.rangeHigh.f};
    if (def.hasRange && type == TYPE_INT)
        return ParamBounds{static_cast<double>(def.rangeLow.i), static_cast<double>(def.rangeHigh.i)};
    if (owner == CHROMASIFT_CLASS_ID)
        if (const std::optional<ParamBounds> bounds = ChromasiftBounds(def.id))
            return bounds;
    // A list stores its item's value, or its position when it declares no values ("Sorts", "Color
    // harmony").
    if (type == TYPE_INT && !def.listValues.empty())
        return ParamBounds{
            static_cast<double>(*std::min_element(def.listValues.begin(), def.listValues.end())),
            static_cast<double>(*std::max_element(def.listValues.begin(), def.listValues.end()))};
    if (type == TYPE_INT && !def.itemStrings.empty())
        return ParamBounds{0, static_cast<double>(def.itemStrings.size() - 1)};
    return std::nullopt;
}

std::string BoundsText(const ParamBounds& bounds) {
    return BoundText(bounds.low) + (bounds.high == bounds.low + 1 ? " or " : " to ") + BoundText(bounds.high);
}

} // namespace host
