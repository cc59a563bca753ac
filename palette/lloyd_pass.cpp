#include "palette/lloyd_pass.h"

#include <algorithm>
#include <immintrin.h>

namespace {

// Samples per claimed part of the assignment: small enough to balance two threads, large enough that
// claiming costs nothing.
constexpr uint32_t kSamplesPerPart = 2048;
// Below this much work per iteration a helper thread costs more than it saves.
constexpr uint64_t kLeastWorkForTeam = uint64_t{1} << 18;

} // namespace

LloydPass::LloydPass(const float* samples_, uint32_t n_, uint32_t k_, const KMeansExecution& execution_)
    : samples(samples_), n(n_), k(k_), execution(execution_),
      samplesFinite(CentreIndex::AllFinite(samples_, size_t{n_} * 4)), sums(size_t{k_} * 4), counts(k_) {
    const bool worthATeam = uint64_t{n} * k >= kLeastWorkForTeam && n >= 2 * kSamplesPerPart;
    team = std::make_unique<WorkTeam>(worthATeam ? ResolveThreadCount(execution.threads) : 1);
    if (samplesFinite && execution.pruning && n > 0) {
        cells = std::make_unique<SampleCells>(samples, n);
        cellRuns = cells->Runs(kSamplesPerPart);
    }
}

void LloydPass::Iterate(const float* centres, uint32_t* indices, float* means) {
    // With NaN or infinity about, only the plain scan reproduces the definition's comparisons.
    const bool searchable = samplesFinite && CentreIndex::AllFinite(centres, size_t{k} * 4);
    index.Build(centres, k, searchable ? execution.simd : SimdLevel::Scalar);

    if (searchable && cells) {
        team->Run(static_cast<uint32_t>(cellRuns.size()) - 1, [&](uint32_t part) {
            index.AssignBlocks(*cells, cellRuns[part], cellRuns[part + 1], indices);
        });
    } else {
        team->Run((n + kSamplesPerPart - 1) / kSamplesPerPart, [&](uint32_t part) {
            const uint32_t begin = part * kSamplesPerPart;
            index.Assign(samples, begin, std::min(n, begin + kSamplesPerPart), indices);
        });
    }

    // Each thread owns a range of clusters and adds their samples in sample order, so every sum is the
    // sequential one.
    const uint32_t groups = std::min(team->Size(), k);
    team->Run(groups, [&](uint32_t group) {
        Accumulate(indices, static_cast<uint32_t>(uint64_t{k} * group / groups),
                   static_cast<uint32_t>(uint64_t{k} * (group + 1) / groups));
    });

    for (uint32_t i = 0; i < k; ++i) {
        for (uint32_t d = 0; d < 4; ++d) {
            means[i * 4 + d] =
                counts[i] > 0 ? sums[i * 4 + d] / static_cast<float>(counts[i]) : centres[i * 4 + d];
        }
    }
}

void LloydPass::Accumulate(const uint32_t* indices, uint32_t firstCluster, uint32_t endCluster) {
    for (uint32_t i = firstCluster; i < endCluster; ++i) {
        _mm_storeu_ps(&sums[i * 4], _mm_setzero_ps());
        counts[i] = 0;
    }
    // Neighbouring samples mostly share a cluster: its running sum stays in a register until the cluster
    // changes.
    uint32_t current = endCluster;
    __m128 sum = _mm_setzero_ps();
    uint32_t count = 0;
    for (uint32_t s = 0; s < n; ++s) {
        const uint32_t cluster = indices[s];
        if (cluster - firstCluster >= endCluster - firstCluster)
            continue;
        if (cluster != current) {
            if (current != endCluster) {
                _mm_storeu_ps(&sums[current * 4], sum);
                counts[current] = count;
            }
            current = cluster;
            sum = _mm_loadu_ps(&sums[current * 4]);
            count = counts[current];
        }
        sum = _mm_add_ps(sum, _mm_loadu_ps(samples + size_t{s} * 4));
        ++count;
    }
    if (current != endCluster) {
        _mm_storeu_ps(&sums[current * 4], sum);
        counts[current] = count;
    }
}
