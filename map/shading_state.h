#pragma once

// What a sample reads, replaced whole: the working palette and the tables of the render that started
// last. Replacing the palette keeps the tables, so a render under way goes on filling the same ones.
#include "map/shading_tables.h"
#include "palette/palette_entry.h"

#include <memory>

struct ShadingState {
    Palette palette;
    std::shared_ptr<const ShadingTables> tables = std::make_shared<const ShadingTables>();
};
