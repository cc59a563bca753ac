#pragma once

// Templates and controls of the standard objects' rollouts. Macros, because the resource compiler reads
// this file too.
#define IDD_STD_COORDINATES 2000
#define IDD_STD_OUTPUT 2001

#define IDC_COORD_SOURCE 2010
#define IDC_COORD_CHANNEL_EDIT 2011
#define IDC_COORD_CHANNEL_SPIN 2012
// Offset, tiling and angle of X, Y and Z: edit and spinner IDs are 2020 + 2 × (3 × kind + axis) and one more.
#define IDC_COORD_FIRST_FIELD 2020

#define IDC_OUTPUT_AMOUNT_EDIT 2050
#define IDC_OUTPUT_AMOUNT_SPIN 2051
#define IDC_OUTPUT_INVERT 2052
