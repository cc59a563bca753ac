#pragma once

// Dialog templates, bitmaps and control IDs. The rollout binds parameters to these controls; they must
// match the dialog templates.
constexpr int IDD_PARAMS = 106;
constexpr int IDD_ABOUT = 107;
constexpr int IDD_REORDER = 163;
constexpr int IDB_BANNER = 160;

constexpr int IDC_MAPPING_COMBO = 1019;
constexpr int IDC_SORTS_COMBO = 1020;
constexpr int IDC_HARMONY_COMBO = 1021;
constexpr int IDC_BITMAP_BUTTON = 1030;
constexpr int IDC_NUM_COLORS_EDIT = 1031;
constexpr int IDC_NUM_COLORS_SPIN = 1032;
constexpr int IDC_INPUT_MAP_BUTTON = 1033;
constexpr int IDC_INPUT_MAP_ON = 1034;
constexpr int IDC_GAMMA_EDIT = 1036;
constexpr int IDC_GAMMA_SPIN = 1037;
constexpr int IDC_SKIP_COLORS_EDIT = 1038;
constexpr int IDC_SKIP_COLORS_SPIN = 1039;
constexpr int IDC_TILE_ROWS_EDIT = 1040;
constexpr int IDC_TILE_ROWS_SPIN = 1041;
constexpr int IDC_TILE_COLUMNS_EDIT = 1042;
constexpr int IDC_TILE_COLUMNS_SPIN = 1043;
constexpr int IDC_HUE_EDIT = 1044;
constexpr int IDC_HUE_SPIN = 1055;
constexpr int IDC_SATURATION_EDIT = 1056;
constexpr int IDC_SATURATION_SPIN = 1057;
constexpr int IDC_VALUE_EDIT = 1058;
constexpr int IDC_VALUE_SPIN = 1059;
