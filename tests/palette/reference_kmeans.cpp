#include "reference_kmeans.h"

#include <cmath>

uint32_t ReferenceNearest(const float* sample, const std::vector<float>& centres, uint32_t k, uint32_t dims) {
    auto distance = [&](uint32_t i) {
        float sum = 0.0f;
        for (uint32_t d = 0; d < dims; ++d) {
            const float diff = sample[d] - centres[i * dims + d];
            sum += diff * diff;
        }
        return sum;
    };
    float best = distance(0);
    uint32_t index = 0;
    for (uint32_t i = 1; i < k; ++i) {
        const float next = distance(i);
        if (next < best) {
            best = next;
            index = i;
        }
    }
    return index;
}

void ReferenceIteration(const std::vector<float>& samples, const std::vector<float>& centres, uint32_t k,
                        uint32_t n, uint32_t dims, std::vector<uint32_t>& indices,
                        std::vector<float>& means) {
    std::vector<uint32_t> counts(k, 0);
    std::vector<float> sums(size_t{k} * dims, 0.0f);
    indices.assign(n, 0);
    for (uint32_t s = 0; s < n; ++s) {
        const float* sample = &samples[size_t{s} * dims];
        const uint32_t c = ReferenceNearest(sample, centres, k, dims);
        indices[s] = c;
        counts[c] += 1;
        for (uint32_t d = 0; d < dims; ++d)
            sums[c * dims + d] += sample[d];
    }
    means.resize(size_t{k} * dims);
    for (uint32_t i = 0; i < k; ++i)
        for (uint32_t d = 0; d < dims; ++d)
            means[i * dims + d] =
                counts[i] > 0 ? sums[i * dims + d] / static_cast<float>(counts[i]) : centres[i * dims + d];
}

ReferenceKMeansResult ReferenceKMeans(const std::vector<float>& samples, uint32_t k, float threshold,
                                      uint32_t n, uint32_t dims) {
    ReferenceKMeansResult result;
    uint32_t state = 57102;
    result.centres.resize(size_t{k} * dims);
    for (uint32_t i = 0; i < k; ++i) {
        state = state * 214013u + 2531011u;
        const uint32_t seed = ((state >> 16) & 0x7FFF) % n;
        for (uint32_t d = 0; d < dims; ++d)
            result.centres[i * dims + d] = samples[size_t{seed} * dims + d];
    }
    std::vector<float> means;
    for (;;) {
        ReferenceIteration(samples, result.centres, k, n, dims, result.indices, means);
        ++result.iterations;
        float movement = 0.0f;
        for (uint32_t i = 0; i < k; ++i)
            for (uint32_t d = 0; d < dims; ++d)
                movement += (result.centres[i * dims + d] - means[i * dims + d]) / static_cast<float>(dims);
        if (threshold > std::fabs(movement))
            return result;
        result.centres = means;
    }
}
