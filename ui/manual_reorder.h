#pragma once

// The rollout's "Manual" button: the person reorders the first "# colors" colours of the map's palette by
// dragging swatches in a modal dialog.
#include "palette/palette_entry.h"

class Chromasift;

// Runs the reorder dialog on `working`; true when the person accepts the new order with OK. The Linux
// build has no windows: there the dialog never opens and nothing is accepted.
bool RunReorderDialog(Palette& working);

// Lets the person reorder the first colours of the map's palette and applies the accepted order, leaving
// sorting, harmonisation and the extracted palette as they were. An empty palette opens no dialog.
void ManualReorder(Chromasift& map);
