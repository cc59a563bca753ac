#pragma once

#include "plugin/host_sdk.h"

// Class identity of the map: scenes name the map by it.
constexpr Class_ID CHROMASIFT_CLASS_ID(0x61c17ce2, 0x2fa47e5b);

// Parameter IDs of the map's block. Scenes store values by these IDs: never renumber them.
enum ChromasiftParamId : short {
    pb_bitmap = 0,
    pb_num_colors = 1,
    pb_mapping_old = 2,
    pb_coords = 3,
    pb_input_map = 4,
    pb_input_map_on = 5,
    pb_sort = 6,
    pb_gamma = 7,
    pb_output = 8,
    pb_skip_colors = 9,
    pb_tile_rows = 10,
    pb_tile_columns = 11,
    pb_harmony = 12,
    pb_is_harmonized = 13,
    pb_mapping = 14,
    pb_object_mapping = 15,
    pb_pixel_mapping = 16,
    pb_coord_mapping = 17,
    pb_input_mapping = 18,
    pb_version = 19,
    pb_hue_alteration = 20,
    pb_saturation_alteration = 21,
    pb_value_alteration = 22,
    pb_source_map = 23,
};

// The sub-mode parameter of each category of "Mapping" (pb_mapping 0 to 3: pixels, objects, coordinates,
// input map), which stores the chosen radio's position in the category.
constexpr ChromasiftParamId kSubModeParams[] = {pb_pixel_mapping, pb_object_mapping, pb_coord_mapping,
                                                pb_input_mapping};

// The block's ID and its reference number in the map.
constexpr BlockID chromasift_params = 0;
constexpr int kParamBlockRef = 0;
// Rollouts of the block.
constexpr MapID kParamsMapId = 0;
constexpr MapID kAboutMapId = 1;
// The "Version" of maps created by this release.
constexpr int kCurrentVersion = 2;
