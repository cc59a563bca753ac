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
