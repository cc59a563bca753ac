#pragma once

// Edge and face adjacency of a triangle mesh, and the mesh's division into elements.
#include "hostsdk/mesh.h"
#include "hostsdk/tab.h"

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

// The mesh's edges, and for every vertex the indices of the edges that touch it. Edges of a face that
// repeat a vertex or name one outside the vertex list are left out. An edge records two faces; a third
// face on the same edge is not recorded.
class SDK_API AdjEdgeList {
public:
    explicit AdjEdgeList(Mesh& mesh);

    std::vector<DWORDTab> list;
    Tab<MEdge> edges;
    int nverts = 0;

    // The index of the edge between v0 and v1 in either direction, or -1.
    int FindEdge(DWORD v0, DWORD v1) const;
    // Records face `face` on the edge from v0 to v1, adding the edge when it is new.
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
