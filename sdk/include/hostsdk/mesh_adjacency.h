#pragma once

// Edge and face adjacency of a triangle mesh, and the mesh's division into elements.
#include "hostsdk/mesh.h"
#include "hostsdk/tab.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

// No face, no edge.
constexpr DWORD UNDEFINED = 0xffffffff;

// An edge between vertices v[0] and v[1], with the first two faces that use it; f[1] is UNDEFINED on an
// open edge.
struct MEdge {
    DWORD f[2] = {UNDEFINED, UNDEFINED};
    DWORD v[2] = {UNDEFINED, UNDEFINED};

    DWORD OtherFace(DWORD face) const { return face == f[0] ? f[1] : (face == f[1] ? f[0] : UNDEFINED); }
    DWORD OtherVert(DWORD vert) const { return vert == v[0] ? v[1] : (vert == v[1] ? v[0] : UNDEFINED); }
};

class AdjEdgeList;

// The indices of the edges that touch one vertex, in increasing order.
class EdgeIndices {
public:
    EdgeIndices(const DWORD* first, const DWORD* last) : first(first), last(last) {}

    int Count() const { return static_cast<int>(last - first); }
    DWORD operator[](int i) const { return first[i]; }
    const DWORD* begin() const { return first; }
    const DWORD* end() const { return last; }

private:
    const DWORD* first;
    const DWORD* last;
};

// For every vertex of an edge list, the edges that touch it. The table is made from the edges when it is
// first read: an edge list that is only handed to AdjFaceList, as a big mesh's numbering does, never holds
// it, and there it would be half as large again as the edges themselves. Reading is safe from several
// threads at once.
class SDK_API VertexEdgeLists {
public:
    explicit VertexEdgeLists(const AdjEdgeList& owner) : owner(owner) {}

    // Empty for a vertex outside the mesh.
    EdgeIndices operator[](std::size_t v) const;
    // The vertex count.
    std::size_t size() const;
    // Drops the table once the edges changed; the next read makes it again.
    void Forget();

private:
    void Make() const;

    const AdjEdgeList& owner;
    mutable std::mutex making;
    mutable std::atomic<bool> made{false};
    // Vertex v's edges are entries[start[v]] to entries[start[v + 1] - 1].
    mutable std::vector<DWORD> start;
    mutable std::vector<DWORD> entries;
};

// The mesh's edges, in the order in which faces first use them, and for every vertex the indices of the
// edges that touch it. Edges of a face that repeat a vertex or name one outside the vertex list are left
// out. An edge records two faces; a third face on the same edge is not recorded.
class SDK_API AdjEdgeList {
public:
    explicit AdjEdgeList(Mesh& mesh);
    AdjEdgeList(const AdjEdgeList&) = delete;
    AdjEdgeList& operator=(const AdjEdgeList&) = delete;

    VertexEdgeLists list{*this};
    Tab<MEdge> edges;
    int nverts = 0;

    // The index of the edge between v0 and v1 in either direction, or -1.
    int FindEdge(DWORD v0, DWORD v1) const;
    // Records face `face` on the edge from v0 to v1, adding the edge when it is new (the vertex lists are
    // then made again when next read).
    void AddEdge(DWORD face, DWORD v0, DWORD v1);
};

// The faces across edges 0 (corner 0 to 1), 1 (corner 1 to 2) and 2 (corner 2 to 0) of one face.
struct AdjFace {
    DWORD f[3] = {UNDEFINED, UNDEFINED, UNDEFINED};
};

class SDK_API AdjFaceList {
public:
    AdjFaceList(Mesh& mesh, AdjEdgeList& edges);

    Tab<AdjFace> list;

    AdjFace& operator[](int i) { return list[static_cast<std::size_t>(i)]; }
    const AdjFace& operator[](int i) const { return list[static_cast<std::size_t>(i)]; }
};

// The element number of every face: faces connected through shared edges share a number. Elements are
// numbered from 0 in the order of their first face.
class SDK_API FaceElementList {
public:
    FaceElementList(Mesh& mesh, AdjFaceList& adjacency);

    DWORDTab elem;
    DWORD count = 0;

    DWORD operator[](int i) const { return elem[static_cast<std::size_t>(i)]; }
};
