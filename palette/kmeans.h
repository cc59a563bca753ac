#pragma once

#include "palette/execution.h"

#include <cstdint>
#include <vector>

// Lloyd's k-means over n samples of dims floats with a deterministic seed: every Run draws its seed
// samples from the same pseudo-random sequence, so the same samples always give the same clusters.
class KMeans {
public:
    explicit KMeans(uint32_t k);
    KMeans(uint32_t k, const KMeansExecution& execution);

    // Clusters samples (n × dims floats, sample by sample) until the centres move less than threshold;
    // returns one cluster index per sample and keeps the centres of that assignment. n = 0 or k = 0: no
    // clustering at all; the result is n zeros and no centre exists.
    std::vector<uint32_t> Run(const float* samples, float threshold, uint32_t n, uint32_t dims);

    // The centre of cluster i (dims floats), or null when i ≥ k or before the first Run.
    const float* Centre(uint32_t i) const;

    // The nearest centre of one sample: the smallest squared distance, ties to the lowest index. 0 before
    // the first Run.
    uint32_t NearestCentre(const float* sample, uint32_t dims) const;

    // Whether the signed movement from the centres to means (k × dims floats), summed over every
    // component and divided by dims term by term, is smaller than threshold in magnitude.
    bool HasConverged(const float* means, float threshold, uint32_t dims) const;

    // Assignment passes of the last Run, its final, converged pass included.
    uint32_t Iterations() const { return iterations; }

private:
    uint32_t NextSeedIndex(uint32_t n);
    void IterateInOrder(const float* samples, uint32_t n, uint32_t* indices, float* means) const;

    uint32_t k;
    KMeansExecution execution;
    uint32_t seedState = 0; // linear congruential state of the seed draw, private to this clusterer
    uint32_t dimensions = 0;
    std::vector<float> centres; // k × dimensions once a Run has created them
    uint32_t iterations = 0;
};
