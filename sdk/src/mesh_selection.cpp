// Growing a polygon's face set over a mesh's face adjacency.
#include "hostsdk/mesh.h"

#include "hostsdk/mesh_adjacency.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Whether the edge that face a (edge e) shares with face b is drawn by either face: a polygon never
// crosses an edge either side shows, so the polygon found is the same from every seed face in it.
bool EdgeVisible(const Mesh& mesh, DWORD a, int e, DWORD b) {
    const Face& fa = mesh.faces[a];
    if (fa.getEdgeVis(e))
        return true;
    const DWORD v0 = fa.v[e];
    const DWORD v1 = fa.v[(e + 1) % 3];
    const Face& fb = mesh.faces[b];
    for (int k = 0; k < 3; ++k) {
        const DWORD w0 = fb.v[k];
        const DWORD w1 = fb.v[(k + 1) % 3];
        if ((w0 == v0 && w1 == v1) || (w0 == v1 && w1 == v0))
            return fb.getEdgeVis(k) != 0;
    }
    return false;
}

// The angle in radians between the normals of two faces. A face without area has no direction; its angle
// to anything is infinite, so no threshold joins it to a neighbour.
double NormalAngle(const Point3& na, const Point3& nb) {
    const double la = std::sqrt(double(na.x) * na.x + double(na.y) * na.y + double(na.z) * na.z);
    const double lb = std::sqrt(double(nb.x) * nb.x + double(nb.y) * nb.y + double(nb.z) * nb.z);
    if (!(la > 0.0) || !(lb > 0.0))
        return std::numeric_limits<double>::infinity();
    double cosine = (double(na.x) * nb.x + double(na.y) * nb.y + double(na.z) * nb.z) / (la * lb);
    cosine = cosine > 1.0 ? 1.0 : (cosine < -1.0 ? -1.0 : cosine);
    return std::acos(cosine);
}

// Breadth-first growth from face f across the edges canCross accepts; set faces are walls.
template <class CanCross>
void GrowFromFace(const Mesh& mesh, DWORD f, BitArray& set, const AdjFaceList& adjacency, CanCross canCross) {
    const int n = mesh.getNumFaces();
    if (set.GetSize() != n)
        set.SetSize(n, 1);
    if (set[static_cast<int>(f)])
        return;
    set.Set(static_cast<int>(f));
    std::vector<DWORD> pending{f};
    for (std::size_t next = 0; next < pending.size(); ++next) {
        const DWORD a = pending[next];
        if (a >= adjacency.list.size())
            continue;
        for (int e = 0; e < 3; ++e) {
            const DWORD b = adjacency.list[a].f[e];
            if (b >= static_cast<DWORD>(n) || set[static_cast<int>(b)] || !canCross(a, e, b))
                continue;
            set.Set(static_cast<int>(b));
            pending.push_back(b);
        }
    }
}

} // namespace

void Mesh::PolyFromFace(DWORD f, BitArray& set, float thresh, BOOL ignoreVisEdges, AdjFaceList* af) {
    if (f >= faces.size())
        return;
    std::unique_ptr<AdjFaceList> own;
    if (af == nullptr) {
        AdjEdgeList edges(*this);
        own = std::make_unique<AdjFaceList>(*this, edges);
        af = own.get();
    }
    GrowFromFace(*this, f, set, *af, [&](DWORD a, int e, DWORD b) {
        if (!ignoreVisEdges && EdgeVisible(*this, a, e, b))
            return false;
        return NormalAngle(FaceNormal(a), FaceNormal(b)) < static_cast<double>(thresh);
    });
}
