#pragma once

#include "palette/execution.h"
#include "palette/palette_entry.h"
#include "palette/sample_grid.h"

#include <cstdint>
#include <span>

// What one extraction produces: the working palette and the palette as extracted (equal when made).
struct ExtractionResult {
    Palette palette;
    Palette extractedPalette;
    uint32_t iterations = 0; // k-means assignment passes, the final converged one included
};

// Clusters for "# colors" and "# colors skip": at least 35, or all the colours asked for and skipped. The
// sum wraps like the unsigned 32-bit numbers it adds.
uint32_t ClusterCount(uint32_t numColours, uint32_t skipColours);

// The colour key of a cluster centre (four floats): each channel × 65535 in float, truncated, then packed
// by additions of 16-bit shifts. For channels in 0..1 this is the key of ColourKey.
uint64_t QuantiseCentre(const float* centre);

// Counts the samples of every distinct key and turns each key into an entry: most frequent first, equal
// counts in ascending key order.
Palette BuildPalettes(std::span<const uint64_t> keys);

// The whole extraction on a built grid: clusters the samples, replaces each by its centre's key, builds
// the palette, drops the skipColours most frequent colours and keeps at most numColours. A grid without
// samples gives two empty lists.
ExtractionResult ExtractPaletteFromGrid(const SampleGrid& grid, uint32_t numColours, uint32_t skipColours,
                                        const KMeansExecution& execution = {});
