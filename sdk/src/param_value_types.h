#pragma once

// Which values a parameter of each type holds, for the parameter block's files.
#include "hostsdk/param_block_desc.h"

namespace param_value_types {

inline bool AcceptsInt(int type) {
    switch (base_type(type)) {
    case TYPE_INT:
    case TYPE_BOOL:
    case TYPE_TIMEVALUE:
    case TYPE_RADIOBTN_INDEX:
    case TYPE_INDEX:
        return true;
    default:
        return false;
    }
}

inline bool AcceptsPoint(int type) {
    const int base = base_type(type);
    return base == TYPE_POINT3 || base == TYPE_RGBA || base == TYPE_HSV;
}

inline bool AcceptsPoint4(int type) {
    const int base = base_type(type);
    return base == TYPE_FRGBA || base == TYPE_POINT4;
}

inline bool IsReferenceType(int type) {
    switch (base_type(type)) {
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_INODE:
    case TYPE_REFTARG:
    case TYPE_PBLOCK2:
        return true;
    default:
        return false;
    }
}

// A reference that the block's owner holds in its own slot refNo.
inline bool IsOwnersReference(const ParamDef& def) {
    return (def.flags & P_OWNERS_REF) != 0 && def.refNo >= 0;
}

} // namespace param_value_types
