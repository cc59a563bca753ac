#include "host/sheet/sheet_surfaces.h"

#include "host/scene/renderable_object.h"

#include "shade/mesh_numbering.h"
#include "shade/mode_index.h"

#include "hostsdk/instance_info.h"
#include "hostsdk/mesh_adjacency.h"
#include "hostsdk/null_view.h"

#include <algorithm>
#include <set>

namespace host {

namespace {

// The map channel's point at one corner of face f, as the shading contexts read it.
bool ChannelCorner(Mesh& mesh, int channel, std::size_t f, int corner, DWORD& index) {
    if (!mesh.mapSupport(channel))
        return false;
    const MeshMap& map = mesh.Map(channel);
    if (f >= map.tf.size())
        return false;
    for (DWORD t : map.tf[f].t)
        if (t >= map.tv.size())
            return false;
    index = map.tf[f].t[corner];
    return true;
}

int ElementCount(Mesh& mesh) {
    AdjEdgeList edges(mesh);
    AdjFaceList faces(mesh, edges);
    return static_cast<int>(FaceElementList(mesh, faces).count);
}

// Polygons as "Per Face" finds them: the numbers it writes into a copy's material IDs.
int PolygonCount(Mesh& mesh) {
    const std::unique_ptr<Mesh> numbered = NumberPolygonsForShading(mesh);
    std::set<MtlID> numbers;
    for (int f = 0; f < numbered->getNumFaces(); ++f)
        numbers.insert(numbered->getFaceMtlIndex(f));
    return static_cast<int>(numbers.size());
}

} // namespace

std::vector<SheetSurface> SurfacesWearing(SceneRoot& scene, ReferenceTarget& map, TimeValue t) {
    INodeTab wearing;
    map.NotifyDependents(FOREVER, reinterpret_cast<PartID>(&wearing), REFMSG_MTLXREF_GETNODES, NOTIFY_ALL,
                         TRUE, nullptr);
    std::vector<SheetSurface> surfaces;
    NullView view;
    for (INode* node : scene.Nodes()) {
        if (wearing.IndexOf(node) < 0)
            continue;
        GeomObject* object = RenderableObject(*node, t);
        if (object == nullptr)
            continue;
        BOOL needDelete = FALSE;
        Mesh* mesh = object->GetRenderMesh(t, node, view, needDelete);
        if (mesh == nullptr)
            continue;
        SheetSurface surface;
        surface.node = node;
        surface.object = object;
        surface.mesh = mesh;
        surface.objectToWorld = node->GetObjectTM(t);
        if (needDelete)
            surface.owned.reset(mesh);
        surfaces.push_back(std::move(surface));
    }
    return surfaces;
}

std::vector<Point3> CornerPoints(const std::vector<SheetSurface>& surfaces, PointSource source, int channel) {
    std::vector<Point3> points;
    bool uncovered = false;
    for (const SheetSurface& surface : surfaces) {
        Mesh& mesh = *surface.mesh;
        const bool mapped = source == PointSource::MapChannel;
        const std::size_t count =
            mapped ? (mesh.mapSupport(channel) ? mesh.Map(channel).tv.size() : 0) : mesh.verts.size();
        std::vector<bool> seen(count, false);
        for (std::size_t f = 0; f < mesh.faces.size(); ++f)
            for (int corner = 0; corner < 3; ++corner) {
                DWORD index = mesh.faces[f].v[corner];
                if (mapped ? !ChannelCorner(mesh, channel, f, corner, index) : index >= count) {
                    uncovered = uncovered || mapped;
                    continue;
                }
                if (seen[index])
                    continue;
                seen[index] = true;
                const Point3 p = mapped ? mesh.Map(channel).tv[index] : mesh.verts[index];
                points.push_back(source == PointSource::World ? surface.objectToWorld.PointTransform(p) : p);
            }
    }
    if (uncovered)
        points.emplace_back(0.0f, 0.0f, 0.0f);
    return points;
}

ModelKeys CountModelKeys(const std::vector<SheetSurface>& surfaces) {
    ModelKeys keys;
    std::set<ULONG> objectIds;
    std::set<MtlID> materialIds;
    std::set<std::int32_t> tileNumbers;
    for (const SheetSurface& surface : surfaces) {
        Mesh& mesh = *surface.mesh;
        ++keys.objects;
        objectIds.insert(surface.node->GetGBufID());
        keys.instanceValues =
            keys.instanceValues || surface.object->GetInterface(IINSTANCEINFO_INTERFACE_ID) != nullptr;
        for (int f = 0; f < mesh.getNumFaces(); ++f)
            materialIds.insert(mesh.getFaceMtlIndex(f));
        keys.elementsPerObject = std::max(keys.elementsPerObject, ElementCount(mesh));
        keys.polygonsPerObject = std::max(keys.polygonsPerObject, PolygonCount(mesh));
        keys.tileChannel = keys.tileChannel || mesh.mapSupport(99);
    }
    // The numbers at the corners: a face whose corners agree has one number all over, and one whose corners
    // differ has more than one, so one number at every corner means one key.
    for (const Point3& p : CornerPoints(surfaces, PointSource::MapChannel, 99))
        tileNumbers.insert(mode_index::BerconTileKey(p.x));
    keys.objectIds = static_cast<int>(objectIds.size());
    keys.materialIds = static_cast<int>(materialIds.size());
    keys.tileNumbers = static_cast<int>(tileNumbers.size());
    return keys;
}

} // namespace host
