#pragma once

// Drawing the palette as swatches into a dialog's black-framed static (Windows build).
#include "palette/palette_entry.h"
#include "plugin/host_sdk.h"

// Draws the first `count` positions of `entries` into the client rectangle of the dialog's swatch frame,
// on the dialog's device context: white everywhere, then one cell a position, white where the list has
// no entry.
void DrawSwatches(HWND dialog, HDC dc, int count, const Palette& entries);
