#pragma once

// The manual reorder of the palette as plain data: the dialog's process-wide drag state, the move of one
// colour and the palette that results when the person accepts.
#include "palette/palette_entry.h"

struct ReorderState {
    Palette* working = nullptr; // the list being reordered, owned by the running reorder
    int count = 0;              // its size, fixed while the dialog is open: moves keep the number
    int dragSource = -1;        // the colour being dragged, -1 when no drag is pending
    int dragX = 0;              // the last mouse position of the drag, in the swatch frame's coordinates
    int dragY = 0;
};

// The dialog is modal and there is one at a time, so its state is process-wide; the swatch drawing reads
// it to add the drag preview.
extern ReorderState theReorderState;

// Takes the colour at `source` out and puts it back so that it ends at `target`; the colours between
// shift one place towards the source. Indices outside the list leave it unchanged.
void MoveSwatch(Palette& list, int source, int target);

// The palette after an accepted reorder: the reordered first colours, then the palette's entries past
// them in their old order.
Palette ApplyReorder(const Palette& palette, const Palette& reordered);
