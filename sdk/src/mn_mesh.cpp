#include "hostsdk/mn_mesh.h"

#include "hostsdk/large_arrays.h"
#include "hostsdk/mesh.h"

#include <algorithm>
#include <map>
#include <utility>

void MNFace::MakePoly(int fdeg, const int* vv) {
    SetDeg(fdeg);
    if (vv != nullptr)
        std::copy(vv, vv + deg, vtx.begin());
}

void MNFace::SetDeg(int d) {
    deg = d < 0 ? 0 : d;
    vtx.resize(static_cast<std::size_t>(deg), -1);
}

int MNFace::Vert(int corner) const {
    if (corner < 0 || corner >= deg || static_cast<std::size_t>(corner) >= vtx.size())
        return -1;
    return vtx[static_cast<std::size_t>(corner)];
}

namespace {

// Whether OutToTri fans the face into triangles: at least three corners, each a vertex of the mesh.
bool IsFanned(const MNFace& face, int numv) {
    if (face.deg < 3 || static_cast<std::size_t>(face.deg) > face.vtx.size())
        return false;
    for (int c = 0; c < face.deg; ++c) {
        const int v = face.vtx[static_cast<std::size_t>(c)];
        if (v < 0 || v >= numv)
            return false;
    }
    return true;
}

} // namespace

MNMesh::MNMesh() = default;

MNMesh::MNMesh(const MNMesh& other) : verts(other.verts), faces(other.faces), maps(other.maps) {
    Sync();
}

MNMesh& MNMesh::operator=(const MNMesh& other) {
    if (this != &other) {
        verts = other.verts;
        faces = other.faces;
        maps = other.maps;
        Sync();
    }
    return *this;
}

MNMesh::~MNMesh() = default;

void MNMesh::Sync() {
    v = verts.empty() ? nullptr : verts.data();
    f = faces.empty() ? nullptr : faces.data();
    numv = static_cast<int>(verts.size());
    numf = static_cast<int>(faces.size());
    InvalidateTopoCache();
}

void MNMesh::setNumVerts(int count) {
    ReserveLarge(verts, static_cast<std::size_t>(count < 0 ? 0 : count));
    verts.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
    Sync();
}

void MNMesh::setNumFaces(int count) {
    ReserveLarge(faces, static_cast<std::size_t>(count < 0 ? 0 : count));
    faces.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
    Sync();
}

int MNMesh::NewVert(const Point3& p) {
    MNVert vert;
    vert.p = p;
    verts.push_back(vert);
    Sync();
    return numv - 1;
}

int MNMesh::NewFace(int initFace, int degg, const int* vv) {
    MNFace face;
    if (initFace >= 0 && initFace < numf) {
        face.smGroup = faces[static_cast<std::size_t>(initFace)].smGroup;
        face.material = faces[static_cast<std::size_t>(initFace)].material;
        face.flags = faces[static_cast<std::size_t>(initFace)].flags;
    }
    face.MakePoly(degg, vv);
    faces.push_back(std::move(face));
    Sync();
    return numf - 1;
}

void MNMesh::ClearAndFree() {
    verts.clear();
    faces.clear();
    maps.clear();
    Sync();
}

void MNMesh::InvalidateTopoCache() {
    neighbours.clear();
    neighboursValid = false;
}

const std::vector<std::vector<int>>& MNMesh::FaceNeighbours() {
    if (neighboursValid)
        return neighbours;
    // A polygon mesh may have any number of faces on an edge; chaining them keeps them all in one element
    // without linking every pair.
    std::map<std::pair<int, int>, std::vector<int>> edgeFaces;
    for (int i = 0; i < numf; ++i) {
        const MNFace& face = faces[static_cast<std::size_t>(i)];
        for (int c = 0; c < face.deg; ++c) {
            const int a = face.Vert(c);
            const int b = face.Vert((c + 1) % face.deg);
            if (a < 0 || b < 0 || a == b)
                continue;
            std::vector<int>& users = edgeFaces[{std::min(a, b), std::max(a, b)}];
            if (users.empty() || users.back() != i)
                users.push_back(i);
        }
    }
    neighbours.assign(static_cast<std::size_t>(numf), {});
    for (const auto& [edge, users] : edgeFaces) {
        for (std::size_t i = 1; i < users.size(); ++i) {
            neighbours[static_cast<std::size_t>(users[i - 1])].push_back(users[i]);
            neighbours[static_cast<std::size_t>(users[i])].push_back(users[i - 1]);
        }
    }
    neighboursValid = true;
    return neighbours;
}

void MNMesh::ElementFromFace(int ff, BitArray& fset) {
    if (ff < 0 || ff >= numf)
        return;
    if (fset.GetSize() != numf)
        fset.SetSize(numf, 1);
    if (fset[ff])
        return;
    const std::vector<std::vector<int>>& adjacency = FaceNeighbours();
    fset.Set(ff);
    std::vector<int> pending{ff};
    for (std::size_t next = 0; next < pending.size(); ++next) {
        for (int b : adjacency[static_cast<std::size_t>(pending[next])]) {
            if (fset[b])
                continue;
            fset.Set(b);
            pending.push_back(b);
        }
    }
}

void MNMesh::SetMapNum(int count) {
    maps.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
}

MNMap* MNMesh::M(int channel) {
    return channel >= 0 && channel < MNum() ? &maps[static_cast<std::size_t>(channel)] : nullptr;
}

const MNMap* MNMesh::M(int channel) const {
    return channel >= 0 && channel < MNum() ? &maps[static_cast<std::size_t>(channel)] : nullptr;
}

void MNMesh::OutToTri(Mesh& tmesh) const {
    tmesh.setNumVerts(numv);
    for (int i = 0; i < numv; ++i)
        tmesh.verts[static_cast<std::size_t>(i)] = verts[static_cast<std::size_t>(i)].p;
    // The triangles are counted first and written in place, so that a large mesh is never held twice.
    std::size_t count = 0;
    for (const MNFace& face : faces)
        if (IsFanned(face, numv))
            count += static_cast<std::size_t>(face.deg - 2);
    tmesh.setNumFaces(static_cast<int>(count));
    std::size_t t = 0;
    for (const MNFace& face : faces) {
        if (!IsFanned(face, numv))
            continue;
        const int last = face.deg - 3;
        for (int k = 0; k <= last; ++k) {
            Face& tri = tmesh.faces[t++];
            // A fanned face's corners are all vertices of the mesh (IsFanned).
            const auto corner = [&face](int c) {
                return static_cast<DWORD>(face.vtx[static_cast<std::size_t>(c)]);
            };
            tri.setVerts(corner(0), corner(k + 1), corner(k + 2));
            tri.setEdgeVisFlags(k == 0 ? EDGE_VIS : EDGE_INVIS, EDGE_VIS, k == last ? EDGE_VIS : EDGE_INVIS);
            tri.setMatID(face.material);
            tri.setSmGroup(face.smGroup);
        }
    }
    for (int channel = 0; channel < MNum() && channel < MAX_MESHMAPS; ++channel) {
        const MNMap& map = maps[static_cast<std::size_t>(channel)];
        if (map.FNum() != numf)
            continue;
        tmesh.setMapSupport(channel, TRUE);
        tmesh.setNumMapVerts(channel, map.VNum());
        for (int i = 0; i < map.VNum(); ++i)
            tmesh.setMapVert(channel, i, map.v[static_cast<std::size_t>(i)]);
        TVFace* mapFaces = tmesh.mapFaces(channel);
        // The map faces follow the triangles: each takes its polygon's map corners 0, k + 1 and k + 2.
        t = 0;
        for (std::size_t p = 0; p < faces.size(); ++p) {
            if (!IsFanned(faces[p], numv))
                continue;
            const MNMapFace& polygon = map.f[p];
            const auto corner = [&](int c) {
                const int index =
                    c < static_cast<int>(polygon.tv.size()) ? polygon.tv[static_cast<std::size_t>(c)] : 0;
                return static_cast<DWORD>(index >= 0 && index < map.VNum() ? index : 0);
            };
            for (int k = 0; k <= faces[p].deg - 3; ++k)
                mapFaces[t++].setTVerts(corner(0), corner(k + 1), corner(k + 2));
        }
    }
    tmesh.ZeroTopologyCache();
}
