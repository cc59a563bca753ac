#pragma once

// Resources of the SDK's user-interface tests: a rollout template with one control of every bound kind,
// a second rollout, and a template naming a control class nobody registers.
#define IDD_TEST_PARAMS 200
#define IDD_TEST_SECOND 201
#define IDD_TEST_BROKEN 202

#define IDS_TITLE_PARAMS 300
#define IDS_TITLE_SECOND 301
#define IDS_ITEM_ZEBRA 302
#define IDS_ITEM_APPLE 303
#define IDS_ITEM_MANGO 304

#define IDC_COUNT_EDIT 1001
#define IDC_COUNT_SPIN 1002
#define IDC_GAMMA_EDIT 1003
#define IDC_GAMMA_SPIN 1004
#define IDC_ENABLED 1005
#define IDC_FRUIT 1006
#define IDC_MAP_BUTTON 1007
#define IDC_BITMAP_BUTTON 1008
#define IDC_OTHER 1011
#define IDC_SECOND_LABEL 1012
