#pragma once

#include <cstdint>
#include <vector>

// The clusterer written as plainly as its definition, one step per line, for comparison with the fast
// one: seeds from the linear congruential draw, then assignment by scanning every centre in index order,
// sums in sample order, and the signed-movement convergence test.
struct ReferenceKMeansResult {
    std::vector<uint32_t> indices;
    std::vector<float> centres; // k × dims
    uint32_t iterations = 0;
};

ReferenceKMeansResult ReferenceKMeans(const std::vector<float>& samples, uint32_t k, float threshold,
                                      uint32_t n, uint32_t dims);

// The nearest of k centres (k × dims floats) by the definition: ties to the lowest index.
uint32_t ReferenceNearest(const float* sample, const std::vector<float>& centres, uint32_t k, uint32_t dims);

// One assignment pass and the means it gives (an empty cluster keeps its centre).
void ReferenceIteration(const std::vector<float>& samples, const std::vector<float>& centres, uint32_t k,
                        uint32_t n, uint32_t dims, std::vector<uint32_t>& indices, std::vector<float>& means);
