#pragma once

// The vertex data of exported faces as glTF holds them: three corners of their own per face, each with the
// face's normal, since a face's colour may differ from its neighbours'.
#include "host/gltf/gltf_layout.h"

#include "hostsdk/mesh.h"

#include <array>
#include <string_view>

namespace host {

// Face `f`'s corner positions (the face is exported: its corners are vertices of the mesh).
std::array<Point3, 3> FaceCorners(const Mesh& mesh, int f);

// Makes `block`'s bytes for the faces of `colours`, a part at a time, and hands each to `write`.
void WriteGltfBlock(const GltfBlock& block, const GltfLayout& layout, HostRenderGlobalContext& context,
                    const ExportColours& colours, const std::function<void(std::string_view)>& write);

} // namespace host
