#include "palette/sample_cells.h"

#include <algorithm>
#include <cmath>
#include <immintrin.h>
#include <limits>

namespace {

// About this many blocks over the samples' range, each divided along every varying component into
// kCellsPerBlockSide cells (2 when all four components vary). Blocks are coarse enough that ruling
// centres out for all of them costs little; cells fine enough that few centres remain for their samples.
constexpr double kTargetBlocks = 512.0;
constexpr uint32_t kCellsPerBlockSide = 4;
constexpr uint32_t kMostBlocksPerAxis = 64;
constexpr uint32_t kMostGridCells = 1u << 16;
// Narrower extents get a single row of cells, which keeps every scale factor finite.
constexpr double kNarrowestExtent = 1e-30;

// The grid: blocks per axis and cells per block along each axis.
struct Grid {
    uint32_t blocks[4];
    uint32_t split[4];
    uint32_t blockCount;
    uint32_t cellsPerBlock;
    // Per component: the factor from offset to fine cell coordinate, the last coordinate, 1 / split, and
    // the weights of the block and in-block coordinates in the cell number. Every product and sum of
    // these stays an integer below 2^24, exact in float.
    float scale[4];
    float lastCell[4];
    float inverseSplit[4];
    float blockWeight[4];
    float localWeight[4];
};

Grid PlanGrid(const float* lowest, const float* highest) {
    double extent[4], volume = 1.0;
    uint32_t varying = 0;
    for (uint32_t d = 0; d < 4; ++d) {
        extent[d] = double(highest[d]) - double(lowest[d]);
        if (extent[d] < kNarrowestExtent)
            extent[d] = 0.0;
        if (extent[d] > 0.0) {
            volume *= extent[d];
            ++varying;
        }
    }
    // Cubic blocks over the components that vary (alpha usually does not).
    const double side = varying > 0 ? std::pow(volume / kTargetBlocks, 1.0 / varying) : 1.0;
    const uint32_t split = varying == 4 ? 2 : kCellsPerBlockSide;
    Grid grid{};
    for (uint32_t d = 0; d < 4; ++d) {
        const double along = extent[d] > 0.0 ? std::ceil(extent[d] / side) : 1.0;
        grid.blocks[d] = static_cast<uint32_t>(std::clamp(along, 1.0, double(kMostBlocksPerAxis)));
        grid.split[d] = extent[d] > 0.0 ? split : 1;
    }
    // Very unequal extents can round up to a large grid; coarsen its finest axis until it is small.
    auto gridCells = [&] {
        uint32_t cells = 1;
        for (uint32_t d = 0; d < 4; ++d)
            cells *= grid.blocks[d] * grid.split[d];
        return cells;
    };
    while (gridCells() > kMostGridCells)
        *std::max_element(grid.blocks, grid.blocks + 4) /= 2;
    grid.blockCount = grid.blocks[0] * grid.blocks[1] * grid.blocks[2] * grid.blocks[3];
    grid.cellsPerBlock = grid.split[0] * grid.split[1] * grid.split[2] * grid.split[3];
    uint32_t blockWeight = grid.cellsPerBlock, localWeight = 1;
    for (uint32_t d = 4; d-- > 0;) {
        const uint32_t cells = grid.blocks[d] * grid.split[d];
        grid.scale[d] = extent[d] > 0.0 ? static_cast<float>(cells / extent[d]) : 0.0f;
        grid.lastCell[d] = static_cast<float>(cells - 1);
        grid.inverseSplit[d] = 1.0f / static_cast<float>(grid.split[d]);
        grid.blockWeight[d] = static_cast<float>(blockWeight);
        grid.localWeight[d] = static_cast<float>(localWeight);
        blockWeight *= grid.blocks[d];
        localWeight *= grid.split[d];
    }
    return grid;
}

} // namespace

SampleCells::SampleCells(const float* samples_, uint32_t n) : samples(samples_) {
    // Four running extremes, so that consecutive samples do not wait for each other.
    __m128 minimum[4], maximum[4];
    for (uint32_t lane = 0; lane < 4; ++lane)
        minimum[lane] = maximum[lane] = _mm_loadu_ps(samples);
    uint32_t s = 0;
    for (; s + 4 <= n; s += 4) {
        for (uint32_t lane = 0; lane < 4; ++lane) {
            const __m128 sample = _mm_loadu_ps(samples + size_t{s + lane} * 4);
            minimum[lane] = _mm_min_ps(minimum[lane], sample);
            maximum[lane] = _mm_max_ps(maximum[lane], sample);
        }
    }
    for (; s < n; ++s) {
        minimum[0] = _mm_min_ps(minimum[0], _mm_loadu_ps(samples + size_t{s} * 4));
        maximum[0] = _mm_max_ps(maximum[0], _mm_loadu_ps(samples + size_t{s} * 4));
    }
    const __m128 lowest = _mm_min_ps(_mm_min_ps(minimum[0], minimum[1]), _mm_min_ps(minimum[2], minimum[3]));
    const __m128 highest = _mm_max_ps(_mm_max_ps(maximum[0], maximum[1]), _mm_max_ps(maximum[2], maximum[3]));
    alignas(16) float low[4], high[4];
    _mm_store_ps(low, lowest);
    _mm_store_ps(high, highest);
    const Grid grid = PlanGrid(low, high);

    // Each sample's cell, numbered block by block so that the cells of a block are consecutive. Offsets
    // are clamped in float before conversion, so nothing overflows.
    const __m128 scale = _mm_loadu_ps(grid.scale);
    const __m128 lastCell = _mm_loadu_ps(grid.lastCell);
    const __m128 inverseSplit = _mm_loadu_ps(grid.inverseSplit);
    const __m128 split = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(grid.split)));
    const __m128 blockWeight = _mm_loadu_ps(grid.blockWeight);
    const __m128 localWeight = _mm_loadu_ps(grid.localWeight);
    const uint32_t gridCells = grid.blockCount * grid.cellsPerBlock;
    std::vector<uint32_t> cellOf(n);
    std::vector<uint32_t> population(gridCells, 0);
    for (s = 0; s < n; ++s) {
        const __m128 offset = _mm_mul_ps(_mm_sub_ps(_mm_loadu_ps(samples + size_t{s} * 4), lowest), scale);
        const __m128 fine =
            _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(offset, _mm_setzero_ps()), lastCell)));
        const __m128 block = _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_mul_ps(fine, inverseSplit)));
        const __m128 local = _mm_sub_ps(fine, _mm_mul_ps(block, split));
        __m128 cell = _mm_add_ps(_mm_mul_ps(block, blockWeight), _mm_mul_ps(local, localWeight));
        cell = _mm_add_ps(cell, _mm_movehl_ps(cell, cell));
        cell = _mm_add_ss(cell, _mm_shuffle_ps(cell, cell, 1));
        cellOf[s] = static_cast<uint32_t>(_mm_cvttss_si32(cell));
        ++population[cellOf[s]];
    }

    // Counting sort by cell, keeping sample order within a cell; empty cells and blocks are dropped.
    // population becomes each grid cell's next free position.
    cellStarts.assign(1, 0);
    blockCells.assign(1, 0);
    for (uint32_t block = 0; block < grid.blockCount; ++block) {
        for (uint32_t cell = block * grid.cellsPerBlock; cell < (block + 1) * grid.cellsPerBlock; ++cell) {
            if (population[cell] != 0) {
                const uint32_t start = cellStarts.back();
                cellStarts.push_back(start + population[cell]);
                population[cell] = start;
            }
        }
        if (Cells() != blockCells.back())
            blockCells.push_back(Cells());
    }
    order.resize(n);
    for (s = 0; s < n; ++s)
        order[population[cellOf[s]]++] = s;
    cellLow.resize(size_t{Cells()} * 4);
    cellHigh.resize(size_t{Cells()} * 4);
    for (uint32_t cell = 0; cell < Cells(); ++cell) {
        __m128 cellMinimum = _mm_loadu_ps(samples + size_t{order[Begin(cell)]} * 4);
        __m128 cellMaximum = cellMinimum;
        for (uint32_t p = Begin(cell) + 1; p < End(cell); ++p) {
            const __m128 sample = _mm_loadu_ps(samples + size_t{order[p]} * 4);
            cellMinimum = _mm_min_ps(cellMinimum, sample);
            cellMaximum = _mm_max_ps(cellMaximum, sample);
        }
        _mm_storeu_ps(&cellLow[size_t{cell} * 4], cellMinimum);
        _mm_storeu_ps(&cellHigh[size_t{cell} * 4], cellMaximum);
    }

    blockLow.resize(size_t{Blocks()} * 4);
    blockHigh.resize(size_t{Blocks()} * 4);
    for (uint32_t block = 0; block < Blocks(); ++block) {
        __m128 blockMinimum = _mm_set1_ps(std::numeric_limits<float>::infinity());
        __m128 blockMaximum = _mm_set1_ps(-std::numeric_limits<float>::infinity());
        for (uint32_t cell = FirstCell(block); cell < FirstCell(block + 1); ++cell) {
            blockMinimum = _mm_min_ps(blockMinimum, _mm_loadu_ps(CellLow(cell)));
            blockMaximum = _mm_max_ps(blockMaximum, _mm_loadu_ps(CellHigh(cell)));
        }
        _mm_storeu_ps(&blockLow[size_t{block} * 4], blockMinimum);
        _mm_storeu_ps(&blockHigh[size_t{block} * 4], blockMaximum);
    }
}

std::vector<uint32_t> SampleCells::Runs(uint32_t samplesPerRun) const {
    std::vector<uint32_t> runs{0};
    for (uint32_t block = 0; block < Blocks(); ++block) {
        if (End(FirstCell(block + 1) - 1) - Begin(FirstCell(runs.back())) >= samplesPerRun)
            runs.push_back(block + 1);
    }
    if (runs.back() != Blocks())
        runs.push_back(Blocks());
    return runs;
}
