#include "ui/swatch_layout.h"

#include <algorithm>
#include <cmath>

SwatchGrid LayOutSwatches(int width, int height, int count) {
    SwatchGrid grid;
    grid.columns = std::clamp(count, 0, kSwatchesPerRow);
    if (grid.columns == 0)
        return grid;
    // The row count is computed in single precision, as the rollout always has.
    grid.rows = std::max(
        1, static_cast<int>(std::ceil(static_cast<float>(count) / static_cast<float>(grid.columns))));
    grid.cellWidth = width / grid.columns;
    grid.cellHeight = height / grid.rows;
    return grid;
}
