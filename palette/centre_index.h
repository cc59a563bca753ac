#pragma once

#include "palette/execution.h"
#include "palette/sample_cells.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The centres of one k-means iteration, four components each, prepared for many nearest-centre queries.
// Every answer equals that of measuring all centres in index order: the smallest squared distance as
// computed in float (component differences, their squares, then the sum in component order), ties going
// to the lowest index.
class CentreIndex {
public:
    // True when no value is NaN or infinite.
    static bool AllFinite(const float* values, size_t count);

    // Prepares k ≥ 1 centres of 4 floats each. Levels other than Scalar need every centre and sample
    // finite; Scalar follows the plain comparisons for any value, NaN included.
    void Build(const float* centres, uint32_t k, SimdLevel simd);

    // The nearest centre of one 4-float sample, measuring every distinct centre.
    uint32_t Nearest(const float* sample) const;

    // Nearest() of every sample in [begin, end) of samples (4 floats each), into indices.
    void Assign(const float* samples, uint32_t begin, uint32_t end, uint32_t* indices) const;

    // The nearest centre of every sample of blocks [firstBlock, endBlock), into indices by sample index.
    // A block, then each of its cells, keeps only the centres that can be nearest to some point of its
    // bounding box; samples measure only those. Needs everything finite.
    void AssignBlocks(const SampleCells& cells, uint32_t firstBlock, uint32_t endBlock,
                      uint32_t* indices) const;

    uint32_t Size() const { return k; }

private:
    uint32_t k = 0;
    SimdLevel simd = SimdLevel::Scalar;
    // Distinct centres in index order: of identical centres only the first can ever be nearest (a tie
    // goes to the lowest index), so the others are left out.
    uint32_t distinct = 0;
    uint32_t stride = 0;            // distinct rounded up to whole vectors of 8
    std::vector<uint32_t> original; // distinct centre -> centre index
    std::vector<float> columns;     // 4 × stride, component by component; padding is +inf
};
