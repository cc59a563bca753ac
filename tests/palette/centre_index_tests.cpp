// The nearest-centre search, with and without sample cells, against the plain definition.
#include "palette/centre_index.h"
#include "palette/sample_cells.h"

#include "reference_kmeans.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

const SimdLevel kLevels[] = {SimdLevel::Scalar, SimdLevel::Sse2, SimdLevel::Avx2};

const char* Name(SimdLevel level) {
    switch (level) {
    case SimdLevel::Scalar:
        return "scalar";
    case SimdLevel::Sse2:
        return "sse2";
    default:
        return "avx2";
    }
}

void ExpectNearestAsDefined(const std::vector<float>& samples, const std::vector<float>& centres,
                            const std::string& what) {
    const uint32_t n = static_cast<uint32_t>(samples.size() / 4);
    const uint32_t k = static_cast<uint32_t>(centres.size() / 4);
    std::vector<uint32_t> expected(n);
    for (uint32_t s = 0; s < n; ++s)
        expected[s] = ReferenceNearest(&samples[s * 4], centres, k, 4);
    const SampleCells cells(samples.data(), n);
    for (const SimdLevel level : kLevels) {
        CentreIndex index;
        index.Build(centres.data(), k, level);
        std::vector<uint32_t> scanned(n), pruned(n);
        index.Assign(samples.data(), 0, n, scanned.data());
        index.AssignBlocks(cells, 0, cells.Blocks(), pruned.data());
        EXPECT_EQ(scanned, expected) << what << ", full scan, " << Name(level);
        EXPECT_EQ(pruned, expected) << what << ", cells, " << Name(level);
    }
}

} // namespace

TEST(CentreIndex, NearestAsDefined) {
    const std::vector<float> uniform = UniformSamples(4 * 20000, 0.0f, 1.0f, 1);
    ExpectNearestAsDefined(uniform, CentresFor(uniform, 130, 2), "uniform");
    const std::vector<float> lattice = LatticeSamples(4 * 20000, 3);
    ExpectNearestAsDefined(lattice, CentresFor(lattice, 130, 4), "lattice");
    ExpectNearestAsDefined(lattice, LatticeSamples(4 * 35, 5), "lattice centres");
    const std::vector<float> tiny = UniformSamples(4 * 5000, 0.0f, 1e-19f, 6);
    ExpectNearestAsDefined(tiny, CentresFor(tiny, 35, 7), "tiny");
    const std::vector<float> subnormal = UniformSamples(4 * 5000, 1e-39f, 4e-39f, 8);
    ExpectNearestAsDefined(subnormal, CentresFor(subnormal, 35, 9), "subnormal");
    const std::vector<float> one = UniformSamples(4, 0.0f, 1.0f, 10);
    ExpectNearestAsDefined(uniform, one, "single centre");
    // Differences and squares that overflow to infinity: distances tie at infinity.
    const std::vector<float> huge = UniformSamples(4 * 5000, -1.5e38f, 1.5e38f, 11);
    ExpectNearestAsDefined(huge, CentresFor(huge, 35, 12), "overflowing");
}

TEST(CentreIndex, EquidistantCentresGoToTheLowestIndex) {
    // Eight centres at the same distance from the origin, listed from the last index to the first.
    std::vector<float> centres;
    for (int i = 7; i >= 0; --i)
        centres.insert(centres.end(), {i % 2 == 0 ? 0.5f : -0.5f, i / 2 % 2 == 0 ? 0.5f : -0.5f,
                                       i / 4 == 0 ? 0.5f : -0.5f, 0.0f});
    const std::vector<float> origin(4 * 300, 0.0f);
    ExpectNearestAsDefined(origin, centres, "equidistant");
    CentreIndex index;
    index.Build(centres.data(), 8, SimdLevel::Best);
    EXPECT_EQ(index.Nearest(origin.data()), 0u);
}

TEST(CentreIndex, AllFinite) {
    std::vector<float> values = UniformSamples(4 * 10, -1.0f, 1.0f, 1);
    EXPECT_TRUE(CentreIndex::AllFinite(values.data(), values.size()));
    values[37] = -std::numeric_limits<float>::max();
    EXPECT_TRUE(CentreIndex::AllFinite(values.data(), values.size()));
    values[37] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(CentreIndex::AllFinite(values.data(), values.size()));
    values[37] = 0.0f;
    values[38] = std::numeric_limits<float>::infinity(); // in the scalar tail of the check
    EXPECT_FALSE(CentreIndex::AllFinite(values.data(), 39));
}
