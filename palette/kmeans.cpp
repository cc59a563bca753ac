#include "palette/kmeans.h"

#include "palette/lloyd_pass.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr uint32_t kSeedStart = 57102;

} // namespace

KMeans::KMeans(uint32_t k_) : KMeans(k_, KMeansExecution{}) {}

KMeans::KMeans(uint32_t k_, const KMeansExecution& execution_) : k(k_), execution(execution_) {}

uint32_t KMeans::NextSeedIndex(uint32_t n) {
    seedState = seedState * 214013u + 2531011u;
    return ((seedState >> 16) & 0x7FFFu) % n;
}

std::vector<uint32_t> KMeans::Run(const float* samples, float threshold, uint32_t n, uint32_t dims) {
    iterations = 0;
    std::vector<uint32_t> indices(n, 0);
    if (n == 0 || k == 0) {
        centres.clear();
        return indices;
    }

    seedState = kSeedStart;
    dimensions = dims;
    centres.resize(size_t{k} * dims);
    for (uint32_t i = 0; i < k; ++i) {
        const float* seed = samples + size_t{NextSeedIndex(n)} * dims;
        std::copy(seed, seed + dims, centres.begin() + size_t{i} * dims);
    }

    // Colour samples take the fast pass; other dimension counts the plain one.
    std::unique_ptr<LloydPass> pass =
        dims == 4 ? std::make_unique<LloydPass>(samples, n, k, execution) : nullptr;
    std::vector<float> means(centres.size());
    for (;;) {
        if (pass)
            pass->Iterate(centres.data(), indices.data(), means.data());
        else
            IterateInOrder(samples, n, indices.data(), means.data());
        ++iterations;
        // The converged pass keeps its centres, so they match the returned assignment.
        if (HasConverged(means.data(), threshold, dims))
            break;
        centres.swap(means);
    }
    return indices;
}

void KMeans::IterateInOrder(const float* samples, uint32_t n, uint32_t* indices, float* means) const {
    const uint32_t dims = dimensions;
    std::vector<uint32_t> counts(k, 0);
    std::fill(means, means + size_t{k} * dims, 0.0f);
    for (uint32_t s = 0; s < n; ++s) {
        const float* sample = samples + size_t{s} * dims;
        const uint32_t cluster = NearestCentre(sample, dims);
        indices[s] = cluster;
        ++counts[cluster];
        for (uint32_t d = 0; d < dims; ++d)
            means[size_t{cluster} * dims + d] += sample[d];
    }
    for (uint32_t i = 0; i < k; ++i) {
        for (uint32_t d = 0; d < dims; ++d) {
            float& mean = means[size_t{i} * dims + d];
            mean = counts[i] > 0 ? mean / static_cast<float>(counts[i]) : centres[size_t{i} * dims + d];
        }
    }
}

const float* KMeans::Centre(uint32_t i) const {
    if (i >= k || centres.empty())
        return nullptr;
    return centres.data() + size_t{i} * dimensions;
}

uint32_t KMeans::NearestCentre(const float* sample, uint32_t dims) const {
    if (centres.empty())
        return 0;
    const uint32_t components = std::min(dims, dimensions);
    uint32_t index = 0;
    float best = 0.0f;
    for (uint32_t i = 0; i < k; ++i) {
        const float* centre = centres.data() + size_t{i} * dimensions;
        float distance = 0.0f;
        for (uint32_t d = 0; d < components; ++d) {
            const float diff = sample[d] - centre[d];
            distance += diff * diff;
        }
        if (i == 0 || distance < best) {
            best = distance;
            index = i;
        }
    }
    return index;
}

bool KMeans::HasConverged(const float* means, float threshold, uint32_t dims) const {
    if (centres.empty())
        return threshold > 0.0f;
    const uint32_t components = std::min(dims, dimensions);
    const float divisor = static_cast<float>(dims);
    float movement = 0.0f;
    for (uint32_t i = 0; i < k; ++i) {
        for (uint32_t d = 0; d < components; ++d) {
            const size_t at = size_t{i} * dimensions + d;
            movement += (centres[at] - means[at]) / divisor;
        }
    }
    return threshold > std::fabs(movement);
}
