// The fast clusterer against the plain definition: identical assignments, centres and iteration counts
// for every way of running it (instruction set, threads, pruning) on photographs and on data built to
// provoke ties, duplicates and rounding trouble.
#include "palette/kmeans.h"
#include "palette/sample_grid.h"

#include "reference_kmeans.h"
#include "test_data.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct Variant {
    const char* name;
    KMeansExecution execution;
};

const Variant kVariants[] = {
    {"scalar", {1, SimdLevel::Scalar, true}},     {"sse2", {1, SimdLevel::Sse2, true}},
    {"avx2", {1, SimdLevel::Avx2, true}},         {"two threads", {2, SimdLevel::Best, true}},
    {"four threads", {4, SimdLevel::Best, true}}, {"unpruned", {2, SimdLevel::Best, false}},
};

// Runs every variant on the samples and compares it with the reference, bit for bit.
void ExpectSameAsReference(const std::vector<float>& samples, uint32_t k, const std::string& what,
                           float threshold = 0.05f) {
    const uint32_t n = static_cast<uint32_t>(samples.size() / 4);
    const ReferenceKMeansResult reference = ReferenceKMeans(samples, k, threshold, n, 4);
    for (const Variant& variant : kVariants) {
        KMeans kmeans(k, variant.execution);
        const std::vector<uint32_t> indices = kmeans.Run(samples.data(), threshold, n, 4);
        EXPECT_EQ(indices, reference.indices) << what << ", " << variant.name;
        EXPECT_EQ(Bits(kmeans.Centre(0), size_t{k} * 4),
                  Bits(reference.centres.data(), reference.centres.size()))
            << what << ", " << variant.name;
        EXPECT_EQ(kmeans.Iterations(), reference.iterations) << what << ", " << variant.name;
    }
}

std::vector<float> GridOf(const std::string& image) {
    const TestImage decoded = LoadTestImage(image);
    return BuildSampleGrid(decoded.width, decoded.height, decoded.pixels).samples;
}

// A 256 × 256 gradient: seeds come from its upper half only, so centres creep down over many passes.
std::vector<float> Gradient() {
    std::vector<float> samples;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const float fy = static_cast<float>(y) / 255.0f;
            const float fx = static_cast<float>(x) / 255.0f;
            samples.insert(samples.end(), {fy, fx, 0.5f * (fx + fy), 1.0f});
        }
    }
    return samples;
}

} // namespace

TEST(KMeansEquivalence, Photographs) {
    for (const std::string& image : TestImageNames()) {
        const std::vector<float> samples = GridOf(image);
        ASSERT_FALSE(samples.empty()) << image;
        for (const uint32_t k : {35u, 130u})
            ExpectSameAsReference(samples, k, image + ", k = " + std::to_string(k));
    }
}

TEST(KMeansEquivalence, ManyIterations) {
    ExpectSameAsReference(Gradient(), 35, "gradient");
}

TEST(KMeansEquivalence, UniformNoise) {
    ExpectSameAsReference(UniformSamples(4 * 20000, 0.0f, 1.0f, 11), 60, "uniform");
    ExpectSameAsReference(UniformSamples(4 * 10000, -1e6f, 1e6f, 12), 50, "wide uniform");
}

TEST(KMeansEquivalence, TiesAndDuplicates) {
    ExpectSameAsReference(LatticeSamples(4 * 30000, 21), 130, "lattice");
    ExpectSameAsReference(LatticeSamples(4 * 50, 22), 130, "few samples, duplicate seeds");
    std::vector<float> equal;
    for (int i = 0; i < 5000; ++i)
        equal.insert(equal.end(), {0.5f, 0.25f, 0.125f, 1.0f});
    ExpectSameAsReference(equal, 130, "all equal");
    ExpectSameAsReference({0.25f, 0.5f, 0.75f, 1.0f}, 35, "one sample");
    // Signed zeros give equal distances and must tie like equal values.
    std::vector<float> zeros = LatticeSamples(4 * 4000, 23);
    for (size_t i = 0; i < zeros.size(); i += 3)
        zeros[i] = zeros[i] == 0.0f ? -0.0f : zeros[i];
    ExpectSameAsReference(zeros, 40, "signed zeros");
}

TEST(KMeansEquivalence, RoundingExtremes) {
    // Differences whose squares underflow: every distance is 0 and every sample ties.
    ExpectSameAsReference(UniformSamples(4 * 3000, 1e-39f, 4e-39f, 31), 35, "subnormal");
    // Squares in the subnormal range, where rounding is absolute rather than relative.
    ExpectSameAsReference(UniformSamples(4 * 3000, 0.0f, 1e-19f, 32), 35, "tiny");
    // Magnitudes near the largest the pruned search accepts, and beyond it.
    ExpectSameAsReference(UniformSamples(4 * 3000, -0x1p59f, 0x1p59f, 33), 35, "large", 0x1p58f);
    ExpectSameAsReference(UniformSamples(4 * 3000, -1e30f, 1e30f, 34), 35, "huge", 1e29f);
}
