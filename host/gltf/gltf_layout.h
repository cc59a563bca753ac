#pragma once

// How an export's objects become a glTF document: the document itself (nodes, meshes, materials, accessors
// into one binary buffer) and the list of the buffer's blocks in order, which the writer then makes one
// after the other, so that the vertex data are never held whole.
#include "host/gltf/object_colours.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tinygltf {
class Model;
}

namespace host {

// One run of bytes of the binary buffer.
struct GltfBlock {
    enum class Kind { Positions, Normals, TexCoords, Image };
    Kind kind = Kind::Positions;
    // The object (index into ExportColours::objects) and the range of its `faces` order the block covers.
    std::size_t object = 0;
    std::size_t first = 0;
    std::size_t count = 0;
    // Where the block starts in the buffer, and its length (padded blocks start at multiples of four).
    std::size_t offset = 0;
    std::size_t bytes = 0;
};

struct GltfLayout {
    // The document as JSON, with "buffers" naming the one buffer (`bufferUri`, or the binary chunk).
    std::string json;
    std::vector<GltfBlock> blocks;
    // Per object, its exported faces in the order the buffer holds them (grouped by colour).
    std::vector<std::vector<int>> faces;
    std::size_t bufferBytes = 0;
    // For .gltf: each baked object (index into ExportColours::objects) and the file name of its texture,
    // written beside the document; empty for .glb.
    std::vector<std::pair<std::size_t, std::string>> imageFiles;
};

struct GltfSettings {
    // KHR_materials_unlit: viewers show the colours without light.
    bool unlit = false;
    // The buffer and the images are files beside the document with these names (a .gltf); otherwise the
    // images lie in the buffer, as a .glb holds them.
    std::string bufferUri;
    std::string imageStem;
};

// sRGB-encoded to linear, as glTF's colour factors are (IEC 61966-2-1).
double SrgbToLinear(double encoded);

GltfLayout LayOutGltf(HostRenderGlobalContext& context, const ExportColours& colours,
                      const GltfSettings& settings);

} // namespace host
