#pragma once

// The modal "reorder colours" dialog (template 163, Windows build): drag a swatch onto another cell to
// move the colour there; OK accepts the order, Cancel and Escape discard it.
#include "plugin/host_sdk.h"

// The cell of the reorder dialog's grid under the point x, y of its swatch frame (frame coordinates), or
// -1 when no colour lies there.
int SwatchIndexAt(HWND dialog, int x, int y);

// The dialog procedure of template 163; lParam of WM_INITDIALOG is the Palette being reordered.
INT_PTR CALLBACK ReorderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
