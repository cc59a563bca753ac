#include "shade/mode_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mode_index;

namespace {

TEST(ModeIndex, TruncationAndModuloConventions) {
    EXPECT_EQ(Truncate(2.9f), 2);
    EXPECT_EQ(Truncate(-2.9f), -2);
    EXPECT_EQ(Truncate(3.0e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Truncate(-3.0e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Truncate(std::nanf("")), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Truncate(-2147483648.0f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(UnsignedModulo(-1, 10), 4294967295u % 10);
    EXPECT_EQ(NumberOrZero(-1, 7), 0u);
    EXPECT_EQ(NumberOrZero(-2, 7), 4294967294u % 7);
    EXPECT_EQ(NumberOrZero(15, 7), 1u);
}

TEST(ModeIndex, CountersAndRandom) {
    EXPECT_EQ(Random(0.999999, 2), 0u) << "the last colour only for exactly 1.0";
    EXPECT_EQ(Random(1.0, 2), 1u);
    EXPECT_EQ(Random(0.7, 1), 0u);
    for (uint32_t c = 0; c < 8; ++c)
        EXPECT_EQ(Linear(c, 4), c % 4);
    // A true mirror: 0 1 2 3 3 2 1 0 0 1 ...
    const uint32_t mirror[] = {0, 1, 2, 3, 3, 2, 1, 0, 0, 1};
    for (uint32_t c = 0; c < 10; ++c)
        EXPECT_EQ(Mirror(c, 4), mirror[c]) << c;
    EXPECT_EQ(Mirror(0xffffffffu, 1), 0u);
}

TEST(ModeIndex, CoordinateModes) {
    EXPECT_EQ(Mapping1D(0.95f, 10), 9u);
    EXPECT_EQ(Mapping1D(1.5f, 10), 9u);
    EXPECT_EQ(Mapping1D(-0.2f, 10), 0u);
    EXPECT_EQ(Mapping1D(std::nanf(""), 10), 0u);
    EXPECT_EQ(Mapping2D(0.5f, 0.5f, 10), 6u) << "4.5 + 1.5, not row times columns";
    EXPECT_EQ(Mapping2D(0.9f, 0.9f, 10), 9u);
    EXPECT_EQ(Mapping3D(0.5f, 0.5f, 0.5f, 8), 7u);
    EXPECT_EQ(Mapping3D(0.1f, 0.1f, 0.2f, 100), 14u) << "s = 4 for 100 colours: 1.6 + 0.4 + 12.8";
    EXPECT_EQ(Tiles(0.9f, 0.9f, 3, 3, 5), 3u);
    EXPECT_EQ(Tiles(-0.5f, 0.1f, 3, 3, 5), 0u);
    EXPECT_EQ(Tiles(1.0e30f, 1.0e30f, 100, 100, 5), 0u) << "huge coordinates do not overflow";
    // Row trunc(rows × v), column trunc(columns × u), index row × columns + column, modulo n; counts that
    // scenes and scripts set beyond the spinners take the same formula.
    const struct {
        int rows, columns;
        float u, v;
        uint32_t expected;
    } tiles[] = {
        {150, 1, 0.0f, 0.5f, 5},                 // row 75
        {1, 250, 0.1f, 0.0f, 5},                 // column 25
        {0, 7, 0.5f, 1.5f, 3},                   // no rows: column 3 only
        {-4, 3, 0.5f, 0.5f, 0},                  // row -2 × 3 + 1 = -5, below 0
        {2, -3, 0.5f, 0.5f, 0},                  // row 1 × -3 + column -1 = -4, below 0
        {1000, 999, 0.9f, 0.9f, 9},              // 900 × 999 + 899 = 899999
        {2147483647, 2147483647, 0.5f, 0.5f, 2}, // 2^30 × (2^31 - 1) + 2^30, beyond 32 bits
    };
    for (const auto& t : tiles)
        EXPECT_EQ(Tiles(t.u, t.v, t.rows, t.columns, 10), t.expected) << t.rows << " rows, " << t.columns;
    EXPECT_EQ(InputMap(0.55f, 10), 5u);
    EXPECT_EQ(InputMap(2.0f, 10), 9u);
    // A one-colour palette: every coordinate beyond the first entry clamps back to it.
    EXPECT_EQ(Mapping1D(2.5f, 1), 0u);
    EXPECT_EQ(InputMap(1.0f, 1), 0u);
    EXPECT_EQ(Clamp(7, 1), 0u);
}

TEST(ModeIndex, TileNumbersFromChannel99) {
    EXPECT_EQ(BerconTileLinear(-6.0f, 4), 2u);
    EXPECT_EQ(BerconTileLinear(2.0f, 4), 1u);
    EXPECT_EQ(BerconTileLinear(-3.0f, 4), 3u);
    EXPECT_EQ(BerconTileLinear(9.0f, 4), 0u);
    EXPECT_EQ(BerconTileLinear(-123.0f, 1), 0u);
    EXPECT_EQ(BerconTileLinear(3.0e9f, 4), 1u) << "INT32_MIN raised by 3 to its non-negative remainder";
    EXPECT_EQ(BerconTileKey(-6.5f), 6);
    EXPECT_EQ(InstanceKey(0.12345f), 1234);
    EXPECT_EQ(InstanceElement(0.1f, 0.2f, 7), static_cast<uint32_t>(Truncate((0.1f + 0.2f) * 50000.0f)) % 7);
}

} // namespace
