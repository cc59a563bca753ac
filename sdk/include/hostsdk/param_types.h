#pragma once

// The encoding of a parameter block descriptor's argument list: tags, parameter types, flags and control
// types. These numbers are part of the host's binary interface and of stored scenes; never change them.

enum ParamTags : int {
    p_default = -(1 << 30),
    p_ms_default,
    p_range,
    p_ui,
    p_validator,
    p_accessor,
    p_vals,
    p_refno,
    p_subtexno,
    p_submtlno,
    p_end = p_default + 1024,
};

enum ParamType2 : int {
    TYPE_FLOAT = 0,
    TYPE_INT = 1,
    TYPE_RGBA = 2,
    TYPE_POINT3 = 3,
    TYPE_BOOL = 4,
    TYPE_ANGLE = 5,
    TYPE_PCNT_FRAC = 6,
    TYPE_WORLD = 7,
    TYPE_STRING = 8,
    TYPE_FILENAME = 9,
    TYPE_HSV = 10,
    TYPE_COLOR_CHANNEL = 11,
    TYPE_TIMEVALUE = 12,
    TYPE_RADIOBTN_INDEX = 13,
    TYPE_MTL = 14,
    TYPE_TEXMAP = 15,
    TYPE_BITMAP = 16,
    TYPE_INODE = 17,
    TYPE_REFTARG = 18,
    TYPE_INDEX = 19,
    TYPE_MATRIX3 = 20,
    TYPE_PBLOCK2 = 21,
    TYPE_POINT4 = 22,
    // A colour with alpha: four floats.
    TYPE_FRGBA = 23,
    TYPE_TAB = 0x800,
};

constexpr int base_type(int type) {
    return type & ~TYPE_TAB;
}
constexpr bool is_tab(int type) {
    return (type & TYPE_TAB) != 0;
}
// The scalar types whose value is one float (and whose defaults and ranges arrive as doubles).
constexpr bool is_float_type(int type) {
    switch (base_type(type)) {
    case TYPE_FLOAT:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_WORLD:
    case TYPE_COLOR_CHANNEL:
        return true;
    default:
        return false;
    }
}

// Block (descriptor) flags.
constexpr int P_CLASS_PARAMS = 0x1;
constexpr int P_AUTO_CONSTRUCT = 0x2;
constexpr int P_AUTO_UI = 0x4;
constexpr int P_USE_PARAMS = 0x8;
constexpr int P_INCLUDE_PARAMS = 0x10;
constexpr int P_MULTIMAP = 0x20;
constexpr int P_CALLSETS_ON_LOAD = 0x40;
constexpr int P_HASCATEGORY = 0x80;
constexpr int P_TEMPLATE_UI = 0x100;
constexpr int P_VERSION = 0x200;

// Per-parameter flags.
constexpr int P_ANIMATABLE = 0x1;
constexpr int P_TRANSIENT = 0x2;
constexpr int P_NO_INIT = 0x4;
constexpr int P_COMPUTED_NAME = 0x8;
constexpr int P_INVISIBLE = 0x10;
constexpr int P_RESET_DEFAULT = 0x20;
constexpr int P_SUBANIM = 0x40;
constexpr int P_TV_SHOW_ALL = 0x80;
constexpr int P_NO_REF = 0x100;
constexpr int P_OWNERS_REF = 0x200;
constexpr int P_CAN_CONVERT = 0x400;
constexpr int P_SUBTEX = 0x800;
constexpr int P_VARIABLE_SIZE = 0x1000;
constexpr int P_NO_AUTO_LABELS = 0x2000;
constexpr int P_SHORT_LABELS = 0x4000;
constexpr int P_READ_ONLY = 0x8000;

enum ControlType2 : int {
    TYPE_SPINNER = 0,
    TYPE_RADIO = 1,
    TYPE_SINGLECHECKBOX = 2,
    TYPE_MULTICHECKBOX = 3,
    TYPE_COLORSWATCH = 4,
    TYPE_EDITBOX = 5,
    TYPE_CHECKBUTTON = 6,
    TYPE_PICKNODEBUTTON = 7,
    TYPE_TEXMAPBUTTON = 8,
    TYPE_MTLBUTTON = 9,
    TYPE_BITMAPBUTTON = 10,
    TYPE_FILEOPENBUTTON = 11,
    TYPE_FILESAVEBUTTON = 12,
    // This host generation numbers the integer drop-down list 26.
    TYPE_INT_COMBOBOX = 26,
};

enum EditSpinnerType : int {
    EDITTYPE_INT = 0,
    EDITTYPE_FLOAT = 1,
    EDITTYPE_UNIVERSE = 2,
    EDITTYPE_POS_INT = 3,
    EDITTYPE_POS_FLOAT = 4,
};
