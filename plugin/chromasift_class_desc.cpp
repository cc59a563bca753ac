#include "plugin/chromasift_class_desc.h"

#include "plugin/param_ids.h"
#include "plugin/param_ranges.h"
#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "plugin/string_ids.h"
#include "ui/chromasift_dlg_proc.h"

#include <new>

// The block's description in the host's tagged encoding. Every floating-point operand is a double; the
// gamma spinner's step is the single-precision 0.1 widened, as the rollout has always used it.
Chromasift::Chromasift_ClassDesc::Chromasift_ClassDesc()
    : pbDesc(
          // clang-format off
          chromasift_params, L"ShaderParameters", IDS_PARAMS, nullptr, P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP,
          kParamBlockRef,
          2,
          kAboutMapId, IDD_ABOUT, IDS_ABOUT, 0, 0, static_cast<ParamMap2UserDlgProc*>(&theChromasiftDlgProc),
          kParamsMapId, IDD_PARAMS, IDS_PARAMS, 0, 0, static_cast<ParamMap2UserDlgProc*>(&theChromasiftDlgProc),

          pb_bitmap, L"Bitmapname", TYPE_BITMAP, 0, IDS_BITMAP,
              p_ui, kParamsMapId, TYPE_BITMAPBUTTON, IDC_BITMAP_BUTTON,
              p_end,
          pb_num_colors, L"# colors", TYPE_INT, P_ANIMATABLE, IDS_NUM_COLORS,
              p_default, 10,
              p_range, kNumColorsRange.low, kNumColorsRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_NUM_COLORS_EDIT, IDC_NUM_COLORS_SPIN, 1.0,
              p_end,
          pb_mapping_old, L"Mapping", TYPE_INT, P_ANIMATABLE, IDS_MAPPINGS,
              p_end,
          pb_coords, L"coords", TYPE_REFTARG, P_OWNERS_REF, IDS_COORDINATES,
              p_refno, static_cast<int>(kRefCoords),
              p_end,
          pb_input_map, L"Input map", TYPE_TEXMAP, 0, IDS_INPUT_MAP,
              p_ui, kParamsMapId, TYPE_TEXMAPBUTTON, IDC_INPUT_MAP_BUTTON,
              p_subtexno, static_cast<int>(kSubMapInput),
              p_end,
          pb_input_map_on, L"InputMapOn", TYPE_BOOL, P_ANIMATABLE, IDS_USE_INPUT_MAP,
              p_default, 0,
              p_ui, kParamsMapId, TYPE_SINGLECHECKBOX, IDC_INPUT_MAP_ON,
              p_end,
          pb_sort, L"Sorts", TYPE_INT, P_ANIMATABLE, IDS_MAPPINGS,
              p_default, 0,
              p_ui, kParamsMapId, TYPE_INT_COMBOBOX, IDC_SORTS_COMBO, 5,
                  IDS_SORT_COUNT, IDS_SORT_COLOR, IDS_SORT_LUMINANCE, IDS_SORT_COLOR_INVERSE,
                  IDS_SORT_LUMINANCE_INVERSE,
              p_vals, 0, 1, 2, 3, 4,
              p_end,
          pb_gamma, L"Gamma", TYPE_FLOAT, P_ANIMATABLE, IDS_GAMMA,
              p_default, 1.0,
              p_range, kGammaRange.low, kGammaRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_FLOAT, IDC_GAMMA_EDIT, IDC_GAMMA_SPIN,
                  static_cast<double>(0.1f),
              p_end,
          pb_output, L"output", TYPE_REFTARG, P_OWNERS_REF, IDS_TEXTURE_OUTPUT,
              p_refno, static_cast<int>(kRefOutput),
              p_end,
          pb_skip_colors, L"# colors skip", TYPE_INT, P_ANIMATABLE, IDS_SKIP_COLORS,
              p_default, 0,
              p_range, kSkipColorsRange.low, kSkipColorsRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_SKIP_COLORS_EDIT, IDC_SKIP_COLORS_SPIN, 1.0,
              p_end,
          pb_tile_rows, L"# of tile rows", TYPE_INT, P_ANIMATABLE, IDS_TILE_ROWS,
              p_default, 3,
              p_range, kTileRowsRange.low, kTileRowsRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_TILE_ROWS_EDIT, IDC_TILE_ROWS_SPIN, 1.0,
              p_end,
          pb_tile_columns, L"# of tile columns", TYPE_INT, P_ANIMATABLE, IDS_TILE_COLUMNS,
              p_default, 3,
              p_range, kTileColumnsRange.low, kTileColumnsRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_TILE_COLUMNS_EDIT, IDC_TILE_COLUMNS_SPIN, 1.0,
              p_end,
          pb_harmony, L"Color harmony", TYPE_INT, P_ANIMATABLE, IDS_COLOUR_HARMONY,
              p_default, 0,
              p_ui, kParamsMapId, TYPE_INT_COMBOBOX, IDC_HARMONY_COMBO, 8,
                  IDS_HARMONY_NONE, IDS_HARMONY_I_SMALL, IDS_HARMONY_V, IDS_HARMONY_L, IDS_HARMONY_I,
                  IDS_HARMONY_T, IDS_HARMONY_Y, IDS_HARMONY_X,
              p_vals, 0, 1, 2, 3, 4, 5, 6, 7,
              p_end,
          pb_is_harmonized, L"Is harmonized", TYPE_INT, P_ANIMATABLE, IDS_COLOR_HARMONIZED,
              p_default, 0,
              p_range, kIsHarmonizedRange.low, kIsHarmonizedRange.high,
              p_end,
          pb_mapping, L"Mapping", TYPE_INT, P_ANIMATABLE, IDS_MAPPINGS,
              p_default, 0,
              p_ui, kParamsMapId, TYPE_INT_COMBOBOX, IDC_MAPPING_COMBO, 4,
                  IDS_PIXELS, IDS_OBJECTS, IDS_COORDINATES_ITEM, IDS_INPUT_MAP_ITEM,
              p_vals, 0, 1, 2, 3,
              p_end,
          pb_object_mapping, L"Object mapping", TYPE_INT, P_ANIMATABLE, IDS_OBJECT_MAPPING,
              p_end,
          pb_pixel_mapping, L"Pixel mapping", TYPE_INT, P_ANIMATABLE, IDS_PIXEL_MAPPING,
              p_end,
          pb_coord_mapping, L"Coord mapping", TYPE_INT, P_ANIMATABLE, IDS_COORD_MAPPING,
              p_end,
          pb_input_mapping, L"Input mapping", TYPE_INT, P_ANIMATABLE, IDS_INPUT_MAPPING,
              p_end,
          pb_version, L"Version", TYPE_INT, P_ANIMATABLE, IDS_PLUGIN_VERSION,
              p_end,
          pb_hue_alteration, L"Hue alteration", TYPE_INT, P_ANIMATABLE, IDS_HUE_ALTERATION,
              p_default, 100,
              p_range, kHueAlterationRange.low, kHueAlterationRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_HUE_EDIT, IDC_HUE_SPIN, 1.0,
              p_end,
          pb_saturation_alteration, L"Saturation alteration", TYPE_INT, P_ANIMATABLE, IDS_SATURATION_ALTERATION,
              p_default, 100,
              p_range, kSaturationAlterationRange.low, kSaturationAlterationRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_SATURATION_EDIT, IDC_SATURATION_SPIN, 1.0,
              p_end,
          pb_value_alteration, L"Value alteration", TYPE_INT, P_ANIMATABLE, IDS_VALUE_ALTERATION,
              p_default, 100,
              p_range, kValueAlterationRange.low, kValueAlterationRange.high,
              p_ui, kParamsMapId, TYPE_SPINNER, EDITTYPE_INT, IDC_VALUE_EDIT, IDC_VALUE_SPIN, 1.0,
              p_end,
          pb_source_map, L"source map", TYPE_TEXMAP, 0, IDS_INPUT_MAP,
              p_subtexno, static_cast<int>(kSubMapSource),
              p_end,
          p_end
          // clang-format on
      ) {
    pbDesc.SetClassDesc(this);
    imrShaderTranslation_ClassInfo::LoadDescriptor(IMRSHADERTRANSLATION_CLASSINFO_INTERFACE_ID,
                                                   L"imrShaderTranslation_ClassInfo", 0, this, 0, p_end);
    // The internal name keeps the spelling that scripts and scenes already use.
    IMtlRender_Compatibility_MtlBase::LoadDescriptor(IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID,
                                                     L"IMtlRender_Compability_MtlBase", 0, this, 0, p_end);
}

void* Chromasift::Chromasift_ClassDesc::Create(BOOL loading) {
    return new (std::nothrow) Chromasift(loading != 0);
}

HINSTANCE Chromasift::Chromasift_ClassDesc::HInstance() {
    return hInstance;
}

void Chromasift::Chromasift_ClassDesc::SetUserDlgProc(ParamBlockDesc2* pbd, ParamMap2UserDlgProc* proc) {
    ClassDesc2::SetUserDlgProc(pbd, kParamsMapId, proc);
}

ClassDesc2* GetChromasiftDesc() {
    static Chromasift::Chromasift_ClassDesc desc;
    return &desc;
}
