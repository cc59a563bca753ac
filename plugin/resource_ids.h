#pragma once

// Dialog templates, bitmaps and control IDs. The rollout binds parameters to these controls; they must
// match the dialog templates. Macros, because the resource compiler reads this file too.
#define IDD_PARAMS 106
#define IDD_ABOUT 107
#define IDD_REORDER 163
#define IDB_BANNER 160

// The parameters rollout.
#define IDC_MAPPING_COMBO 1019
#define IDC_SORTS_COMBO 1020
#define IDC_HARMONY_COMBO 1021
#define IDC_BITMAP_BUTTON 1030
#define IDC_NUM_COLORS_EDIT 1031
#define IDC_NUM_COLORS_SPIN 1032
#define IDC_INPUT_MAP_BUTTON 1033
#define IDC_INPUT_MAP_ON 1034
#define IDC_SWATCH_FRAME 1035
#define IDC_GAMMA_EDIT 1036
#define IDC_GAMMA_SPIN 1037
#define IDC_SKIP_COLORS_EDIT 1038
#define IDC_SKIP_COLORS_SPIN 1039
#define IDC_TILE_ROWS_EDIT 1040
#define IDC_TILE_ROWS_SPIN 1041
#define IDC_TILE_COLUMNS_EDIT 1042
#define IDC_TILE_COLUMNS_SPIN 1043
#define IDC_HUE_EDIT 1044
#define IDC_COUNT_LABEL 1045
#define IDC_MODE_RADIO_1 1046
#define IDC_MODE_RADIO_2 1047
#define IDC_MODE_RADIO_3 1048
#define IDC_MODE_RADIO_4 1049
#define IDC_MODE_RADIO_5 1050
#define IDC_MODE_RADIO_6 1051
#define IDC_INPUT_MAP_LABEL 1052
#define IDC_TILE_ROWS_LABEL 1053
#define IDC_TILE_COLUMNS_LABEL 1054
#define IDC_HUE_SPIN 1055
#define IDC_SATURATION_EDIT 1056
#define IDC_SATURATION_SPIN 1057
#define IDC_VALUE_EDIT 1058
#define IDC_VALUE_SPIN 1059
#define IDC_MODE_RADIO_7 1060
#define IDC_MANUAL_BUTTON 1139
#define IDC_TILING_GROUP 1551

// The About rollout.
#define IDC_DOCUMENTATION_LINK 1044
#define IDC_VERSION_LABEL 3040
