#include "host/gltf/object_colours.h"

#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/render/transform_math.h"

#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include "hostsdk/mesh.h"
#include "hostsdk/std_mat.h"

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

namespace host {

namespace {

// The Chromasift map or other map that gives a material its colour; null for a material of one colour.
Texmap* ColourMap(Mtl* material) {
    auto* standard = dynamic_cast<StdMat*>(material);
    if (standard == nullptr || !standard->SubTexmapOn(ID_DI))
        return nullptr;
    return standard->GetSubTexmap(ID_DI);
}

// Every face holds one tile number: the three corners of its face in map channel 99 agree (or the mesh has
// no tile numbers, which reads as 0 everywhere).
bool OneTileNumberPerFace(Mesh& mesh) {
    constexpr int kTileChannel = 99;
    if (!mesh.mapSupport(kTileChannel))
        return true;
    const MeshMap& map = mesh.Map(kTileChannel);
    const auto verts = static_cast<DWORD>(map.getNumVerts());
    for (const TVFace& face : map.tf) {
        if (face.t[0] >= verts || face.t[1] >= verts || face.t[2] >= verts)
            continue;
        if (!(map.tv[face.t[0]] == map.tv[face.t[1]]) || !(map.tv[face.t[0]] == map.tv[face.t[2]]))
            return false;
    }
    return true;
}

// What the instance's colour varies by, as its material's map says: null when it is constant over each face,
// otherwise the name of what varies inside faces ("2D Mapping", or "its material's map").
const char* VariesInsideFaces(HostRenderInstance& instance, TimeValue t) {
    Texmap* map = ColourMap(instance.mtl);
    if (map == nullptr)
        return nullptr;
    if (map->ClassID() != CHROMASIFT_CLASS_ID)
        return "its material's map";
    auto* block = dynamic_cast<IParamBlock2*>(map->GetReference(0));
    const distribution::ModeRow* row =
        block == nullptr ? nullptr : distribution::FindMode(block->GetInt(pb_mapping_old, t));
    if (row == nullptr)
        return "its material's map";
    if (!row->constantOverFace ||
        (row->keys == distribution::Key::TileNumbers && !OneTileNumberPerFace(*instance.mesh)))
        return row->label;
    return nullptr;
}

// Colours compared bit for bit: faces share a material only when they show exactly one colour.
struct ColourOrder {
    bool operator()(const AColor& a, const AColor& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

} // namespace

UvTriangle FaceUvs(Mesh& mesh, int f) {
    UvTriangle corners{};
    const MeshMap& map = mesh.Map(1);
    if (f >= map.getNumFaces())
        return corners;
    const TVFace& face = map.tf[static_cast<std::size_t>(f)];
    for (std::size_t i = 0; i < 3; ++i)
        if (face.t[i] < static_cast<DWORD>(map.getNumVerts()))
            corners[i] = map.tv[face.t[i]];
    return corners;
}

bool FaceIsExported(const Mesh& mesh, int f) {
    const Face& face = mesh.faces[static_cast<std::size_t>(f)];
    const std::size_t count = mesh.verts.size();
    if (face.v[0] >= count || face.v[1] >= count || face.v[2] >= count)
        return false;
    const Point3& a = mesh.verts[face.v[0]];
    return Length(Cross(Sub(mesh.verts[face.v[1]], a), Sub(mesh.verts[face.v[2]], a))) > 0.0f;
}

ExportColours FindExportColours(const FrameSurfaces& frame, TimeValue t, const BakeSettings& bake,
                                const std::function<void(double done)>& progress) {
    ExportColours colours;
    std::map<AColor, int, ColourOrder> known;
    HostRenderGlobalContext& context = frame.Context();
    const int count = context.NumRenderInstances();
    const Point3 centre(1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f);
    double allFaces = 0.0, facesBefore = 0.0;
    for (int i = 0; i < count; ++i)
        allFaces += context.Instance(i).mesh->getNumFaces();
    // Told now and then, as the faces of an object are shaded or baked in order.
    const auto reached = [&](int face) {
        if (face % 1024 == 0)
            progress((facesBefore + face) / allFaces);
    };
    for (int i = 0; i < count; ++i) {
        HostRenderInstance& instance = context.Instance(i);
        Mesh& mesh = *instance.mesh;
        ObjectColours object;
        object.instance = i;
        object.name = ToUtf8(instance.GetINode()->GetName());
        object.hasUvs = mesh.mapSupport(1) != FALSE;
        const int faces = mesh.getNumFaces();
        if (const char* varying = VariesInsideFaces(instance, t)) {
            if (!object.hasUvs)
                throw std::runtime_error("the object \"" + object.name +
                                         "\" has no texture coordinates (map channel 1), over which " +
                                         (std::string(varying) == "its material's map"
                                              ? varying
                                              : "\"" + std::string(varying) + "\"") +
                                         " would be baked into a texture: give it texture coordinates, or "
                                         "export with a mode whose "
                                         "colour is constant over each face, such as \"Per Face\"");
            std::vector<UvTriangle> uvs(static_cast<std::size_t>(faces));
            for (int f = 0; f < faces; ++f)
                if (FaceIsExported(mesh, f))
                    uvs[static_cast<std::size_t>(f)] = FaceUvs(mesh, f);
            const BakedTexture baked =
                BakeTexture(bake.textureSize, bake.margin, uvs,
                            [&frame, &reached, i](int face, const Point3& barycentric) {
                                reached(face);
                                return frame.Shade(i, face, barycentric);
                            });
            if (baked.overlapping > 0)
                colours.overlapping.push_back(object.name);
            object.texturePng = EncodePng(baked.size, baked.size, baked.rgba);
            std::set<std::uint32_t> shown;
            for (std::size_t at = 0; at < baked.rgba.size() && shown.size() < 256; at += 4)
                if (baked.rgba[at + 3] != 0)
                    shown.insert(std::uint32_t(baked.rgba[at]) << 16 |
                                 std::uint32_t(baked.rgba[at + 1]) << 8 | baked.rgba[at + 2]);
            object.textureColours.assign(shown.begin(), shown.end());
            object.textureSize = baked.size;
        } else {
            object.faceColour.assign(static_cast<std::size_t>(faces), -1);
            AColor last;
            int lastIndex = -1;
            for (int f = 0; f < faces; ++f) {
                reached(f);
                if (!FaceIsExported(mesh, f))
                    continue;
                const AColor colour = frame.Shade(i, f, centre);
                // Neighbouring faces often share a colour (the triangles of one polygon always do).
                if (lastIndex < 0 || std::memcmp(&colour, &last, sizeof colour) != 0) {
                    const auto [at, added] = known.emplace(colour, static_cast<int>(colours.palette.size()));
                    if (added)
                        colours.palette.push_back(colour);
                    last = colour;
                    lastIndex = at->second;
                }
                object.faceColour[static_cast<std::size_t>(f)] = lastIndex;
            }
        }
        colours.objects.push_back(std::move(object));
        facesBefore += faces;
    }
    return colours;
}

} // namespace host
