#pragma once

// The host's own mental ray shader "Chromasift", which the mental ray stand-in runs for every map that
// translates itself into it. It knows nothing of the map: it works from the parameters the map wrote into
// its instance, the map connected to its input, and what the renderer tells it about the sample.
#include "hostsdk/mr_shader_library.h"
#include "hostsdk/tex_gen.h"

#include <vector>

namespace host {

// The declaration the mental ray stand-in knows the shader by.
const mrShaderDeclaration& ChromasiftShaderDeclaration();

// An instance's parameters, read once before shading.
struct ChromasiftShaderParams {
    std::vector<AColor> colours;
    int mappingMode = 0;
    // The map connected to "inputMap", else the parameter's own value.
    Texmap* inputMap = nullptr;
    float inputValue = 0.0f;
    int mapping = XYZ_COORDS;
    Point3 scale{1.0f, 1.0f, 1.0f};
    Point3 offset;
    Point3 angle;
    int tileWidth = 1;
    int tileHeight = 1;
    // What of a sample the mode reads, so that the renderer gathers nothing more: the coordinate system
    // of "mapping" (the mapping and tile modes), map channel 99 (the tile-map modes), the input map.
    bool readsCoordinates = false;
    bool readsTileChannel = false;
    bool readsInput = false;
};

ChromasiftShaderParams ReadChromasiftShader(imrShader& shader);

// What the renderer tells the shader about one sample. Fields the instance does not read may be left out.
struct ShaderSample {
    // The pixel, and the picture's width: the raster order stands in for an evaluation order that render
    // threads would otherwise make depend on timing.
    int x = 0;
    int y = 0;
    int width = 1;
    Point3 objectPoint;
    Point3 worldPoint;
    Point3 uvw1;         // map channel 1
    Point3 vertexColour; // map channel 0
    Point3 uvw99;        // map channel 99, where a tile map leaves its negated tile number
    // The face's material ID in the render's copy of the geometry, where numbering for the shader lands.
    int materialID = 0;
};

// The point the coordinate modes read: the chosen coordinate system, transformed by offset, scale, angle.
Point3 ShaderCoordinates(const ChromasiftShaderParams& params, const ShaderSample& sample);

// The colour index the shader picks for a sample given the input value (the connected map's mono value,
// or the parameter's), or -1 for black: no colours, or a mode the shader does not know.
int ChromasiftShaderIndex(const ChromasiftShaderParams& params, const ShaderSample& sample, float inputValue);

// The shader's result: the picked colour as translated, or opaque black. `sc` reaches only the connected
// input map, evaluated only in the input-map mode.
AColor ShadeChromasift(const ChromasiftShaderParams& params, const ShaderSample& sample, ShadeContext& sc);

} // namespace host
