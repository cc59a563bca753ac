// The grid that numbers the faces of a model without tile numbers: which tile a face centre falls in, and
// the value that keeps the number in map channel 99.
#include "host/sheet/tile_grid.h"

#include "shade/mode_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

// A box 60 wide, 30 deep and 12 high far from the origin.
host::CoordinateBox FarBox() {
    host::CoordinateBox box;
    box.Add(Point3(1000.0f, -2000.0f, 500.0f));
    box.Add(Point3(1060.0f, -1970.0f, 512.0f));
    return box;
}

// The point at fractions (a, b, c) of the box's extent.
Point3 At(const host::CoordinateBox& box, float a, float b, float c) {
    return Point3(box.lo.x + a * (box.hi.x - box.lo.x), box.lo.y + b * (box.hi.y - box.lo.y),
                  box.lo.z + c * (box.hi.z - box.lo.z));
}

std::int32_t TileAt(const host::TileGrid& grid, const Point3& p) {
    const Point3 centres[] = {p};
    return host::TileNumbers(grid, centres).at(0);
}

TEST(TileGrid, EveryNumberLiesOnTheGridWhereverTheCentreIs) {
    const host::CoordinateBox box = FarBox();
    const host::TileGrid grid = host::FitTileGrid(box, 5);
    std::vector<Point3> centres;
    for (int i = -3; i <= 23; ++i)
        for (int j = -3; j <= 23; ++j)
            centres.push_back(At(box, static_cast<float>(i) / 20.0f, static_cast<float>(j) / 20.0f, 0.5f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    centres.insert(centres.end(),
                   {Point3(nan, nan, nan), Point3(huge, -huge, 0.0f), Point3(-huge, huge, 0.0f)});
    const std::vector<std::int32_t> tiles = host::TileNumbers(grid, centres);
    ASSERT_EQ(tiles.size(), centres.size());
    std::vector<int> hits(25, 0);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        ASSERT_GE(tiles[i], 0) << i;
        ASSERT_LT(tiles[i], 25) << i;
        ++hits[static_cast<std::size_t>(tiles[i])];
    }
    for (int t = 0; t < 25; ++t)
        EXPECT_GT(hits[static_cast<std::size_t>(t)], 0) << "tile " << t << " is reached";
    EXPECT_EQ(tiles[tiles.size() - 3], 0) << "not a number: the first tile";
    EXPECT_EQ(tiles[tiles.size() - 2], 4) << "far right, far below: the end of the first row";
    EXPECT_EQ(tiles[tiles.size() - 1], 20) << "far left, far above: the start of the last row";
}

TEST(TileGrid, LiesOverTheTwoWidestAxes) {
    const struct {
        Point3 hi;      // of a box from the origin
        int across, up; // the axes of the grid's columns and rows
        Point3 point;
        std::int32_t tile; // of the point on a grid of 4 x 4
    } cases[] = {
        {{8, 0, 8}, 0, 2, {1, 0, 7}, 12},       // flat along y: x and z, rows going up z
        {{0.5f, 8, 4}, 1, 2, {0, 7, 1}, 3},     // flat along x: y and z
        {{4, 2, 1}, 0, 1, {3.5f, 0.2f, 0}, 3},  // thinnest along z: x and y
        {{3, 3, 3}, 0, 1, {0.1f, 2.9f, 0}, 12}, // a cube: x and y
        {{1, 3, 0}, 0, 1, {0.9f, 0.1f, 0}, 3},
    };
    for (const auto& c : cases) {
        host::CoordinateBox box;
        box.Add(Point3());
        box.Add(c.hi);
        const host::TileGrid grid = host::FitTileGrid(box, 4);
        EXPECT_EQ(std::make_tuple(grid.across, grid.up, TileAt(grid, c.point)),
                  std::make_tuple(c.across, c.up, c.tile))
            << c.hi.x << ", " << c.hi.y << ", " << c.hi.z;
    }
    // An empty box leaves the points as they are, on x and y.
    EXPECT_EQ(TileAt(host::FitTileGrid(host::CoordinateBox(), 4), Point3(0.3f, 0.6f, 0.0f)), 2 * 4 + 1);
}

TEST(TileGrid, ChannelValueGivesTheNumberBackAfterInterpolation) {
    for (std::int32_t tile = 0; tile < 400; ++tile) {
        const float u = host::TileChannelValue(tile);
        EXPECT_EQ(mode_index::BerconTileKey(u), tile);
        // The shading contexts blend the three corners of a face by barycentric weights.
        const float blended = u * 0.1f + u * 0.3f + u * 0.6f;
        EXPECT_EQ(mode_index::BerconTileKey(blended), tile) << blended;
        EXPECT_EQ(mode_index::BerconTileLinear(blended, 7), static_cast<std::uint32_t>(tile % 7));
    }
}

} // namespace
