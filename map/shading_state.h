#pragma once

// What a sample reads, replaced whole: the working palette, its adjusted colours and the tables of the
// render that started last. Replacing the palette keeps the tables, so a render under way goes on filling
// the same ones; the adjusted colours go with the palette they were made from.
#include "map/shading_tables.h"
#include "palette/colour_adjust_cache.h"
#include "palette/palette_entry.h"

#include <memory>

struct ShadingState {
    Palette palette;
    std::shared_ptr<const ShadingTables> tables = std::make_shared<const ShadingTables>();
    std::unique_ptr<AdjustedColours> adjusted = std::make_unique<AdjustedColours>();
};
