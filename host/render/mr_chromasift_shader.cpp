#include "host/render/mr_chromasift_shader.h"

#include "shade/distribution_mode.h"
#include "shade/mode_index.h"

#include <cstdint>
#include <string>

namespace host {

namespace {

using enum distribution::Mode;

// A well-mixed 32-bit hash (two multiply-xorshift rounds): the shader's random choices, stateless so that
// every thread and every run picks the same colour for the same key.
std::uint32_t Mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

std::uint32_t KeyedIndex(std::int32_t key, std::uint32_t salt, std::uint32_t n) {
    return Mix(static_cast<std::uint32_t>(key) ^ Mix(salt)) % n;
}

// The shader's own parameters, named exactly as it declares them; -1 for a name the block lacks.
ParamID FindParam(IParamBlock2& block, const MCHAR* name) {
    return block.IndextoID(block.GetDesc()->NameToIndex(name));
}

float Get(IParamBlock2& block, const MCHAR* name, float fallback) {
    const ParamID id = FindParam(block, name);
    return id < 0 ? fallback : block.GetFloat(id);
}

int GetInt(IParamBlock2& block, const MCHAR* name, int fallback) {
    const ParamID id = FindParam(block, name);
    return id < 0 ? fallback : block.GetInt(id);
}

} // namespace

const mrShaderDeclaration& ChromasiftShaderDeclaration() {
    static const mrShaderDeclaration declaration{L"Chromasift",
                                                 {
                                                     {L"colors", mrParamKind::ColourTable},
                                                     {L"mappingMode", mrParamKind::Integer},
                                                     {L"inputMap", mrParamKind::Float, true},
                                                     {L"mapping", mrParamKind::Integer},
                                                     {L"UScale", mrParamKind::Float, false, 1.0},
                                                     {L"VScale", mrParamKind::Float, false, 1.0},
                                                     {L"WScale", mrParamKind::Float, false, 1.0},
                                                     {L"UOffset", mrParamKind::Float},
                                                     {L"VOffset", mrParamKind::Float},
                                                     {L"WOffset", mrParamKind::Float},
                                                     {L"UAngle", mrParamKind::Float},
                                                     {L"VAngle", mrParamKind::Float},
                                                     {L"WAngle", mrParamKind::Float},
                                                     {L"tileWidth", mrParamKind::Integer, false, 1.0},
                                                     {L"tileHeight", mrParamKind::Integer, false, 1.0},
                                                 }};
    return declaration;
}

ChromasiftShaderParams ReadChromasiftShader(imrShader& shader) {
    ChromasiftShaderParams params;
    IParamBlock2* values = shader.GetParametersParamBlock();
    IParamBlock2* connections = shader.GetConnectionsParamBlock();
    if (values == nullptr)
        return params;
    const ParamID colours = FindParam(*values, L"colors");
    for (int k = 0; colours >= 0 && k < values->Count(colours); ++k) {
        AColor colour;
        Interval valid = FOREVER;
        values->GetValue(colours, 0, colour, valid, k);
        params.colours.push_back(colour);
    }
    params.mappingMode = GetInt(*values, L"mappingMode", 0);
    params.inputValue = Get(*values, L"inputMap", 0.0f);
    params.mapping = GetInt(*values, L"mapping", XYZ_COORDS);
    params.scale =
        Point3(Get(*values, L"UScale", 1.0f), Get(*values, L"VScale", 1.0f), Get(*values, L"WScale", 1.0f));
    params.offset = Point3(Get(*values, L"UOffset", 0.0f), Get(*values, L"VOffset", 0.0f),
                           Get(*values, L"WOffset", 0.0f));
    params.angle =
        Point3(Get(*values, L"UAngle", 0.0f), Get(*values, L"VAngle", 0.0f), Get(*values, L"WAngle", 0.0f));
    params.tileWidth = GetInt(*values, L"tileWidth", 1);
    params.tileHeight = GetInt(*values, L"tileHeight", 1);
    const ParamID input = connections == nullptr ? -1 : FindParam(*connections, L"inputMap.shader");
    if (input >= 0)
        params.inputMap = connections->GetTexmap(input);
    const int mode = params.mappingMode;
    params.readsCoordinates =
        mode == kMapping1D || mode == kMapping2D || mode == kMapping3D || mode == kTiles;
    params.readsTileChannel = mode == kBerconLinear || mode == kBerconRandom;
    params.readsInput = mode == kInputMap;
    return params;
}

Point3 ShaderCoordinates(const ChromasiftShaderParams& params, const ShaderSample& sample) {
    const Point3 source = params.mapping == UVW_COORDS         ? sample.uvw1
                          : params.mapping == UVW2_COORDS      ? sample.vertexColour
                          : params.mapping == XYZ_WORLD_COORDS ? sample.worldPoint
                                                               : sample.objectPoint;
    return TransformCoordinates(source, params.offset, params.scale, params.angle);
}

int ChromasiftShaderIndex(const ChromasiftShaderParams& params, const ShaderSample& sample,
                          float inputValue) {
    if (params.colours.empty())
        return -1;
    const auto n = static_cast<std::uint32_t>(params.colours.size());
    const std::uint32_t raster =
        static_cast<std::uint32_t>(sample.y) * static_cast<std::uint32_t>(sample.width) +
        static_cast<std::uint32_t>(sample.x);
    const std::int32_t materialID = sample.materialID;
    switch (params.mappingMode) {
    case kRandom:
        return static_cast<int>(KeyedIndex(static_cast<std::int32_t>(raster), kRandom, n));
    case kLinear:
        return static_cast<int>(mode_index::Linear(raster, n));
    case kMirror:
        return static_cast<int>(mode_index::Mirror(raster, n));
    case kMapping1D:
    case kMapping2D:
    case kMapping3D:
    case kTiles: {
        const Point3 p = ShaderCoordinates(params, sample);
        if (params.mappingMode == kMapping1D)
            return static_cast<int>(mode_index::Mapping1D(p.x, n));
        if (params.mappingMode == kMapping2D)
            return static_cast<int>(mode_index::Mapping2D(p.x, p.y, n));
        if (params.mappingMode == kMapping3D)
            return static_cast<int>(mode_index::Mapping3D(p.x, p.y, p.z, n));
        return static_cast<int>(mode_index::Tiles(p.x, p.y, params.tileHeight, params.tileWidth, n));
    }
    case kInputMap:
        return static_cast<int>(mode_index::InputMap(inputValue, n));
    case kBerconLinear:
        return static_cast<int>(mode_index::BerconTileLinear(sample.uvw99.x, n));
    case kBerconRandom:
        return static_cast<int>(KeyedIndex(mode_index::BerconTileKey(sample.uvw99.x), kBerconRandom, n));
    // The shader sees faces, not objects: the object modes go by the material IDs that tell the parts of
    // a scene apart, and the numbering written for "Per Element" and "Per Face" arrives the same way.
    case kObjectLinear:
    case kObjectId:
    case kMaterialId:
    case kPerElement:
    case kVRayInstance:
        return static_cast<int>(mode_index::NumberOrZero(materialID, n));
    case kObjectRandom:
    case kPerFace:
        return static_cast<int>(KeyedIndex(materialID, kPerFace, n));
    default:
        return -1;
    }
}

AColor ShadeChromasift(const ChromasiftShaderParams& params, const ShaderSample& sample, ShadeContext& sc) {
    const float input =
        params.readsInput && params.inputMap != nullptr ? params.inputMap->EvalMono(sc) : params.inputValue;
    const int index = ChromasiftShaderIndex(params, sample, input);
    if (index < 0)
        return AColor(0.0f, 0.0f, 0.0f, 1.0f);
    return params.colours[static_cast<std::size_t>(index)];
}

} // namespace host
