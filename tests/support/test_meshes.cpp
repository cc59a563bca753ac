#include "test_meshes.h"

namespace {

// The corners of a unit box's sides, corner i at (i & 1, (i >> 1) & 1, (i >> 2) & 1).
constexpr int kBoxSides[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};

Point3 BoxCorner(int i, const Point3& origin) {
    return Point3(origin.x + static_cast<float>(i & 1), origin.y + static_cast<float>((i >> 1) & 1),
                  origin.z + static_cast<float>((i >> 2) & 1));
}

} // namespace

void AddBox(Mesh& mesh, float offset, MtlID materialId) {
    const int v0 = mesh.getNumVerts();
    const int f0 = mesh.getNumFaces();
    mesh.setNumVerts(v0 + 8, TRUE);
    for (int i = 0; i < 8; ++i)
        mesh.setVert(v0 + i, BoxCorner(i, Point3(offset, 0.0f, 0.0f)));
    mesh.setNumFaces(f0 + 12, TRUE);
    for (int q = 0; q < 6; ++q) {
        Face& a = mesh.faces[static_cast<std::size_t>(f0 + 2 * q)];
        Face& b = mesh.faces[static_cast<std::size_t>(f0 + 2 * q + 1)];
        a.setVerts(v0 + kBoxSides[q][0], v0 + kBoxSides[q][1], v0 + kBoxSides[q][2]);
        a.setEdgeVisFlags(1, 1, 0);
        b.setVerts(v0 + kBoxSides[q][0], v0 + kBoxSides[q][2], v0 + kBoxSides[q][3]);
        b.setEdgeVisFlags(0, 1, 1);
        mesh.setFaceMtlIndex(f0 + 2 * q, materialId);
        mesh.setFaceMtlIndex(f0 + 2 * q + 1, materialId);
    }
}

void AddCube(MNMesh& mesh, const Point3& origin) {
    const int first = mesh.VNum();
    for (int i = 0; i < 8; ++i)
        mesh.NewVert(BoxCorner(i, origin));
    for (const auto& side : kBoxSides) {
        const int corners[4] = {first + side[0], first + side[1], first + side[2], first + side[3]};
        mesh.NewFace(-1, 4, corners);
    }
}
