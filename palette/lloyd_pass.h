#pragma once

#include "palette/centre_index.h"
#include "palette/execution.h"
#include "palette/sample_cells.h"
#include "palette/work_team.h"

#include <cstdint>
#include <memory>
#include <vector>

// One Lloyd iteration over n samples of four floats, spread over a work team: every sample is assigned to
// its nearest centre, then every cluster's mean is formed. The results are those of the plain sequential
// definition bit for bit: the same nearest centre (ties to the lowest index) and, per cluster, the sum of
// its samples in sample order divided by its count; an empty cluster keeps its centre.
class LloydPass {
public:
    // samples (n × 4 floats) must outlive the pass.
    LloydPass(const float* samples, uint32_t n, uint32_t k, const KMeansExecution& execution);

    // centres and means hold k × 4 floats, indices n.
    void Iterate(const float* centres, uint32_t* indices, float* means);

private:
    void Accumulate(const uint32_t* indices, uint32_t firstCluster, uint32_t endCluster);

    const float* samples;
    uint32_t n;
    uint32_t k;
    KMeansExecution execution;
    bool samplesFinite;
    CentreIndex index;
    std::unique_ptr<SampleCells> cells; // only when pruning finite samples
    std::vector<uint32_t> cellRuns;     // the blocks of each claimed part
    std::unique_ptr<WorkTeam> team;
    std::vector<float> sums;
    std::vector<uint32_t> counts;
};
