#include "hostsdk/mesh_adjacency.h"

#include <algorithm>

AdjEdgeList::AdjEdgeList(Mesh& mesh) : nverts(mesh.getNumVerts()) {
    list.resize(static_cast<std::size_t>(nverts));
    // A vertex inside a closed surface has as many edges as faces, so each list is sized once to its
    // vertex's face count and only a vertex on a border or a seam grows its list.
    {
        std::vector<DWORD> corners(list.size(), 0);
        for (const Face& face : mesh.faces)
            for (const DWORD v : face.v)
                if (v < corners.size())
                    ++corners[v];
        for (std::size_t v = 0; v < list.size(); ++v)
            list[v].reserve(corners[v]);
    }
    // A connected mesh has V + F - 2 + 2 genus + holes edges: V + F holds those of meshes without many
    // holes or handles, so the list is made once instead of growing by doubling.
    const std::size_t faces = mesh.faces.size();
    edges.reserve(std::min(3 * faces, list.size() + faces));
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const Face& face = mesh.faces[f];
        for (int e = 0; e < 3; ++e)
            AddEdge(static_cast<DWORD>(f), face.v[e], face.v[(e + 1) % 3]);
    }
}

int AdjEdgeList::FindEdge(DWORD v0, DWORD v1) const {
    if (v0 >= list.size())
        return -1;
    for (DWORD e : list[v0]) {
        const MEdge& edge = edges[e];
        if ((edge.v[0] == v0 && edge.v[1] == v1) || (edge.v[0] == v1 && edge.v[1] == v0))
            return static_cast<int>(e);
    }
    return -1;
}

void AdjEdgeList::AddEdge(DWORD face, DWORD v0, DWORD v1) {
    if (v0 == v1 || v0 >= list.size() || v1 >= list.size())
        return;
    const int found = FindEdge(v0, v1);
    if (found < 0) {
        MEdge edge;
        edge.f[0] = face;
        edge.v[0] = v0;
        edge.v[1] = v1;
        const DWORD index = static_cast<DWORD>(edges.size());
        edges.push_back(edge);
        list[v0].push_back(index);
        list[v1].push_back(index);
        return;
    }
    MEdge& edge = edges[static_cast<std::size_t>(found)];
    // A face meeting the edge twice is recorded once; a third face is dropped, as the edge has two slots.
    if (edge.f[0] != face && edge.f[1] == UNDEFINED)
        edge.f[1] = face;
}

AdjFaceList::AdjFaceList(Mesh& mesh, AdjEdgeList& edges) {
    list.resize(mesh.faces.size());
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const Face& face = mesh.faces[f];
        for (int e = 0; e < 3; ++e) {
            const int found = edges.FindEdge(face.v[e], face.v[(e + 1) % 3]);
            if (found >= 0)
                list[f].f[e] = edges.edges[static_cast<std::size_t>(found)].OtherFace(static_cast<DWORD>(f));
        }
    }
}

FaceElementList::FaceElementList(Mesh& mesh, AdjFaceList& adjacency) {
    const std::size_t n = mesh.faces.size();
    elem.assign(n, UNDEFINED);
    std::vector<DWORD> pending;
    for (std::size_t seed = 0; seed < n; ++seed) {
        if (elem[seed] != UNDEFINED)
            continue;
        elem[seed] = count;
        pending.push_back(static_cast<DWORD>(seed));
        while (!pending.empty()) {
            const DWORD f = pending.back();
            pending.pop_back();
            if (f >= adjacency.list.size())
                continue;
            for (DWORD b : adjacency.list[f].f) {
                if (b < n && elem[b] == UNDEFINED) {
                    elem[b] = count;
                    pending.push_back(b);
                }
            }
        }
        ++count;
    }
}
