#pragma once

// A picture of a palette laid out like the rollout's swatches, with each colour's share under its cell.
#include "host/draw/canvas.h"
#include "host/export/palette_export.h"

namespace host {

// The grid: at most 25 cells to a row, as in the rollout. Cell k of row r starts at (k * kSwatchPitchX,
// r * kSwatchPitchY); its first column and row are the white line between cells, then come the colour
// (kSwatchColourHeight rows) and a white strip with the share. One more white column and row close the
// picture at the right and bottom. Positions past the last colour are white cells without a label.
constexpr int kSwatchColumns = 25;
constexpr int kSwatchPitchX = 56;
constexpr int kSwatchColourHeight = 40;
constexpr int kSwatchLabelHeight = 16;
constexpr int kSwatchPitchY = 1 + kSwatchColourHeight + kSwatchLabelHeight;

// The sheet of a palette with at least one colour; an empty palette gives an empty canvas.
Canvas SwatchSheet(const PaletteExport& palette);

} // namespace host
