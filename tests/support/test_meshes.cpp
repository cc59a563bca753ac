#include "test_meshes.h"

void AddBox(Mesh& mesh, float offset, MtlID materialId) {
    const int v0 = mesh.getNumVerts();
    const int f0 = mesh.getNumFaces();
    mesh.setNumVerts(v0 + 8, TRUE);
    for (int i = 0; i < 8; ++i)
        mesh.setVert(v0 + i, static_cast<float>(i & 1) + offset, static_cast<float>((i >> 1) & 1),
                     static_cast<float>((i >> 2) & 1));
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    mesh.setNumFaces(f0 + 12, TRUE);
    for (int q = 0; q < 6; ++q) {
        Face& a = mesh.faces[static_cast<std::size_t>(f0 + 2 * q)];
        Face& b = mesh.faces[static_cast<std::size_t>(f0 + 2 * q + 1)];
        a.setVerts(v0 + quads[q][0], v0 + quads[q][1], v0 + quads[q][2]);
        a.setEdgeVisFlags(1, 1, 0);
        b.setVerts(v0 + quads[q][0], v0 + quads[q][2], v0 + quads[q][3]);
        b.setEdgeVisFlags(0, 1, 1);
        mesh.setFaceMtlIndex(f0 + 2 * q, materialId);
        mesh.setFaceMtlIndex(f0 + 2 * q + 1, materialId);
    }
}
