#pragma once

// The colours each render instance of a frame shows, found for export: one colour per face where the
// material's colour is constant over each face, a baked texture where it varies inside faces.
#include "host/gltf/texture_bake.h"
#include "host/render/scene_renderer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

struct ObjectColours {
    int instance = 0;
    std::string name;
    // The mesh has texture coordinates (map channel 1).
    bool hasUvs = false;
    // Constant over each face: the index into ExportColours::palette of each face's colour. Empty when baked.
    std::vector<int> faceColour;
    // Varying inside faces: the baked texture as PNG, `textureSize` texels square.
    std::vector<std::uint8_t> texturePng;
    int textureSize = 0;
    // The distinct colours of the baked texture's texels (0xRRGGBB, ascending), at most 256 of them.
    std::vector<std::uint32_t> textureColours;
};

struct ExportColours {
    // The distinct colours faces show (unlit, sRGB-encoded as the map gives them), in the order first met.
    std::vector<AColor> palette;
    std::vector<ObjectColours> objects;
    // The baked objects whose texture islands overlap: their textures show one face's colour there.
    std::vector<std::string> overlapping;
};

struct BakeSettings {
    int textureSize = 1024;
    int margin = 16;
};

// The colours of every render instance of `frame` at time `t`. Throws std::runtime_error for an object whose
// colours vary inside its faces but which has no texture coordinates to bake them over; `progress` hears
// now and then of the share of the faces done.
ExportColours FindExportColours(const FrameSurfaces& frame, TimeValue t, const BakeSettings& bake,
                                const std::function<void(double done)>& progress);

// Face `f`'s corners in map channel 1 (which the mesh has); (0, 0, 0) where the channel does not reach.
UvTriangle FaceUvs(Mesh& mesh, int f);

// Whether face `f` has three corners among the mesh's vertices and an area: the faces that are exported.
bool FaceIsExported(const Mesh& mesh, int f);

} // namespace host
