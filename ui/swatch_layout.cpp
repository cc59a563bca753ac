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

int SwatchCellAt(int width, int height, int count, int x, int y) {
    const SwatchGrid grid = LayOutSwatches(width, height, count);
    if (grid.columns == 0 || grid.cellWidth <= 0 || grid.cellHeight <= 0)
        return -1;
    const int index = (y / grid.cellHeight) * kSwatchesPerRow + x / grid.cellWidth;
    return index < count ? index : -1;
}

SwatchRect DragPreviewCell(const SwatchRect& frame, const SwatchGrid& grid, int dx, int dy) {
    // The halves shift right, rounding towards minus infinity like the drawing always has.
    SwatchRect cell;
    cell.left = frame.left + dx - (grid.cellWidth >> 1);
    cell.top = frame.top + dy - (grid.cellHeight >> 1);
    cell.right = cell.left + grid.cellWidth;
    cell.bottom = cell.top + grid.cellHeight;
    cell.left = std::max(cell.left, frame.left);
    cell.right = std::min(cell.right, frame.right);
    cell.top = std::max(cell.top, frame.top);
    cell.bottom = std::min(cell.bottom, frame.bottom);
    return cell;
}
