// One whole Lloyd pass (assignment and cluster means) against the plain definition, for every way of
// spreading the work and for input outside the pruned search's reach.
#include "palette/lloyd_pass.h"

#include "reference_kmeans.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

TEST(LloydPass, OneIterationAsDefined) {
    struct Case {
        std::string what;
        std::vector<float> samples;
        uint32_t k;
    };
    std::vector<Case> cases = {
        {"uniform", UniformSamples(4 * 30000, 0.0f, 1.0f, 1), 130},
        {"lattice", LatticeSamples(4 * 30000, 2), 130},
        {"small", UniformSamples(4 * 7, 0.0f, 1.0f, 3), 35},
        // One sample past a whole part of the plain assignment: the last part holds a single sample.
        {"one past a part", UniformSamples(4 * 2049, 0.0f, 1.0f, 7), 35},
        {"one sample", UniformSamples(4, 0.0f, 1.0f, 8), 1},
    };
    std::vector<float> nonFinite = UniformSamples(4 * 5000, 0.0f, 1.0f, 4);
    nonFinite[4 * 10 + 1] = std::numeric_limits<float>::quiet_NaN();
    nonFinite[4 * 20 + 2] = std::numeric_limits<float>::infinity();
    nonFinite[4 * 4999] = -std::numeric_limits<float>::infinity();
    cases.push_back({"non-finite samples", nonFinite, 35});
    std::vector<float> huge = UniformSamples(4 * 5000, 0.0f, 1.0f, 5);
    huge[4 * 7] = 1e30f;
    cases.push_back({"one huge sample", huge, 35});

    for (const Case& c : cases) {
        const uint32_t n = static_cast<uint32_t>(c.samples.size() / 4);
        std::vector<float> centres = CentresFor(c.samples, c.k, 6);
        const uint32_t k = static_cast<uint32_t>(centres.size() / 4);
        std::vector<uint32_t> expectedIndices;
        std::vector<float> expectedMeans;
        ReferenceIteration(c.samples, centres, k, n, 4, expectedIndices, expectedMeans);
        for (const uint32_t threads : {1u, 2u, 3u}) {
            for (const bool pruning : {true, false}) {
                LloydPass pass(c.samples.data(), n, k, KMeansExecution{threads, SimdLevel::Best, pruning});
                // No cluster has this index: a sample the pass leaves out shows.
                std::vector<uint32_t> indices(n, k);
                std::vector<float> means(centres.size());
                pass.Iterate(centres.data(), indices.data(), means.data());
                const std::string label =
                    c.what + ", " + std::to_string(threads) + " threads" + (pruning ? "" : ", unpruned");
                EXPECT_EQ(indices, expectedIndices) << label;
                EXPECT_EQ(Bits(means.data(), means.size()), Bits(expectedMeans.data(), expectedMeans.size()))
                    << label;
            }
        }
    }
}
