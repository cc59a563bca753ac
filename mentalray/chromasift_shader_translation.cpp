// The map's side of mental ray rendering: it stands for itself as an instance of the external shader
// "Chromasift" and copies its settings into that shader's parameters.
#include "map/chromasift.h"

#include "mentalray/shader_parameters.h"
#include "plugin/param_ids.h"

#include <algorithm>

namespace {

constexpr const MCHAR* kShaderDeclaration = L"Chromasift";

} // namespace

imrShader* Chromasift::GetMRShader(imrShaderCreation& shaderCreation) {
    const MSTR name = GetFullName();
    return shaderCreation.CreateShader(kShaderDeclaration, name.c_str());
}

void Chromasift::ReleaseMRShader() {}

bool Chromasift::NeedsAutomaticParamBlock2Translation() {
    // Every parameter the shader takes is written by TranslateParameters; the block's own names and types
    // do not match the shader's.
    return false;
}

void Chromasift::TranslateParameters(imrTranslation&, imrShader* shader, TimeValue t, Interval&) {
    if (pblock == nullptr)
        return;
    ShaderSettings settings;
    settings.inputMap = pblock->GetTexmap(pb_input_map, t);
    settings.mappingMode = pblock->GetInt(pb_mapping_old, t);
    const int numColours = pblock->GetInt(pb_num_colors, t);
    settings.tileColumns = pblock->GetInt(pb_tile_columns, t);
    settings.tileRows = pblock->GetInt(pb_tile_rows, t);
    // Pinned until the shader's parameters are written: settings.colours points into it.
    const PalettePin current = GetPalette();
    const std::size_t size = current->size();
    const std::size_t n = std::min(size, static_cast<std::size_t>(std::max(numColours, 0)));
    if (n > 0)
        settings.colours = std::span<const PaletteEntry>(current->data(), n);
    settings.inputMapOn = pblock->GetInt(pb_input_map_on, t) != 0;
    if (shader == nullptr)
        return;
    IParamBlock2* values = shader->GetParametersParamBlock();
    IParamBlock2* connections = shader->GetConnectionsParamBlock();
    if (values == nullptr || connections == nullptr)
        return;
    if (coords != nullptr && coords->IsStdXYZGen())
        settings.coords = static_cast<StdXYZGen*>(coords);
    settings.t = t;
    WriteShaderSettings(settings, *values, *connections);
}

void Chromasift::GetAdditionalReferenceDependencies(AdditionalDependencyTable&) {}
