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

// Separate triangles with material ID 7: each is a polygon of its own.
Mesh Triangles(int count) {
    Mesh mesh;
    mesh.setNumVerts(3 * count);
    mesh.setNumFaces(count);
    for (int f = 0; f < count; ++f) {
        const auto x = static_cast<float>(f);
        mesh.setVert(3 * f, x, 0.0f, 0.0f);
        mesh.setVert(3 * f + 1, x + 0.5f, 0.0f, 0.0f);
        mesh.setVert(3 * f + 2, x, 1.0f, 0.0f);
        mesh.faces[static_cast<std::size_t>(f)].setVerts(3 * f, 3 * f + 1, 3 * f + 2);
        mesh.setFaceMtlIndex(f, 7);
    }
    return mesh;
}

TEST(MeshNumbering, ShadingCopySeedsEveryFaceUpTo80599FacesAndEverySecondAbove) {
    Mesh most = Triangles(80599);
    std::unique_ptr<Mesh> each = NumberPolygonsForShading(most);
    EXPECT_EQ(each->getFaceMtlIndex(1), 1);
    EXPECT_EQ(each->getFaceMtlIndex(65537), 1) << "numbers wrap at 65536";
    EXPECT_EQ(each->getFaceMtlIndex(80598), 80598 - 65536);

    Mesh more = Triangles(80600);
    std::unique_ptr<Mesh> second = NumberPolygonsForShading(more);
    EXPECT_EQ(second->getFaceMtlIndex(2), 1);
    EXPECT_EQ(second->getFaceMtlIndex(80598), 40299);
    for (int f : {1, 3, 40001, 80599})
        EXPECT_EQ(second->getFaceMtlIndex(f), 7) << "face " << f << " lies between seeds and keeps its ID";
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
