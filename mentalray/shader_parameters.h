#pragma once

// The map's settings written into the parameters of its mental ray shader "Chromasift".
#include "palette/palette_entry.h"
#include "plugin/host_sdk.h"

#include <span>

// What the translation writes, read from the map at the render's time.
struct ShaderSettings {
    // The active palette colours: the first min(palette size, "# colors") entries in palette order.
    std::span<const PaletteEntry> colours;
    int mappingMode = 0;
    // "Input map", null when no map is plugged in.
    Texmap* inputMap = nullptr;
    bool inputMapOn = false;
    // The map's coordinates when they are the host's standard generator, else null.
    StdXYZGen* coords = nullptr;
    // The render's time, at which the coordinates are read.
    TimeValue t = 0;
    int tileColumns = 0;
    int tileRows = 0;
};

// The shader's name for a distribution mode: the V-Ray instance mode, whose instances mental ray does not
// know, becomes "Material ID"; every other number passes unchanged.
int ShaderMappingMode(int mode);

// A palette colour as the shader takes it: each 16-bit channel times 2^-16.
AColor ShaderColour(const PaletteEntry& entry);

// The ID of the block's parameter whose internal name equals `name` ignoring letter case (the first such),
// or -1.
ParamID FindShaderParam(IParamBlock2& block, const MCHAR* name);

// Writes every setting the shader declares into its value and connection blocks, at time 0; a parameter
// the declaration lacks is skipped.
void WriteShaderSettings(const ShaderSettings& settings, IParamBlock2& values, IParamBlock2& connections);
