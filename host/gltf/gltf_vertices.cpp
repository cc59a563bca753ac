#include "host/gltf/gltf_vertices.h"

#include "host/render/transform_math.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace host {

std::array<Point3, 3> FaceCorners(const Mesh& mesh, int f) {
    const Face& face = mesh.faces[static_cast<std::size_t>(f)];
    return {mesh.verts[face.v[0]], mesh.verts[face.v[1]], mesh.verts[face.v[2]]};
}

void WriteGltfBlock(const GltfBlock& block, const GltfLayout& layout, HostRenderGlobalContext& context,
                    const ExportColours& colours, const std::function<void(std::string_view)>& write) {
    const ObjectColours& object = colours.objects[block.object];
    if (block.kind == GltfBlock::Kind::Image) {
        write(std::string_view(reinterpret_cast<const char*>(object.texturePng.data()),
                               object.texturePng.size()));
    } else {
        Mesh& mesh = *context.Instance(object.instance).mesh;
        const std::vector<int>& faces = layout.faces[block.object];
        // A few thousand faces at a time: small enough to stay in the cache, large enough to write well.
        constexpr std::size_t kFacesAtOnce = 4096;
        std::vector<float> values;
        for (std::size_t start = block.first; start < block.first + block.count; start += kFacesAtOnce) {
            values.clear();
            const std::size_t end = std::min(block.first + block.count, start + kFacesAtOnce);
            for (std::size_t i = start; i < end; ++i) {
                const int f = faces[i];
                const std::array<Point3, 3> corners = FaceCorners(mesh, f);
                if (block.kind == GltfBlock::Kind::Positions) {
                    for (const Point3& p : corners)
                        values.insert(values.end(), {p.x, p.y, p.z});
                } else if (block.kind == GltfBlock::Kind::Normals) {
                    const Point3 n =
                        Normalize(Cross(Sub(corners[1], corners[0]), Sub(corners[2], corners[0])));
                    for (int k = 0; k < 3; ++k)
                        values.insert(values.end(), {n.x, n.y, n.z});
                } else {
                    // glTF's texture coordinates run down from the image's top row; the host's v runs up.
                    for (const Point3& uv : FaceUvs(mesh, f))
                        values.insert(values.end(), {uv.x, 1.0f - uv.y});
                }
            }
            write(std::string_view(reinterpret_cast<const char*>(values.data()),
                                   values.size() * sizeof(float)));
        }
    }
    static const char kPadding[3] = {0, 0, 0};
    write(std::string_view(kPadding, (4 - block.bytes % 4) % 4));
}

} // namespace host
