#pragma once

// The seventeen distribution modes, tabled once: the label the rollout shows and the host tool names a mode
// by, the combined number shading switches on, where the rollout keeps the mode (its category and the radio's
// position there, both stored in scenes), and what the mode's colours follow. The rollout, the host tool's
// options, its contact sheet and its farm warning all read this table. Header-only, so that the host reads
// it without linking plug-in code.
#include "shade/distribution_mode.h"

#include <cstddef>
#include <iterator>

namespace distribution {

// The categories of the rollout's "Mapping" list, as parameter 14 stores them: never renumber them.
enum class Category : int { Pixels = 0, Objects = 1, Coordinates = 2, InputMap = 3 };
inline constexpr int kCategoryCount = 4;

// What a mode's colour is chosen by.
enum class Key {
    SampleOrder,       // the order samples are shaded in (a counter, a random stream), or the pixel
    Coordinates,       // the map's coordinates
    InputMap,          // the mono value of the connected input map
    Objects,           // the render instance being shaded (its node)
    ObjectIds,         // the node's G-buffer object ID
    MaterialIds,       // the face's material ID
    Elements,          // the mesh element: faces joined by shared edges
    Polygons,          // the polygon, or the triangle of a mesh without polygons
    TileNumbers,       // the tile number a tile map leaves in map channel 99
    RendererInstances, // the renderer's own instance number (V-Ray)
};

struct ModeRow {
    const char* label;     // the radio's text; ASCII, so the rollout widens it character by character
    Mode combined;         // "Mapping" as shading and the mental ray shader read it
    Category category;     // the "Mapping" list's category
    int subMode;           // the radio's position in its category, as the category's sub-mode parameter
    Key keys;              // what the colour is chosen by
    bool shadingOrder;     // the colours depend on the order of shading: counters or a random stream that
                           // run on through a render and from frame to frame
    bool constantOverFace; // one colour over a whole face; for the tile modes, over a face that carries one
                           // tile number (a tile map's faces do)
};

// In rollout order: category by category, each in radio order.
inline constexpr ModeRow kModeTable[] = {
    {"Random", kRandom, Category::Pixels, 0, Key::SampleOrder, true, false},
    {"Linear", kLinear, Category::Pixels, 1, Key::SampleOrder, true, false},
    {"Mirror", kMirror, Category::Pixels, 2, Key::SampleOrder, true, false},
    {"Object (linear)", kObjectLinear, Category::Objects, 0, Key::Objects, false, true},
    {"Object (random)", kObjectRandom, Category::Objects, 1, Key::Objects, false, true},
    {"Per Element", kPerElement, Category::Objects, 2, Key::Elements, false, true},
    {"Object ID", kObjectId, Category::Objects, 3, Key::ObjectIds, false, true},
    {"Material ID", kMaterialId, Category::Objects, 4, Key::MaterialIds, false, true},
    {"Per Face", kPerFace, Category::Objects, 5, Key::Polygons, false, true},
    {"VRay Instance (rnd)", kVRayInstance, Category::Objects, 6, Key::RendererInstances, false, true},
    {"1D Mapping", kMapping1D, Category::Coordinates, 0, Key::Coordinates, false, false},
    {"2D Mapping", kMapping2D, Category::Coordinates, 1, Key::Coordinates, false, false},
    {"3D Mapping", kMapping3D, Category::Coordinates, 2, Key::Coordinates, false, false},
    {"As Tiles", kTiles, Category::Coordinates, 3, Key::Coordinates, false, false},
    {"Input map", kInputMap, Category::InputMap, 0, Key::InputMap, false, false},
    {"BerconTile(Lin)", kBerconLinear, Category::InputMap, 1, Key::TileNumbers, false, true},
    {"BerconTile(Rnd)", kBerconRandom, Category::InputMap, 2, Key::TileNumbers, false, true},
};
inline constexpr std::size_t kModeCount = std::size(kModeTable);

// The row of a combined mode number; null for a number that names no mode.
constexpr const ModeRow* FindMode(int combined) {
    for (const ModeRow& row : kModeTable)
        if (row.combined == combined)
            return &row;
    return nullptr;
}

namespace detail {

// Every number from 0 names one row, and the rows of a category take the positions 0, 1, 2... in order:
// what the rollout's radios and stored scenes need.
constexpr bool TableIsWhole() {
    for (std::size_t i = 0; i < kModeCount; ++i) {
        int rows = 0;
        for (const ModeRow& row : kModeTable)
            rows += row.combined == static_cast<int>(i) ? 1 : 0;
        const bool sameCategory = i > 0 && kModeTable[i].category == kModeTable[i - 1].category;
        if (rows != 1 || kModeTable[i].subMode != (sameCategory ? kModeTable[i - 1].subMode + 1 : 0))
            return false;
    }
    return true;
}
static_assert(TableIsWhole(), "each mode number once, and the radios of a category numbered from 0");

} // namespace detail

} // namespace distribution
