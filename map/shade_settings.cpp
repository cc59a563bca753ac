#include "map/shade_settings.h"

#include "plugin/param_ids.h"
#include "shade/mode_index.h"

#include <algorithm>

namespace {

constexpr int kLastMode = 16;

// What a mode that selects nothing adjusts: black.
constexpr PaletteEntry kNoEntry{};

// The block's value at t, narrowing `valid` to the times it holds over.
template <class T> T ValueAt(IParamBlock2& block, ParamID id, TimeValue t, Interval& valid) {
    T value{};
    block.GetValue(id, t, value, valid);
    return value;
}

} // namespace

ShadeSettings ReadShadeSettings(IParamBlock2* block, std::uint64_t changes, TimeValue t,
                                const Palette& palette, const ShadeSettings& previous) {
    ShadeSettings settings;
    settings.changes = changes;
    settings.times = FOREVER;
    settings.timelessChanges = changes;
    if (block == nullptr || palette.empty()) {
        settings.colours.emplace_back(0.0f, 0.0f, 0.0f, 1.0f);
        return settings;
    }
    settings.entries = static_cast<std::uint32_t>(palette.size());

    Interval valid = FOREVER;
    // Guard: with "# colors" below 1 no colour would be active, and the modes would take a remainder by 0
    // or pick before the first entry; at least one colour is always active.
    settings.n = static_cast<std::uint32_t>(std::clamp<std::int64_t>(
        ValueAt<int>(*block, pb_num_colors, t, valid), 1, static_cast<std::int64_t>(palette.size())));
    const int mode = ValueAt<int>(*block, pb_mapping_old, t, valid);
    settings.route = mode >= 0 && mode <= kLastMode ? mode : ShadeSettings::kUnknownMode;
    settings.squareSide = mode_index::SquareSide(settings.n);
    settings.cubeSide = mode_index::CubeSide(settings.n);
    settings.tileRows = ValueAt<int>(*block, pb_tile_rows, t, valid);
    settings.tileColumns = ValueAt<int>(*block, pb_tile_columns, t, valid);
    Texmap* input = ValueAt<Texmap*>(*block, pb_input_map, t, valid);
    // Read at time 0 whatever the slider's time, so it does not narrow the times.
    Interval atZero = FOREVER;
    settings.input = ValueAt<int>(*block, pb_input_map_on, 0, atZero) != 0 ? input : nullptr;
    // Values beyond the spinners' ranges (scripts, scenes) go through the same formulas.
    settings.adjustment = ColourAdjustment{ValueAt<float>(*block, pb_gamma, t, valid),
                                           ValueAt<int>(*block, pb_hue_alteration, t, valid),
                                           ValueAt<int>(*block, pb_saturation_alteration, t, valid),
                                           ValueAt<int>(*block, pb_value_alteration, t, valid)};
    settings.times = valid;
    if (valid != FOREVER)
        settings.timelessChanges = ShadeSettings::kUnread;

    // Colours of the same palette need working out again only under another adjustment.
    const bool samePalette = previous.changes != ShadeSettings::kUnread && !previous.plain.empty();
    if (samePalette) {
        settings.plain = previous.plain;
    } else {
        for (const PaletteEntry& entry : palette)
            settings.plain.emplace_back(entry.red / 65535.0f, entry.green / 65535.0f, entry.blue / 65535.0f,
                                        1.0f);
    }
    if (samePalette && SameAdjustment(previous.adjustment, settings.adjustment)) {
        settings.colours = previous.colours;
    } else {
        for (const PaletteEntry& entry : palette)
            settings.colours.push_back(AdjustPaletteColour(entry, settings.adjustment));
        settings.colours.push_back(AdjustPaletteColour(kNoEntry, settings.adjustment));
    }
    return settings;
}
