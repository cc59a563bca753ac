#pragma once

// Tile numbers for a model that has none: a square grid of tiles laid over the model's bounds, each face
// numbered by the tile its centre lies in, the way a tile map numbers the faces it covers.
#include "host/sheet/coordinate_fit.h"

#include <cstdint>
#include <span>
#include <vector>

namespace host {

// Tiles along each side of the grid. Thirty-six tiles are more than the default ten colours, so "BerconTile
// (Lin)" runs through a whole default palette; a sixth of the model's width is still a patch of tens of
// pixels in a sheet's cell, wide enough to read as a tile rather than as noise.
constexpr int kTileGridSide = 6;

// A grid of side x side tiles over the two widest axes of a box.
struct TileGrid {
    int across = 0;    // the axis along which the columns are counted
    int up = 1;        // the axis along which the rows are counted
    CoordinateFit fit; // takes the box onto the unit cube
    int side = kTileGridSide;
};

// The grid over `box`. Its narrowest axis is left out (the last of equally narrow ones), so that a flat model
// gets the whole grid whichever way it lies; the other two keep their order.
TileGrid FitTileGrid(const CoordinateBox& box, int side = kTileGridSide);

// The tile number of each face centre: row * side + column, counted from the box's low corner, from 0 to
// side * side - 1. A centre beyond the box (or not a number) takes the nearest tile (the first).
std::vector<std::int32_t> TileNumbers(const TileGrid& grid, std::span<const Point3> faceCentres);

// The first component of map channel 99 for tile `tile`: negated, as tile maps keep it, and half a unit
// beyond it, so that truncating its negation gives the number back even after interpolation across a face
// has rounded it.
float TileChannelValue(std::int32_t tile);

} // namespace host
