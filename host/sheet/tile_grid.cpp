#include "host/sheet/tile_grid.h"

#include <cmath>

namespace host {

namespace {

// The cell of `side` cells that a fitted coordinate falls in; the fit puts the box's far side just inside 1.
int Cell(float fitted, int side) {
    const float cell = std::floor(fitted * static_cast<float>(side));
    if (!(cell >= 0.0f))
        return 0;
    return cell >= static_cast<float>(side - 1) ? side - 1 : static_cast<int>(cell);
}

} // namespace

TileGrid FitTileGrid(const CoordinateBox& box, int side) {
    TileGrid grid;
    grid.side = side;
    grid.fit = FitToUnitCube(box);
    if (box.empty)
        return grid;
    int dropped = 2;
    for (int axis = 1; axis >= 0; --axis)
        if (box.hi[axis] - box.lo[axis] < box.hi[dropped] - box.lo[dropped])
            dropped = axis;
    grid.across = dropped == 0 ? 1 : 0;
    grid.up = dropped == 2 ? 1 : 2;
    return grid;
}

std::vector<std::int32_t> TileNumbers(const TileGrid& grid, std::span<const Point3> faceCentres) {
    std::vector<std::int32_t> tiles;
    tiles.reserve(faceCentres.size());
    const auto fitted = [&](const Point3& p, int axis) {
        return (p[axis] + grid.fit.offset[axis]) * grid.fit.scale[axis];
    };
    for (const Point3& centre : faceCentres)
        tiles.push_back(Cell(fitted(centre, grid.up), grid.side) * grid.side +
                        Cell(fitted(centre, grid.across), grid.side));
    return tiles;
}

float TileChannelValue(std::int32_t tile) {
    return -(static_cast<float>(tile) + 0.5f);
}

} // namespace host
