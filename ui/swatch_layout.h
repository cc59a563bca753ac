#pragma once

// The geometry of the palette swatches: a grid of at most 25 cells a row inside a frame, each cell
// framed by one-pixel white lines. Shared by the drawing and the hit test, so that they agree.
inline constexpr int kSwatchesPerRow = 25;

struct SwatchGrid {
    int columns = 0;
    int rows = 0;
    int cellWidth = 0;
    int cellHeight = 0;
};

// The grid for `count` cells in a frame `width` × `height` pixels; no columns when count is 0 or less.
// Cell sizes truncate: the remainder stays white at the right and bottom of the frame.
SwatchGrid LayOutSwatches(int width, int height, int count);

// A rectangle in pixels, right and bottom exclusive.
struct SwatchRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The cell under the point x, y of a frame `width` × `height` holding `count` colours, or -1 when no colour
// lies there. Rows are numbered with the full-row stride of 25, as the reorder dialog always has; a frame
// too small to give every cell a pixel has no cells at all.
int SwatchCellAt(int width, int height, int count, int x, int y);

// The preview cell of a drag at dx, dy (frame coordinates): one cell centred on the point, clipped to the
// frame.
SwatchRect DragPreviewCell(const SwatchRect& frame, const SwatchGrid& grid, int dx, int dy);
