#include "mentalray/shader_parameters.h"

#include "shade/distribution_mode.h"

#include <cwchar>

namespace {

// 2^-16 exactly: a full channel becomes 0.9999847, and 32768 exactly 0.5.
constexpr float kChannelScale = 1.0f / 65536.0f;

template <class T> void WriteValue(IParamBlock2& block, const MCHAR* name, T value) {
    const ParamID id = FindShaderParam(block, name);
    if (id >= 0)
        block.SetValue(id, 0, value, 0);
}

} // namespace

int ShaderMappingMode(int mode) {
    return mode == distribution::kVRayInstance ? distribution::kMaterialId : mode;
}

AColor ShaderColour(const PaletteEntry& entry) {
    return AColor(
        static_cast<float>(entry.red) * kChannelScale, static_cast<float>(entry.green) * kChannelScale,
        static_cast<float>(entry.blue) * kChannelScale, static_cast<float>(entry.alpha) * kChannelScale);
}

ParamID FindShaderParam(IParamBlock2& block, const MCHAR* name) {
    for (int i = 0; i < block.NumParams(); ++i) {
        const ParamID id = block.IndextoID(i);
        const ParamDef* def = block.GetParamDef(id);
        if (def != nullptr && def->internalName != nullptr && _wcsicmp(def->internalName, name) == 0)
            return id;
    }
    return -1;
}

void WriteShaderSettings(const ShaderSettings& settings, IParamBlock2& values, IParamBlock2& connections) {
    const ParamID colours = FindShaderParam(values, L"colors");
    if (colours >= 0) {
        values.SetCount(colours, static_cast<int>(settings.colours.size()));
        for (std::size_t i = 0; i < settings.colours.size(); ++i)
            values.SetValue(colours, 0, ShaderColour(settings.colours[i]), static_cast<int>(i));
    }
    WriteValue(values, L"mappingMode", ShaderMappingMode(settings.mappingMode));

    if (settings.inputMapOn && settings.inputMap != nullptr)
        WriteValue(connections, L"inputMap.shader", settings.inputMap);
    else
        WriteValue(values, L"inputMap", 0.0f);

    // Without the standard generator the shader keeps its own coordinate settings.
    if (StdXYZGen* coords = settings.coords) {
        const TimeValue t = settings.t;
        WriteValue(values, L"mapping", coords->GetCoordSystem());
        const MCHAR* const scales[] = {L"UScale", L"VScale", L"WScale"};
        const MCHAR* const offsets[] = {L"UOffset", L"VOffset", L"WOffset"};
        const MCHAR* const angles[] = {L"UAngle", L"VAngle", L"WAngle"};
        for (int axis = 0; axis < 3; ++axis)
            WriteValue(values, scales[axis], coords->GetScl(axis, t));
        for (int axis = 0; axis < 3; ++axis)
            WriteValue(values, offsets[axis], coords->GetOffs(axis, t));
        for (int axis = 0; axis < 3; ++axis)
            WriteValue(values, angles[axis], coords->GetAng(axis, t));
    }

    WriteValue(values, L"tileWidth", settings.tileColumns);
    WriteValue(values, L"tileHeight", settings.tileRows);
}
