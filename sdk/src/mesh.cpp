#include "hostsdk/mesh.h"

#include "hostsdk/large_arrays.h"
#include "hostsdk/mesh_adjacency.h"

#include <cmath>

void Face::setEdgeVis(int edge, int visFlag) {
    if (edge < 0 || edge > 2)
        return;
    const DWORD bit = EDGE_A << edge;
    flags = visFlag ? (flags | bit) : (flags & ~bit);
}

void Face::setEdgeVisFlags(int va, int vb, int vc) {
    setEdgeVis(0, va);
    setEdgeVis(1, vb);
    setEdgeVis(2, vc);
}

DWORD Face::getEdgeVis(int edge) const {
    if (edge < 0 || edge > 2)
        return 0;
    return flags & (EDGE_A << edge);
}

BOOL Mesh::setNumVerts(int count, BOOL keep) {
    const std::size_t n = static_cast<std::size_t>(count < 0 ? 0 : count);
    if (!keep)
        verts.clear();
    ReserveLarge(verts, n);
    verts.resize(n);
    return TRUE;
}

BOOL Mesh::setNumFaces(int count, BOOL keep) {
    const std::size_t n = static_cast<std::size_t>(count < 0 ? 0 : count);
    if (!keep)
        faces.clear();
    ReserveLarge(faces, n);
    faces.resize(n);
    for (MeshMap& map : maps) {
        if (!map.used)
            continue;
        if (!keep)
            map.tf.clear();
        map.tf.resize(n);
    }
    return TRUE;
}

void Mesh::setVert(int i, const Point3& p) {
    if (i >= 0 && i < getNumVerts())
        verts[static_cast<std::size_t>(i)] = p;
}

void Mesh::setFaceMtlIndex(int face, MtlID id) {
    if (face >= 0 && face < getNumFaces())
        faces[static_cast<std::size_t>(face)].setMatID(id);
}

Point3 Mesh::FaceNormal(DWORD face, BOOL normalize) const {
    if (face >= faces.size())
        return Point3();
    const Face& f = faces[face];
    for (DWORD v : f.v)
        if (v >= verts.size())
            return Point3();
    const Point3& a = verts[f.v[0]];
    const Point3& b = verts[f.v[1]];
    const Point3& c = verts[f.v[2]];
    const Point3 e1(b.x - a.x, b.y - a.y, b.z - a.z);
    const Point3 e2(c.x - a.x, c.y - a.y, c.z - a.z);
    Point3 n(e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x);
    if (normalize) {
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (length > 0.0f)
            n = Point3(n.x / length, n.y / length, n.z / length);
    }
    return n;
}

void Mesh::setNumMaps(int count, BOOL keep) {
    const std::size_t n =
        static_cast<std::size_t>(count < 0 ? 0 : (count > MAX_MESHMAPS ? MAX_MESHMAPS : count));
    if (!keep)
        maps.clear();
    maps.resize(n);
}

BOOL Mesh::mapSupport(int channel) const {
    return channel >= 0 && channel < getNumMaps() && maps[static_cast<std::size_t>(channel)].used;
}

void Mesh::setMapSupport(int channel, BOOL support) {
    if (channel < 0 || channel >= MAX_MESHMAPS)
        return;
    if (!support) {
        if (channel < getNumMaps())
            maps[static_cast<std::size_t>(channel)] = MeshMap();
        return;
    }
    if (channel >= getNumMaps())
        maps.resize(static_cast<std::size_t>(channel) + 1);
    MeshMap& map = maps[static_cast<std::size_t>(channel)];
    if (!map.used) {
        map.used = true;
        map.tf.assign(faces.size(), TVFace());
    }
}

void Mesh::setNumMapVerts(int channel, int count, BOOL keep) {
    if (!mapSupport(channel))
        return;
    MeshMap& map = maps[static_cast<std::size_t>(channel)];
    if (!keep)
        map.tv.clear();
    map.tv.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
}

int Mesh::getNumMapVerts(int channel) const {
    return mapSupport(channel) ? maps[static_cast<std::size_t>(channel)].getNumVerts() : 0;
}

TVFace* Mesh::mapFaces(int channel) {
    return mapSupport(channel) ? maps[static_cast<std::size_t>(channel)].tf.data() : nullptr;
}

void Mesh::setMapVert(int channel, int i, const UVVert& uvw) {
    if (mapSupport(channel) && i >= 0 && i < getNumMapVerts(channel))
        maps[static_cast<std::size_t>(channel)].tv[static_cast<std::size_t>(i)] = uvw;
}

MeshMap& Mesh::Map(int channel) {
    if (channel >= getNumMaps() && channel < MAX_MESHMAPS)
        maps.resize(static_cast<std::size_t>(channel) + 1);
    return maps.at(static_cast<std::size_t>(channel));
}

void Mesh::DeepCopy(Mesh* from, ChannelMask channels) {
    if (from == nullptr || from == this)
        return;
    if (channels & TOPO_CHANNEL)
        faces = from->faces;
    else if (channels & MTL_CHANNEL) {
        const std::size_t n = faces.size() < from->faces.size() ? faces.size() : from->faces.size();
        for (std::size_t i = 0; i < n; ++i)
            faces[i].setMatID(from->faces[i].getMatID());
    }
    if (channels & GEOM_CHANNEL)
        verts = from->verts;
    const bool texture = (channels & TEXMAP_CHANNEL) != 0;
    const bool colour = (channels & VERTCOLOR_CHANNEL) != 0;
    if (texture || colour) {
        if (maps.size() < from->maps.size())
            maps.resize(from->maps.size());
        for (std::size_t i = 0; i < from->maps.size(); ++i)
            if (i == 0 ? colour : texture)
                maps[i] = from->maps[i];
    }
}
