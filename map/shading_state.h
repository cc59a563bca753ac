#pragma once

// What a sample reads, replaced whole: the working palette, the tables of the render that started last,
// and the parameters as the samples read them, with the palette's colours under them. Replacing the
// palette keeps the tables, so a render under way goes on filling the same ones; the settings go with the
// palette they were read for, and are read again by the first sample that finds them unread or out of date.
#include "map/shade_settings.h"
#include "map/shading_tables.h"
#include "palette/palette_entry.h"

#include <memory>

struct ShadingState {
    Palette palette;
    std::shared_ptr<const ShadingTables> tables = std::make_shared<const ShadingTables>();
    ShadeSettings settings{};
};
