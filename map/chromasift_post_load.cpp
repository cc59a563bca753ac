#include "map/chromasift_post_load.h"

#include "map/chromasift.h"
#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include <cstddef>

LegacyModeConversion ConvertLegacyMode(int storedMode) {
    const distribution::ModeRow* mode = distribution::FindMode(storedMode);
    if (mode == nullptr)
        return {-1, -1, 0};
    const auto category = static_cast<std::size_t>(mode->category);
    return {static_cast<int>(category), kSubModeParams[category], mode->subMode};
}

void ChromasiftPostLoad::proc(ILoad*) {
    IParamBlock2* pblock = map->pblock;
    PBBitmap* bitmap = pblock == nullptr ? nullptr : pblock->GetBitmap(pb_bitmap, 0);
    if (bitmap != nullptr) {
        const Chromasift::ColourCounts counts = map->ReadColourCounts();
        // Extraction resets the flag, so it is read first.
        const bool wasHarmonised = pblock->GetInt(pb_is_harmonized, 0) == 1;
        if (map->GetSubTexmap(Chromasift::kSubMapSource) == nullptr)
            map->SetSubTexmap(Chromasift::kSubMapSource, map->NewSourceMap(bitmap->bi));
        map->ExtractPalette(bitmap->bi, counts.numColours, counts.skipColours);
        if (wasHarmonised)
            map->HarmonisePalette();

        if (pblock->GetInt(pb_version, 0) != kCurrentVersion) {
            const LegacyModeConversion conversion = ConvertLegacyMode(pblock->GetInt(pb_mapping_old, 0));
            if (conversion.category >= 0) {
                pblock->SetValue(pb_mapping, 0, conversion.category);
                pblock->SetValue(conversion.subModeParam, 0, conversion.subMode);
                // Converted once: the next load finds a current map.
                pblock->SetValue(pb_version, 0, kCurrentVersion);
            }
        }
    }
    delete this;
}
