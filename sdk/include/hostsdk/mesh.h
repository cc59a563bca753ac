#pragma once

// The triangle mesh: vertices, faces with edge visibility and material IDs, and map channels.
#include "hostsdk/bit_array.h"
#include "hostsdk/channels.h"
#include "hostsdk/color.h"
#include "hostsdk/sdk_api.h"
#include "hostsdk/win32.h"

#include <vector>

class AdjFaceList;

using MtlID = unsigned short;
using UVVert = Point3;

// Face::flags: one visibility bit per edge (edge i runs from corner i to corner i+1), the hidden bit, and
// the material ID in the upper 16 bits.
constexpr DWORD EDGE_A = 1 << 0;
constexpr DWORD EDGE_B = 1 << 1;
constexpr DWORD EDGE_C = 1 << 2;
constexpr DWORD EDGE_ALL = EDGE_A | EDGE_B | EDGE_C;
constexpr DWORD FACE_HIDDEN = 1 << 3;
constexpr int FACE_MATID_SHIFT = 16;
constexpr DWORD FACE_MATID_MASK = 0xFFFF;
constexpr int EDGE_INVIS = 0;
constexpr int EDGE_VIS = 1;

// Channel 0 holds vertex colours, 1 to 99 texture coordinates.
constexpr int MAX_MESHMAPS = 100;

class SDK_API Face {
public:
    DWORD v[3] = {0, 0, 0};
    DWORD smGroup = 0;
    // A face whose edges were never set is drawn with all three, so it forms a polygon of its own.
    DWORD flags = EDGE_ALL;

    void setVerts(DWORD a, DWORD b, DWORD c) {
        v[0] = a;
        v[1] = b;
        v[2] = c;
    }
    DWORD getVert(int i) const { return v[i]; }
    DWORD* getAllVerts() { return v; }

    void setEdgeVis(int edge, int visFlag);
    void setEdgeVisFlags(int va, int vb, int vc);
    // Non-zero when edge 0, 1 or 2 is visible; 0 for any other edge number.
    DWORD getEdgeVis(int edge) const;

    MtlID getMatID() const { return static_cast<MtlID>((flags >> FACE_MATID_SHIFT) & FACE_MATID_MASK); }
    void setMatID(MtlID id) {
        flags =
            (flags & ~(FACE_MATID_MASK << FACE_MATID_SHIFT)) | (static_cast<DWORD>(id) << FACE_MATID_SHIFT);
    }
    DWORD getSmGroup() const { return smGroup; }
    void setSmGroup(DWORD group) { smGroup = group; }
    void Hide() { flags |= FACE_HIDDEN; }
    void Show() { flags &= ~FACE_HIDDEN; }
    BOOL Hidden() const { return (flags & FACE_HIDDEN) != 0; }
};

// The corners of one face in a map channel: indices into that channel's map vertices.
class TVFace {
public:
    DWORD t[3] = {0, 0, 0};

    TVFace() = default;
    TVFace(DWORD a, DWORD b, DWORD c) : t{a, b, c} {}
    void setTVerts(DWORD a, DWORD b, DWORD c) {
        t[0] = a;
        t[1] = b;
        t[2] = c;
    }
    DWORD getTVert(int i) const { return t[i]; }
};

// One map channel: its own vertices and one map face per mesh face.
class MeshMap {
public:
    bool used = false;
    std::vector<UVVert> tv;
    std::vector<TVFace> tf;

    BOOL IsUsed() const { return used ? TRUE : FALSE; }
    int getNumVerts() const { return static_cast<int>(tv.size()); }
    int getNumFaces() const { return static_cast<int>(tf.size()); }
};

class SDK_API Mesh {
public:
    std::vector<Point3> verts;
    std::vector<Face> faces;

    int getNumVerts() const { return static_cast<int>(verts.size()); }
    int getNumFaces() const { return static_cast<int>(faces.size()); }
    // New vertices are at the origin; with keep false the old ones are dropped first.
    BOOL setNumVerts(int count, BOOL keep = FALSE);
    // New faces are default faces; map channels in use follow with default map faces.
    BOOL setNumFaces(int count, BOOL keep = FALSE);
    void setVert(int i, const Point3& p);
    void setVert(int i, float x, float y, float z) { setVert(i, Point3(x, y, z)); }
    Point3& getVert(int i) { return verts.at(static_cast<std::size_t>(i)); }

    // Face material IDs; faces outside the mesh are ignored and read as 0.
    void setFaceMtlIndex(int face, MtlID id);
    // 0 for a face the mesh does not have. Inline: shading reads it on every sample.
    MtlID getFaceMtlIndex(int face) const {
        return face < 0 || face >= getNumFaces() ? 0 : faces[static_cast<std::size_t>(face)].getMatID();
    }

    // The face's normal from its corners, optionally of unit length; (0, 0, 0) for a face outside the mesh,
    // a corner outside the vertex list, or a face without area.
    Point3 FaceNormal(DWORD face, BOOL normalize = FALSE) const;

    // Map channels 0 to MAX_MESHMAPS - 1.
    int getNumMaps() const { return static_cast<int>(maps.size()); }
    void setNumMaps(int count, BOOL keep = FALSE);
    BOOL mapSupport(int channel) const;
    // Turning a channel on gives it one default map face per face; turning it off frees its data.
    void setMapSupport(int channel, BOOL support = TRUE);
    void setNumMapVerts(int channel, int count, BOOL keep = FALSE);
    int getNumMapVerts(int channel) const;
    // Null for a channel that is not in use.
    TVFace* mapFaces(int channel);
    void setMapVert(int channel, int i, const UVVert& uvw);
    // The channel record itself, created when missing; throws std::out_of_range outside 0..99.
    MeshMap& Map(int channel);

    // Copies the listed channels of `from`: topology (faces with their flags), geometry (vertices),
    // material IDs, texture and vertex-colour channels.
    void DeepCopy(Mesh* from, ChannelMask channels);

    // Plug-ins call it after changing faces directly. The stand-in keeps no adjacency between calls, so
    // there is nothing to drop.
    void ZeroTopologyCache() {}

    // Sets the bits of the faces in the polygon of face f: the faces reached from f across edges that are
    // invisible on both sides (or any edge with ignoreVisEdges) where the angle between the two faces'
    // normals is below thresh, in radians. Faces already set are not crossed; if f is already set, or not
    // a face of this mesh, nothing happens. The set is resized to the face count, keeping its bits.
    // Without `af` the adjacency is found for this call alone.
    void PolyFromFace(DWORD f, BitArray& set, float thresh, BOOL ignoreVisEdges, AdjFaceList* af = nullptr);

private:
    std::vector<MeshMap> maps;
};
