#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The samples of one k-means run (four floats each) sorted into the cells of a grid over their range, in
// two levels: a coarse grid of blocks, each divided into finer cells. Every block and cell keeps the
// bounding box of its samples. Built once per run, since the samples stay the same from iteration to
// iteration; the nearest-centre search then rules centres out for a whole block, then for each of its
// cells. Only occupied blocks and cells are kept. How samples fall into cells affects speed only, never a
// result.
class SampleCells {
public:
    // samples: n ≥ 1 samples, every component finite; they must outlive the cells.
    SampleCells(const float* samples, uint32_t n);

    // The samples the cells hold (n × 4 floats).
    const float* Samples() const { return samples; }

    uint32_t Cells() const { return static_cast<uint32_t>(cellStarts.size()) - 1; }
    uint32_t Blocks() const { return static_cast<uint32_t>(blockCells.size()) - 1; }

    // The cells of block b are [FirstCell(b), FirstCell(b + 1)).
    uint32_t FirstCell(uint32_t block) const { return blockCells[block]; }

    // The samples of cell c are positions [Begin(c), End(c)) of Order(); a block's samples are those of its
    // cells, which are consecutive.
    uint32_t Begin(uint32_t cell) const { return cellStarts[cell]; }
    uint32_t End(uint32_t cell) const { return cellStarts[cell + 1]; }

    // The sample index at each position, ascending within a cell.
    const uint32_t* Order() const { return order.data(); }

    // Lowest and highest value of each component over the samples of a cell or a block (4 floats each).
    const float* CellLow(uint32_t cell) const { return &cellLow[size_t{cell} * 4]; }
    const float* CellHigh(uint32_t cell) const { return &cellHigh[size_t{cell} * 4]; }
    const float* BlockLow(uint32_t block) const { return &blockLow[size_t{block} * 4]; }
    const float* BlockHigh(uint32_t block) const { return &blockHigh[size_t{block} * 4]; }

    // Consecutive blocks grouped into runs of about samplesPerRun samples: run r is blocks
    // [runs[r], runs[r + 1]).
    std::vector<uint32_t> Runs(uint32_t samplesPerRun) const;

private:
    std::vector<uint32_t> cellStarts; // Cells() + 1 positions
    std::vector<uint32_t> blockCells; // Blocks() + 1 cell numbers
    const float* samples;
    std::vector<uint32_t> order;
    std::vector<float> cellLow;
    std::vector<float> cellHigh;
    std::vector<float> blockLow;
    std::vector<float> blockHigh;
};
