#include "hostsdk/param_block_desc.h"

#include "hostsdk/class_desc.h"

#include <cstdarg>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

std::string Narrow(const MCHAR* text) {
    std::string out;
    for (const MCHAR* c = text; c != nullptr && *c != 0; ++c)
        out.push_back(*c < 128 ? static_cast<char>(*c) : '?');
    return out;
}

[[noreturn]] void Malformed(const ParamDef* param, const std::string& what) {
    std::string message = "ParamBlockDesc2: ";
    if (param != nullptr)
        message += "parameter " + std::to_string(param->id) + " \"" + Narrow(param->internalName) + "\": ";
    throw std::invalid_argument(message + what);
}

bool IsPointType(int type) {
    const int base = base_type(type);
    return base == TYPE_POINT3 || base == TYPE_RGBA || base == TYPE_HSV;
}

bool IsPointerType(int type) {
    switch (base_type(type)) {
    case TYPE_STRING:
    case TYPE_FILENAME:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_BITMAP:
    case TYPE_INODE:
    case TYPE_REFTARG:
    case TYPE_MATRIX3:
    case TYPE_PBLOCK2:
        return true;
    default:
        return false;
    }
}

// Reads one value of the parameter's type; floating-point operands always arrive as double.
ParamValueSpec ReadValue(const ParamDef& param, va_list& args) {
    ParamValueSpec value;
    if (is_float_type(param.type)) {
        value.f = va_arg(args, double);
    } else if (IsPointType(param.type)) {
        value.p = va_arg(args, Point3);
    } else if (IsPointerType(param.type)) {
        value.ptr = va_arg(args, void*);
    } else {
        value.i = va_arg(args, int);
        value.f = value.i;
    }
    return value;
}

void ReadControl(ParamDef& param, bool multimap, va_list& args) {
    param.hasUi = true;
    if (multimap)
        param.uiMapId = static_cast<MapID>(va_arg(args, int));
    param.controlType = va_arg(args, int);
    switch (param.controlType) {
    case TYPE_SPINNER: {
        param.editType = va_arg(args, int);
        const int pairs = IsPointType(param.type) ? 3 : 1;
        for (int i = 0; i < pairs; ++i) {
            param.controlIds.push_back(va_arg(args, int));
            param.controlIds.push_back(va_arg(args, int));
        }
        param.spinnerScale = va_arg(args, double);
        break;
    }
    case TYPE_SINGLECHECKBOX:
    case TYPE_COLORSWATCH:
    case TYPE_EDITBOX:
    case TYPE_CHECKBUTTON:
    case TYPE_PICKNODEBUTTON:
    case TYPE_TEXMAPBUTTON:
    case TYPE_MTLBUTTON:
    case TYPE_BITMAPBUTTON:
    case TYPE_FILEOPENBUTTON:
    case TYPE_FILESAVEBUTTON:
        param.controlIds.push_back(va_arg(args, int));
        break;
    case TYPE_INT_COMBOBOX: {
        param.controlIds.push_back(va_arg(args, int));
        const int count = va_arg(args, int);
        if (count < 0 || count > 1024)
            Malformed(&param, "drop-down item count out of range");
        for (int i = 0; i < count; ++i)
            param.itemStrings.push_back(va_arg(args, int));
        break;
    }
    default:
        Malformed(&param, "unknown control type " + std::to_string(param.controlType));
    }
}

void ReadListValues(ParamDef& param, va_list& args) {
    // The list has one value per item of the control, so the control must come first.
    if (param.controlType != TYPE_INT_COMBOBOX)
        Malformed(&param, "p_vals without a preceding list control");
    for (std::size_t i = 0; i < param.itemStrings.size(); ++i)
        param.listValues.push_back(va_arg(args, int));
}

} // namespace

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const MCHAR* internalName_, StringResID localName_,
                                 ClassDesc2* classDesc, int flags_, ...)
    : blockId(id), internalName(internalName_), localName(localName_), cd(classDesc), flags(flags_) {
    va_list args;
    va_start(args, flags_);
    try {
        if (flags & P_VERSION)
            version = va_arg(args, int);
        if (flags & P_AUTO_CONSTRUCT)
            refNo = va_arg(args, int);
        if (flags & P_AUTO_UI) {
            const int mapCount = (flags & P_MULTIMAP) ? va_arg(args, int) : 1;
            if (mapCount < 0 || mapCount > 64)
                Malformed(nullptr, "rollout count out of range");
            for (int i = 0; i < mapCount; ++i) {
                ParamMapSpec map;
                if (flags & P_MULTIMAP)
                    map.mapId = static_cast<MapID>(va_arg(args, int));
                map.dialogTemplate = va_arg(args, int);
                map.title = va_arg(args, int);
                map.flagMask = va_arg(args, int);
                map.rollupFlags = va_arg(args, int);
                map.userDlgProc = va_arg(args, ParamMap2UserDlgProc*);
                maps.push_back(map);
            }
        }
        for (;;) {
            const int first = va_arg(args, int);
            if (first == p_end)
                break;
            if (first < 0 || first > 0x7fff)
                Malformed(nullptr, "expected a parameter ID or p_end, found " + std::to_string(first));
            ParamDef param;
            param.id = static_cast<ParamID>(first);
            param.internalName = va_arg(args, const MCHAR*);
            param.type = va_arg(args, int);
            if (is_tab(param.type))
                param.tabSize = va_arg(args, int);
            param.flags = va_arg(args, int);
            param.localName = va_arg(args, int);
            if (IDtoIndex(param.id) >= 0)
                Malformed(&param, "duplicate parameter ID");
            for (;;) {
                const int tag = va_arg(args, int);
                if (tag == p_end)
                    break;
                switch (tag) {
                case p_default:
                    param.hasDefault = true;
                    param.defaultValue = ReadValue(param, args);
                    break;
                case p_range:
                    param.hasRange = true;
                    param.rangeLow = ReadValue(param, args);
                    param.rangeHigh = ReadValue(param, args);
                    break;
                case p_ui:
                    ReadControl(param, (flags & P_MULTIMAP) != 0, args);
                    break;
                case p_vals:
                    ReadListValues(param, args);
                    break;
                case p_refno:
                    param.refNo = va_arg(args, int);
                    break;
                case p_subtexno:
                    param.subTexNo = va_arg(args, int);
                    break;
                default:
                    Malformed(&param, "unknown tag " + std::to_string(tag));
                }
            }
            params.push_back(param);
            if (indexById.size() <= static_cast<std::size_t>(param.id))
                indexById.resize(static_cast<std::size_t>(param.id) + 1, -1);
            indexById[static_cast<std::size_t>(param.id)] = static_cast<short>(params.size() - 1);
        }
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    if (cd != nullptr)
        cd->AddParamBlockDesc(this);
}

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const MCHAR* internalName_, std::vector<ParamDef> params_)
    : blockId(id), internalName(internalName_), localName(0), flags(0), params(std::move(params_)) {
    for (std::size_t i = 0; i < params.size(); ++i) {
        const ParamID paramId = params[i].id;
        if (paramId < 0)
            throw std::invalid_argument("a parameter ID must not be negative");
        if (indexById.size() <= static_cast<std::size_t>(paramId))
            indexById.resize(static_cast<std::size_t>(paramId) + 1, -1);
        indexById[static_cast<std::size_t>(paramId)] = static_cast<short>(i);
    }
}

ParamBlockDesc2::~ParamBlockDesc2() = default;

void ParamBlockDesc2::SetClassDesc(ClassDesc2* classDesc) {
    cd = classDesc;
    if (cd != nullptr)
        cd->AddParamBlockDesc(this);
}

ParamID ParamBlockDesc2::IndextoID(int index) const {
    if (index < 0 || index >= Count())
        return -1;
    return params[static_cast<std::size_t>(index)].id;
}

int ParamBlockDesc2::NameToIndex(const MCHAR* name) const {
    if (name == nullptr)
        return -1;
    for (std::size_t i = 0; i < params.size(); ++i)
        if (params[i].internalName != nullptr && std::wcscmp(params[i].internalName, name) == 0)
            return static_cast<int>(i);
    return -1;
}

const ParamDef* ParamBlockDesc2::GetParamDef(ParamID id) const {
    const int index = IDtoIndex(id);
    return index < 0 ? nullptr : &params[static_cast<std::size_t>(index)];
}

ParamMapSpec* ParamBlockDesc2::FindMap(MapID id) {
    for (ParamMapSpec& map : maps)
        if (map.mapId == id)
            return &map;
    return nullptr;
}

void ParamBlockDesc2::SetUserDlgProc(MapID id, ParamMap2UserDlgProc* proc) {
    if (ParamMapSpec* map = FindMap(id))
        map->userDlgProc = proc;
}
