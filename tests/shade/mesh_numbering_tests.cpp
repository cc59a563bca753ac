#include "shade/mesh_numbering.h"

#include "hostsdk/mesh_adjacency.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A box of eight corners whose six sides are two triangles sharing an invisible diagonal.
Mesh Box(float size = 1.0f) {
    Mesh mesh;
    mesh.setNumVerts(8);
    for (int i = 0; i < 8; ++i)
        mesh.setVert(i, (i & 1) ? size : 0.0f, (i & 2) ? size : 0.0f, (i & 4) ? size : 0.0f);
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    mesh.setNumFaces(12);
    for (int q = 0; q < 6; ++q) {
        const int* c = quads[q];
        mesh.faces[2 * q].setVerts(c[0], c[1], c[2]);
        mesh.faces[2 * q].setEdgeVisFlags(1, 1, 0);
        mesh.faces[2 * q + 1].setVerts(c[0], c[2], c[3]);
        mesh.faces[2 * q + 1].setEdgeVisFlags(0, 1, 1);
        mesh.setFaceMtlIndex(2 * q, 40);
        mesh.setFaceMtlIndex(2 * q + 1, 40);
    }
    return mesh;
}

// Two boxes apart: two elements.
Mesh TwoBoxes() {
    Mesh first = Box();
    const Mesh second = Box();
    const int offset = first.getNumVerts();
    first.setNumVerts(offset * 2, TRUE);
    for (int i = 0; i < offset; ++i)
        first.setVert(offset + i, second.verts[i].x + 5.0f, second.verts[i].y, second.verts[i].z);
    const int faces = first.getNumFaces();
    first.setNumFaces(faces * 2, TRUE);
    for (int f = 0; f < faces; ++f) {
        first.faces[faces + f] = second.faces[f];
        first.faces[faces + f].setVerts(second.faces[f].v[0] + offset, second.faces[f].v[1] + offset,
                                        second.faces[f].v[2] + offset);
    }
    return first;
}

TEST(MeshNumbering, ShadingCopyNumbersTheSidesOfABoxWithoutTouchingIt) {
    Mesh box = Box();
    std::unique_ptr<Mesh> numbered = NumberPolygonsForShading(box);
    ASSERT_EQ(numbered->getNumFaces(), 12);
    for (int q = 0; q < 6; ++q) {
        EXPECT_EQ(numbered->getFaceMtlIndex(2 * q), q);
        EXPECT_EQ(numbered->getFaceMtlIndex(2 * q + 1), q);
    }
    for (int f = 0; f < 12; ++f)
        EXPECT_EQ(box.getFaceMtlIndex(f), 40) << "the render mesh keeps its own IDs";
}

TEST(MeshNumbering, MentalRayNumbersPolygonsFromOneAndElementsFromZero) {
    Mesh box = Box();
    NumberPolygons(box);
    std::set<int> ids;
    for (int q = 0; q < 6; ++q) {
        EXPECT_EQ(box.getFaceMtlIndex(2 * q), box.getFaceMtlIndex(2 * q + 1));
        ids.insert(box.getFaceMtlIndex(2 * q));
    }
    EXPECT_EQ(ids, (std::set<int>{1, 2, 3, 4, 5, 6}));

    Mesh boxes = TwoBoxes();
    NumberElements(boxes);
    for (int f = 0; f < 12; ++f) {
        EXPECT_EQ(boxes.getFaceMtlIndex(f), 0);
        EXPECT_EQ(boxes.getFaceMtlIndex(12 + f), 1);
    }

    Mesh empty;
    NumberPolygons(empty);
    NumberElements(empty);
    EXPECT_EQ(NumberPolygonsForShading(empty)->getNumFaces(), 0);
}

TEST(MeshNumbering, PolygonMeshesNumberFacesAndElements) {
    MNMesh mesh;
    // Two quads sharing an edge, and a lone triangle.
    for (int i = 0; i < 9; ++i)
        mesh.NewVert(Point3(static_cast<float>(i), static_cast<float>(i % 3), 0.0f));
    const int quadA[] = {0, 1, 4, 3};
    const int quadB[] = {1, 2, 5, 4};
    const int triangle[] = {6, 7, 8};
    mesh.NewFace(-1, 4, quadA);
    mesh.NewFace(-1, 4, quadB);
    mesh.NewFace(-1, 3, triangle);
    NumberPolygons(mesh);
    EXPECT_EQ(mesh.f[0].material, 0);
    EXPECT_EQ(mesh.f[2].material, 2);
    NumberElements(mesh);
    EXPECT_EQ(mesh.f[0].material, 0);
    EXPECT_EQ(mesh.f[1].material, 0);
    EXPECT_EQ(mesh.f[2].material, 1);
}

} // namespace
