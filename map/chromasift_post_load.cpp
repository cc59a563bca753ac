#include "map/chromasift_post_load.h"

#include "map/chromasift.h"
#include "plugin/param_ids.h"

LegacyModeConversion ConvertLegacyMode(int storedMode) {
    switch (storedMode) {
    case 0:
        return {0, pb_pixel_mapping, 0};
    case 1:
        return {0, pb_pixel_mapping, 1};
    case 11:
        return {0, pb_pixel_mapping, 2};
    case 2:
        return {2, pb_coord_mapping, 0};
    case 3:
        return {2, pb_coord_mapping, 1};
    case 4:
        return {2, pb_coord_mapping, 2};
    case 13:
        return {2, pb_coord_mapping, 3};
    case 5:
        return {3, pb_input_mapping, 0};
    case 14:
        return {3, pb_input_mapping, 1};
    case 15:
        return {3, pb_input_mapping, 2};
    case 6:
        return {1, pb_object_mapping, 0};
    case 10:
        return {1, pb_object_mapping, 1};
    case 9:
        return {1, pb_object_mapping, 2};
    case 7:
        return {1, pb_object_mapping, 3};
    case 8:
        return {1, pb_object_mapping, 4};
    case 12:
        return {1, pb_object_mapping, 5};
    case 16:
        return {1, pb_object_mapping, 6};
    default:
        return {-1, -1, 0};
    }
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
