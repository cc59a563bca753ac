#include "shade/mesh_numbering.h"

#include "hostsdk/mesh_adjacency.h"
#include "test_meshes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

Mesh Box() {
    Mesh mesh;
    AddBox(mesh, 0.0f, 40);
    return mesh;
}

// Two boxes apart: two elements.
Mesh TwoBoxes() {
    Mesh mesh;
    AddBox(mesh);
    AddBox(mesh, 5.0f);
    return mesh;
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
