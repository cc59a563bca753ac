#include "palette/kmeans.h"

#include "reference_kmeans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// n distinct samples (sample i is (i, 2i, 3i, 1) / n), so a centre names the sample it was seeded on.
std::vector<float> DistinctSamples(uint32_t n) {
    std::vector<float> samples;
    for (uint32_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        samples.insert(samples.end(), {t, 2.0f * t, 3.0f * t, 1.0f});
    }
    return samples;
}

// A threshold no movement reaches: the first pass converges and the centres stay the seeds.
constexpr float kStopAtOnce = 1e30f;

std::vector<float> CentreOf(const KMeans& kmeans, uint32_t i, uint32_t dims) {
    const float* centre = kmeans.Centre(i);
    return centre != nullptr ? std::vector<float>(centre, centre + dims) : std::vector<float>{};
}

std::vector<float> Sample(const std::vector<float>& samples, uint32_t i, uint32_t dims) {
    return std::vector<float>(samples.begin() + i * dims, samples.begin() + (i + 1) * dims);
}

} // namespace

TEST(KMeans, CentreExistsOnlyForClustersOfARun) {
    KMeans kmeans(35);
    EXPECT_EQ(kmeans.Centre(0), nullptr);
    const std::vector<float> samples = DistinctSamples(100);
    kmeans.Run(samples.data(), 0.05f, 100, 4);
    EXPECT_NE(kmeans.Centre(34), nullptr);
    EXPECT_EQ(kmeans.Centre(35), nullptr);
}

TEST(KMeans, EmptyInputsGiveDefinedResults) {
    KMeans kmeans(35);
    EXPECT_TRUE(kmeans.Run(nullptr, 0.05f, 0, 4).empty());
    EXPECT_EQ(kmeans.Iterations(), 0u);
    EXPECT_EQ(kmeans.Centre(0), nullptr);

    const std::vector<float> samples = DistinctSamples(10);
    KMeans none(0);
    EXPECT_EQ(none.Run(samples.data(), 0.05f, 10, 4), std::vector<uint32_t>(10, 0));
    EXPECT_EQ(none.Centre(0), nullptr);
}

TEST(KMeans, NearestCentreBreaksTiesTowardTheLowestIndex) {
    // With n = 3 the first three draws pick samples 1, 2 and 0.
    const std::vector<float> samples{5.0f, 5.0f, 5.0f,  5.0f, 0.75f, 0.0f,
                                     0.0f, 0.0f, 0.25f, 0.0f, 0.0f,  0.0f};
    KMeans kmeans(3);
    kmeans.Run(samples.data(), kStopAtOnce, 3, 4);
    ASSERT_EQ(CentreOf(kmeans, 0, 4), Sample(samples, 1, 4));
    ASSERT_EQ(CentreOf(kmeans, 1, 4), Sample(samples, 2, 4));
    const std::vector<float> midway{0.5f, 0.0f, 0.0f, 0.0f};
    EXPECT_EQ(kmeans.NearestCentre(midway.data(), 4), 0u);
    const std::vector<float> nearerTheSecond{0.3f, 0.0f, 0.0f, 0.0f};
    EXPECT_EQ(kmeans.NearestCentre(nearerTheSecond.data(), 4), 1u);

    // Two clusters seeded on the same sample: every tie goes to the lower index.
    const std::vector<float> twoSamples{0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    KMeans pair(2);
    const std::vector<uint32_t> indices = pair.Run(twoSamples.data(), kStopAtOnce, 2, 4);
    ASSERT_EQ(CentreOf(pair, 0, 4), CentreOf(pair, 1, 4));
    EXPECT_EQ(indices, (std::vector<uint32_t>{0, 0}));
}

TEST(KMeans, HasConvergedSumsSignedMovements) {
    const std::vector<float> samples = DistinctSamples(100);
    KMeans kmeans(2);
    kmeans.Run(samples.data(), kStopAtOnce, 100, 4);
    std::vector<float> means(kmeans.Centre(0), kmeans.Centre(0) + 4);
    means.insert(means.end(), kmeans.Centre(1), kmeans.Centre(1) + 4);

    std::vector<float> opposite = means;
    opposite[0] += 0.5f; // cluster 0 moves one way, cluster 1 the other: the sum cancels
    opposite[4] -= 0.5f;
    EXPECT_TRUE(kmeans.HasConverged(opposite.data(), 0.05f, 4));

    std::vector<float> same = means;
    same[0] -= 0.1f; // (0.1 + 0.1) / 4 = 0.05 is not below the threshold
    same[4] -= 0.1f;
    EXPECT_FALSE(kmeans.HasConverged(same.data(), 0.05f, 4));
    same[4] = means[4];
    EXPECT_TRUE(kmeans.HasConverged(same.data(), 0.05f, 4)); // 0.1 / 4 = 0.025

    // No centres, no movement: converged exactly when the threshold is above 0.
    const KMeans none(0);
    EXPECT_FALSE(none.HasConverged(nullptr, 0.0f, 4));
    EXPECT_TRUE(none.HasConverged(nullptr, 1e-6f, 4));
}

TEST(KMeans, RunsAreRepeatable) {
    std::vector<float> samples;
    uint32_t state = 1;
    for (uint32_t i = 0; i < 4 * 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        samples.push_back(static_cast<float>(state >> 8) / 16777216.0f);
    }
    KMeans kmeans(40);
    const std::vector<uint32_t> first = kmeans.Run(samples.data(), 0.05f, 20000, 4);
    const std::vector<float> centres(kmeans.Centre(0), kmeans.Centre(0) + 40 * 4);
    const uint32_t iterations = kmeans.Iterations();
    EXPECT_EQ(kmeans.Run(samples.data(), 0.05f, 20000, 4), first);
    EXPECT_EQ(std::vector<float>(kmeans.Centre(0), kmeans.Centre(0) + 40 * 4), centres);
    EXPECT_EQ(kmeans.Iterations(), iterations);
}

TEST(KMeans, OtherDimensionCountsFollowTheDefinition) {
    for (const uint32_t dims : {1u, 3u, 5u}) {
        std::vector<float> samples;
        uint32_t state = 7;
        for (uint32_t i = 0; i < dims * 3000; ++i) {
            state = state * 1664525u + 1013904223u;
            samples.push_back(static_cast<float>(state >> 20) / 4096.0f);
        }
        KMeans kmeans(20);
        const std::vector<uint32_t> indices = kmeans.Run(samples.data(), 0.01f, 3000, dims);
        const ReferenceKMeansResult reference = ReferenceKMeans(samples, 20, 0.01f, 3000, dims);
        EXPECT_EQ(indices, reference.indices) << dims << " dimensions";
        EXPECT_EQ(std::vector<float>(kmeans.Centre(0), kmeans.Centre(0) + 20 * dims), reference.centres);
        EXPECT_EQ(kmeans.Iterations(), reference.iterations);
    }
    // Five points in the plane seed samples 4, 1 and 4: the third cluster starts empty, keeps its own seed
    // and takes sample 4 in the second pass.
    const std::vector<float> plane{0, 0, 0, 5, 0, 6, 10, 1, 10, 0};
    KMeans three(3);
    const ReferenceKMeansResult reference = ReferenceKMeans(plane, 3, 0.01f, 5, 2);
    EXPECT_EQ(three.Run(plane.data(), 0.01f, 5, 2), reference.indices);
    EXPECT_EQ(reference.indices[4], 2u);
    EXPECT_EQ(std::vector<float>(three.Centre(0), three.Centre(0) + 3 * 2), reference.centres);
}
