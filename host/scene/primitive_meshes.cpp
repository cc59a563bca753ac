#include "host/scene/primitive_meshes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace host {

namespace {

// Collects triangles with their texture faces and writes them into a mesh at the end.
class MeshBuilder {
public:
    int AddVert(const Point3& p) {
        verts.push_back(p);
        return static_cast<int>(verts.size()) - 1;
    }
    int AddUV(float u, float v) {
        uvs.push_back(Point3(u, v, 0.0f));
        return static_cast<int>(uvs.size()) - 1;
    }
    // Edge visibility per edge: corner 0 to 1, 1 to 2, 2 to 0.
    void AddTriangle(const int (&v)[3], const int (&t)[3], MtlID id, bool e0 = true, bool e1 = true,
                     bool e2 = true) {
        Face face;
        face.setVerts(static_cast<DWORD>(v[0]), static_cast<DWORD>(v[1]), static_cast<DWORD>(v[2]));
        face.setEdgeVisFlags(e0 ? EDGE_VIS : EDGE_INVIS, e1 ? EDGE_VIS : EDGE_INVIS,
                             e2 ? EDGE_VIS : EDGE_INVIS);
        face.setMatID(id);
        face.setSmGroup(1);
        faces.push_back(face);
        tvFaces.push_back(
            TVFace(static_cast<DWORD>(t[0]), static_cast<DWORD>(t[1]), static_cast<DWORD>(t[2])));
    }
    // A quad a, b, c, d (counter-clockwise seen from outside) as triangles abc and cda, whose shared edge
    // ac is invisible.
    void AddQuad(const int (&v)[4], const int (&t)[4], MtlID id) {
        AddTriangle({v[0], v[1], v[2]}, {t[0], t[1], t[2]}, id, true, true, false);
        AddTriangle({v[2], v[3], v[0]}, {t[2], t[3], t[0]}, id, true, true, false);
    }

    void Commit(Mesh& mesh) const {
        mesh = Mesh();
        mesh.verts = verts;
        mesh.faces = faces;
        mesh.setMapSupport(1, TRUE);
        MeshMap& map = mesh.Map(1);
        map.tv = uvs;
        map.tf = tvFaces;
    }

private:
    std::vector<Point3> verts;
    std::vector<Face> faces;
    std::vector<Point3> uvs;
    std::vector<TVFace> tvFaces;
};

// Corner i of a box has x, y and z at their upper value for bits 0, 1 and 2 of i.
Point3 BoxCorner(int i, float length, float width, float height) {
    return Point3((i & 1) ? width / 2.0f : -width / 2.0f, (i & 2) ? length / 2.0f : -length / 2.0f,
                  (i & 4) ? height : 0.0f);
}

// The corners of each side, counter-clockwise seen from outside, in BoxSide order.
constexpr int kBoxSides[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 0, 4, 6}};

float Angle(int step, int steps) {
    return 2.0f * std::numbers::pi_v<float> * static_cast<float>(step) / static_cast<float>(steps);
}

} // namespace

void BuildBoxMesh(Mesh& mesh, float length, float width, float height) {
    MeshBuilder builder;
    for (int i = 0; i < 8; ++i)
        builder.AddVert(BoxCorner(i, length, width, height));
    for (int side = 0; side < 6; ++side) {
        const int t0 = builder.AddUV(0.0f, 0.0f);
        builder.AddUV(1.0f, 0.0f);
        builder.AddUV(1.0f, 1.0f);
        builder.AddUV(0.0f, 1.0f);
        const int(&c)[4] = kBoxSides[side];
        builder.AddQuad({c[0], c[1], c[2], c[3]}, {t0, t0 + 1, t0 + 2, t0 + 3}, static_cast<MtlID>(side));
    }
    builder.Commit(mesh);
}

void BuildBoxPolyMesh(MNMesh& mesh, float length, float width, float height) {
    mesh.ClearAndFree();
    for (int i = 0; i < 8; ++i)
        mesh.NewVert(BoxCorner(i, length, width, height));
    for (int side = 0; side < 6; ++side) {
        const int face = mesh.NewFace(-1, 4, kBoxSides[side]);
        mesh.f[face].material = static_cast<MtlID>(side);
        mesh.f[face].smGroup = 1u << side;
    }
}

void BuildSphereMesh(Mesh& mesh, float radius, int segments) {
    const int around = std::max(4, segments);
    const int rings = std::max(2, around / 2);
    MeshBuilder builder;
    // Vertex rows 0 (top pole) to rings (bottom pole); the poles are single vertices.
    const int top = builder.AddVert(Point3(0.0f, 0.0f, radius));
    for (int i = 1; i < rings; ++i) {
        const float phi = std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(rings);
        for (int j = 0; j < around; ++j)
            builder.AddVert(Point3(radius * std::sin(phi) * std::cos(Angle(j, around)),
                                   radius * std::sin(phi) * std::sin(Angle(j, around)),
                                   radius * std::cos(phi)));
    }
    const int bottom = builder.AddVert(Point3(0.0f, 0.0f, -radius));
    const auto vert = [&](int row, int j) {
        if (row == 0)
            return top;
        if (row == rings)
            return bottom;
        return 1 + (row - 1) * around + j % around;
    };
    // Texture vertices: a (around + 1) x (rings + 1) grid, the seam column repeated.
    for (int row = 0; row <= rings; ++row)
        for (int j = 0; j <= around; ++j)
            builder.AddUV(static_cast<float>(j) / static_cast<float>(around),
                          1.0f - static_cast<float>(row) / static_cast<float>(rings));
    const auto uv = [&](int row, int j) { return row * (around + 1) + j; };

    for (int row = 0; row < rings; ++row)
        for (int j = 0; j < around; ++j) {
            const int a = vert(row, j), b = vert(row + 1, j), c = vert(row + 1, j + 1), d = vert(row, j + 1);
            const int ta = uv(row, j), tb = uv(row + 1, j), tc = uv(row + 1, j + 1), td = uv(row, j + 1);
            if (row == 0)
                builder.AddTriangle({a, b, c}, {ta, tb, tc}, 0);
            else if (row == rings - 1)
                builder.AddTriangle({a, b, d}, {ta, tb, td}, 0);
            else
                builder.AddQuad({a, b, c, d}, {ta, tb, tc, td}, 0);
        }
    builder.Commit(mesh);
}

void BuildPlaneMesh(Mesh& mesh, float length, float width, int lengthSegments, int widthSegments) {
    const int nx = std::max(1, widthSegments), ny = std::max(1, lengthSegments);
    MeshBuilder builder;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(nx);
            const float v = static_cast<float>(j) / static_cast<float>(ny);
            builder.AddVert(Point3((u - 0.5f) * width, (v - 0.5f) * length, 0.0f));
            builder.AddUV(u, v);
        }
    const auto at = [&](int i, int j) { return j * (nx + 1) + i; };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            builder.AddQuad({a, b, c, d}, {a, b, c, d}, 0);
        }
    builder.Commit(mesh);
}

void BuildCylinderMesh(Mesh& mesh, float radius, float height, int sides) {
    const int n = std::max(3, sides);
    MeshBuilder builder;
    for (int level = 0; level < 2; ++level)
        for (int j = 0; j < n; ++j)
            builder.AddVert(Point3(radius * std::cos(Angle(j, n)), radius * std::sin(Angle(j, n)),
                                   level == 0 ? 0.0f : height));
    const auto bottom = [n](int j) { return j % n; };
    const auto top = [n](int j) { return n + j % n; };

    // Side texture vertices: two rows of n + 1, the seam column repeated; then one ring per cap.
    for (int level = 0; level < 2; ++level)
        for (int j = 0; j <= n; ++j)
            builder.AddUV(static_cast<float>(j) / static_cast<float>(n), static_cast<float>(level));
    const int capUV = 2 * (n + 1);
    for (int j = 0; j < n; ++j)
        builder.AddUV(0.5f + 0.5f * std::cos(Angle(j, n)), 0.5f + 0.5f * std::sin(Angle(j, n)));

    for (int j = 0; j < n; ++j)
        builder.AddQuad({bottom(j), bottom(j + 1), top(j + 1), top(j)}, {j, j + 1, n + 1 + j + 1, n + 1 + j},
                        2);
    // Each cap is a fan from its first corner; only the fan's outer edges are visible.
    for (int k = 1; k + 1 < n; ++k) {
        builder.AddTriangle({bottom(0), bottom(k + 1), bottom(k)}, {capUV, capUV + k + 1, capUV + k}, 0,
                            k + 1 == n - 1, true, k == 1);
        builder.AddTriangle({top(0), top(k), top(k + 1)}, {capUV, capUV + k, capUV + k + 1}, 1, k == 1, true,
                            k + 1 == n - 1);
    }
    builder.Commit(mesh);
}

} // namespace host
