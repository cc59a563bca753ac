#include "host/scene/scene_json.h"

#include "hostsdk/param_types.h"

#include <cstdio>

namespace host {

std::string HexWord(ULONG word) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(word));
    return text;
}

std::optional<ULONG> ReadWord(const Json& value) {
    if (value.is_number_unsigned())
        return static_cast<ULONG>(value.get<unsigned long long>());
    if (value.is_number_integer() && value.get<long long>() >= 0)
        return static_cast<ULONG>(value.get<long long>());
    if (!value.is_string())
        return std::nullopt;
    const std::string text = value.get<std::string>();
    try {
        std::size_t used = 0;
        const unsigned long long word = std::stoull(text, &used, 0);
        if (used != text.size() || word > 0xffffffffull)
            return std::nullopt;
        return static_cast<ULONG>(word);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

const char* ParamTypeName(int type) {
    switch (base_type(type)) {
    case TYPE_FLOAT:
        return "float";
    case TYPE_BOOL:
        return "bool";
    case TYPE_TEXMAP:
        return "texmap";
    case TYPE_BITMAP:
        return "bitmap";
    case TYPE_REFTARG:
        return "reftarg";
    case TYPE_POINT3:
        return "point3";
    case TYPE_RGBA:
        return "color";
    case TYPE_STRING:
        return "string";
    default:
        return "int";
    }
}

} // namespace host
