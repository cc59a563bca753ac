#include "host/render/mr_shader_print.h"

#include "host/base/text.h"

#include "hostsdk/mtl_base.h"

#include <cstdio>
#include <string>

namespace host {

namespace {

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

void PrintBlock(IParamBlock2& block, std::ostream& out) {
    for (int i = 0; i < block.NumParams(); ++i) {
        const ParamID id = block.IndextoID(i);
        const ParamDef* def = block.GetParamDef(id);
        const std::string name = ToUtf8(def->internalName == nullptr ? L"" : def->internalName);
        Interval valid = FOREVER;
        switch (base_type(def->type)) {
        case TYPE_INT:
            out << "  " << name << " = " << block.GetInt(id) << "\n";
            break;
        case TYPE_FLOAT:
            out << "  " << name << " = " << Number(block.GetFloat(id)) << "\n";
            break;
        case TYPE_FRGBA: {
            const int count = block.Count(id);
            out << "  " << name << " = " << count << (count == 1 ? " colour" : " colours") << "\n";
            for (int k = 0; k < count; ++k) {
                AColor c;
                block.GetValue(id, 0, c, valid, k);
                out << "    [" << k << "] " << Number(c.r) << " " << Number(c.g) << " " << Number(c.b) << " "
                    << Number(c.a) << "\n";
            }
            break;
        }
        case TYPE_TEXMAP: {
            Texmap* map = block.GetTexmap(id);
            out << "  " << name << " = "
                << (map == nullptr ? std::string("none") : "\"" + ToUtf8(map->GetFullName()) + "\"") << "\n";
            break;
        }
        default:
            out << "  " << name << " = (type " << def->type << ")\n";
            break;
        }
    }
}

} // namespace

void PrintShader(imrShader& shader, std::ostream& out) {
    out << "mental ray shader \"" << ToUtf8(shader.GetName()) << "\", declaration \""
        << ToUtf8(shader.GetDeclarationName()) << "\"\n";
    if (IParamBlock2* values = shader.GetParametersParamBlock())
        PrintBlock(*values, out);
    if (IParamBlock2* connections = shader.GetConnectionsParamBlock())
        PrintBlock(*connections, out);
}

} // namespace host
