// Welding of equal positions: indices in first-come order, the two zeros as one, NaN never welded, and the
// same answers as a plain ordered map on many points (so that growing the table loses nothing).
#include "host/import/point_welding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <tuple>

namespace {

using host::PointWelder;

TEST(PointWelding, ZerosWeldAndNaNDoesNot) {
    std::vector<Point3> welded;
    PointWelder welder(welded);
    EXPECT_EQ(welder.Add(Point3(-0.0f, 1, -0.0f)), 0);
    EXPECT_EQ(welder.Add(Point3(0.0f, 1, 0.0f)), 0);
    EXPECT_EQ(welder.Add(Point3(0.0f, 1, -0.0f)), 0);
    EXPECT_TRUE(std::signbit(welded[0].x)) << "the point is kept as it came first";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(welder.Add(Point3(nan, 0, 0)), 1);
    EXPECT_EQ(welder.Add(Point3(nan, 0, 0)), 2) << "NaN equals nothing, not even itself";
    EXPECT_EQ(welded.size(), 3u);
}

TEST(PointWelding, PointsAlreadyWeldedTakePart) {
    std::vector<Point3> welded{Point3(5, 5, 5), Point3(6, 6, 6)};
    PointWelder welder(welded);
    EXPECT_EQ(welder.Add(Point3(6, 6, 6)), 1);
    EXPECT_EQ(welder.Add(Point3(7, 7, 7)), 2);
}

// Many points from a small grid, so that most come again, with zeros of both signs: every index is the
// one a plain map of first occurrences gives, whether the table grows many times (nothing said of the
// points to come), is made for them all at once, or is made too small and grows after all.
TEST(PointWelding, MatchesAMapOfFirstOccurrences) {
    constexpr int kPoints = 200000;
    for (const std::size_t coming : {std::size_t(0), std::size_t(kPoints), std::size_t(3000)}) {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> coordinate(-40, 40);
        const auto value = [&] {
            const int c = coordinate(random);
            return c == 0 && random() % 2 == 0 ? -0.0f : static_cast<float>(c) * 0.25f;
        };
        std::vector<Point3> welded;
        PointWelder welder(welded, coming);
        std::map<std::tuple<float, float, float>, int> first;
        int mismatches = 0;
        for (int i = 0; i < kPoints; ++i) {
            const Point3 p(value(), value(), value());
            const auto key = std::make_tuple(p.x + 0.0f, p.y + 0.0f, p.z + 0.0f);
            const int expected = first.emplace(key, static_cast<int>(first.size())).first->second;
            mismatches += welder.Add(p) != expected;
            // The first point, which every growth of the table places first, must stay found.
            if (i % 500 == 0)
                mismatches += welder.Add(Point3(welded[0])) != 0;
        }
        EXPECT_EQ(mismatches, 0) << coming << " coming";
        EXPECT_EQ(welded.size(), first.size());
        // Every point the table holds is found again after the last growth, the very first one too.
        int lost = 0;
        for (std::size_t i = 0; i < first.size(); ++i) {
            const Point3 p = welded[i];
            lost += welder.Add(p) != static_cast<int>(i);
        }
        EXPECT_EQ(lost, 0) << coming << " coming";
        EXPECT_GT(first.size(), 100000u) << "well past the table's first size";
    }
}

} // namespace
