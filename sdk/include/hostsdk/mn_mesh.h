#pragma once

// The polygon mesh: faces of any number of corners, each with a 16-bit material ID.
#include "hostsdk/bit_array.h"
#include "hostsdk/color.h"
#include "hostsdk/mesh.h"
#include "hostsdk/polygon_corners.h"
#include "hostsdk/sdk_api.h"
#include "hostsdk/win32.h"

#include <vector>

class Mesh;
using MtlID = unsigned short;

class MNVert {
public:
    Point3 p;
    DWORD flags = 0;
};

// One polygon; vtx holds deg vertex indices in order around the face.
class SDK_API MNFace {
public:
    int deg = 0;
    PolygonCorners vtx;
    DWORD smGroup = 0;
    MtlID material = 0;
    DWORD flags = 0;

    void MakePoly(int fdeg, const int* vv);
    void SetDeg(int d);
    // The corner's vertex, or -1 for a corner the face does not have.
    int Vert(int corner) const;
    MtlID GetMatID() const { return material; }
    void SetMatID(MtlID id) { material = id; }
};

// The corners of one polygon in a map channel: indices into that channel's map vertices, one per corner.
class MNMapFace {
public:
    int deg = 0;
    PolygonCorners tv;

    void MakePoly(int fdeg, const int* tt) {
        deg = fdeg;
        tv.assign(tt, tt + fdeg);
    }
};

// One map channel of a polygon mesh: its own vertices and one map face per polygon.
class MNMap {
public:
    std::vector<UVVert> v;
    std::vector<MNMapFace> f;

    int VNum() const { return static_cast<int>(v.size()); }
    int FNum() const { return static_cast<int>(f.size()); }
};

class SDK_API MNMesh {
public:
    MNMesh();
    MNMesh(const MNMesh& other);
    MNMesh& operator=(const MNMesh& other);
    ~MNMesh();

    // Views of the vertex and face storage, kept current by every call below that changes the counts.
    MNVert* v = nullptr;
    MNFace* f = nullptr;
    int numv = 0;
    int numf = 0;

    int VNum() const { return numv; }
    int FNum() const { return numf; }
    void setNumVerts(int count);
    void setNumFaces(int count);
    MNVert* V(int i) { return i >= 0 && i < numv ? v + i : nullptr; }
    MNFace* F(int i) { return i >= 0 && i < numf ? f + i : nullptr; }
    Point3& P(int i) { return verts.at(static_cast<std::size_t>(i)).p; }
    int NewVert(const Point3& p);
    // Adds a face of degg corners with vertices vv, copying smoothing group, material and flags from face
    // initFace when that is a face of this mesh; returns the new face's index.
    int NewFace(int initFace, int degg = 0, const int* vv = nullptr);
    void ClearAndFree();

    // Drops the face adjacency that ElementFromFace caches; call it after changing face corners directly.
    void InvalidateTopoCache();

    // Sets the bits of the faces connected to face ff through shared edges. Faces already set are not
    // crossed; if ff is already set, or not a face of this mesh, nothing happens. The set is resized to the
    // face count, keeping its bits. Not safe to run on one mesh from several threads at once.
    void ElementFromFace(int ff, BitArray& fset);
    // For every face, the faces ElementFromFace crosses to from it (those sharing an edge with it), built
    // on first use and kept until the topology changes.
    const std::vector<std::vector<int>>& FaceNeighbours();

    // Map channels 0 to MNum() - 1; a channel is in use when it has one map face per polygon.
    int MNum() const { return static_cast<int>(maps.size()); }
    void SetMapNum(int count);
    // Null outside 0..MNum() - 1.
    MNMap* M(int channel);
    const MNMap* M(int channel) const;

    // Fills tmesh with the triangles of every face of at least three corners, fanned from its first corner;
    // the fan's inner edges are invisible and each triangle keeps its polygon's material and smoothing group.
    // Map channels in use are fanned the same way.
    void OutToTri(Mesh& tmesh) const;

private:
    void Sync();

    std::vector<MNVert> verts;
    std::vector<MNFace> faces;
    std::vector<MNMap> maps;
    std::vector<std::vector<int>> neighbours;
    bool neighboursValid = false;
};
