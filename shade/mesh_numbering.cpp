#include "shade/mesh_numbering.h"

#include "hostsdk/bit_array.h"
#include "hostsdk/channels.h"
#include "hostsdk/mesh_adjacency.h"

#include <algorithm>
#include <vector>

namespace {

// Seeds faces 0, step, 2 step, ...; each unvisited seed and the faces `collect` lists for it get the next
// number. The seed is numbered even when the collection leaves it out.
template <typename Collect, typename Assign>
void NumberFaceGroups(int faceCount, int step, uint32_t first, Collect collect, Assign assign) {
    std::vector<bool> visited(static_cast<std::size_t>(faceCount), false);
    std::vector<int> members;
    uint32_t number = first;
    for (int f = 0; f < faceCount; f += step) {
        if (visited[static_cast<std::size_t>(f)])
            continue;
        const MtlID id = static_cast<MtlID>(number);
        assign(f, id);
        members.clear();
        collect(f, members);
        visited[static_cast<std::size_t>(f)] = true;
        for (int b : members) {
            visited[static_cast<std::size_t>(b)] = true;
            assign(b, id);
        }
        ++number;
    }
}

// Lists the faces whose bits are set, walking from the seed over neighbours: the set bits, as PolyFromFace
// and ElementFromFace leave them, are connected through themselves, so the walk finds every one without
// scanning the whole set. It clears them on the way, leaving the set clear for the next seed.
template <typename Neighbours>
void TakeSetFaces(int seed, BitArray& bits, Neighbours neighbours, std::vector<int>& members) {
    if (!bits[seed])
        return;
    std::vector<int> pending{seed};
    bits.Clear(seed);
    members.push_back(seed);
    while (!pending.empty()) {
        const int face = pending.back();
        pending.pop_back();
        for (const auto neighbour : neighbours(face)) {
            const int b = static_cast<int>(neighbour);
            if (neighbour == static_cast<decltype(neighbour)>(UNDEFINED) || !bits[b])
                continue;
            bits.Clear(b);
            members.push_back(b);
            pending.push_back(b);
        }
    }
}

// Collects the polygon of a seed with PolyFromFace into a cleared bit set and lists its faces.
class PolygonCollector {
public:
    PolygonCollector(Mesh& mesh, AdjFaceList& faces) : mesh(mesh), faces(faces), bits(mesh.getNumFaces()) {}

    void operator()(int seed, std::vector<int>& members) {
        mesh.PolyFromFace(static_cast<DWORD>(seed), bits, kPolygonThreshold, FALSE, &faces);
        TakeSetFaces(
            seed, bits,
            [this](int f) -> const DWORD(&)[3] { return faces.list[static_cast<std::size_t>(f)].f; },
            members);
    }

private:
    Mesh& mesh;
    AdjFaceList& faces;
    BitArray bits;
};

} // namespace

std::unique_ptr<Mesh> NumberPolygonsForShading(Mesh& mesh) {
    // The edge list is needed only to build the face list; on a big mesh it is the largest of the working
    // data, so it goes before the copy is made.
    auto edges = std::make_unique<AdjEdgeList>(mesh);
    AdjFaceList faces(mesh, *edges);
    edges.reset();
    auto numbered = std::make_unique<Mesh>();
    numbered->DeepCopy(&mesh, TOPO_CHANNEL | MTL_CHANNEL);
    const int faceCount = mesh.getNumFaces();
    const int step = std::max(1, faceCount / 40300);
    NumberFaceGroups(faceCount, step, 0, PolygonCollector(mesh, faces),
                     [&](int f, MtlID id) { numbered->setFaceMtlIndex(f, id); });
    return numbered;
}

void NumberElements(Mesh& mesh) {
    if (mesh.getNumFaces() == 0)
        return;
    AdjEdgeList edges(mesh);
    AdjFaceList faces(mesh, edges);
    FaceElementList elements(mesh, faces);
    for (int f = 0; f < mesh.getNumFaces(); ++f)
        mesh.setFaceMtlIndex(f, static_cast<MtlID>(elements[f]));
}

void NumberPolygons(Mesh& mesh) {
    if (mesh.getNumFaces() == 0)
        return;
    AdjEdgeList edges(mesh);
    AdjFaceList faces(mesh, edges);
    NumberFaceGroups(mesh.getNumFaces(), 1, 1, PolygonCollector(mesh, faces),
                     [&](int f, MtlID id) { mesh.setFaceMtlIndex(f, id); });
    mesh.ZeroTopologyCache();
}

void NumberElements(MNMesh& mesh) {
    BitArray bits(mesh.numf);
    const std::vector<std::vector<int>>& neighbours = mesh.FaceNeighbours();
    NumberFaceGroups(
        mesh.numf, 1, 0,
        [&](int f, std::vector<int>& members) {
            mesh.ElementFromFace(f, bits);
            TakeSetFaces(
                f, bits,
                [&neighbours](int face) -> const std::vector<int>& {
                    return neighbours[static_cast<std::size_t>(face)];
                },
                members);
        },
        [&](int f, MtlID id) { mesh.f[f].material = id; });
}

void NumberPolygons(MNMesh& mesh) {
    for (int f = 0; f < mesh.numf; ++f)
        mesh.f[f].material = static_cast<MtlID>(f);
}
