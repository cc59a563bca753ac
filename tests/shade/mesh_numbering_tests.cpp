#include "shade/mesh_numbering.h"

#include "hostsdk/mesh_adjacency.h"
#include "test_meshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

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

// Separate flat polygons, each fanned into the given number of triangles with invisible inner edges, all
// with material ID 7. Polygon k takes the faces after those of polygons 0 to k - 1.
Mesh FannedPolygons(const std::vector<int>& triangles) {
    MNMesh polygons;
    float x = 0.0f;
    for (int count : triangles) {
        std::vector<int> corners;
        for (int c = 0; c < count + 2; ++c) {
            const float angle = 6.2831853f * static_cast<float>(c) / static_cast<float>(count + 2);
            corners.push_back(polygons.NewVert(Point3(x + std::cos(angle), std::sin(angle), 0.0f)));
        }
        const int face = polygons.NewFace(-1, count + 2, corners.data());
        polygons.f[face].material = 7;
        x += 3.0f;
    }
    Mesh mesh;
    polygons.OutToTri(mesh);
    return mesh;
}

TEST(MeshNumbering, MentalRayNumbersPolygonsOfAnyTriangleCountInFaceOrder) {
    // A one-triangle polygon at an odd face index is its own seed: no other face collects it.
    for (const std::vector<int>& sizes :
         {std::vector<int>{1, 3, 5}, std::vector<int>{3, 1, 5}, std::vector<int>{5, 1, 3, 1}}) {
        Mesh mesh = FannedPolygons(sizes);
        NumberPolygons(mesh);
        int face = 0;
        for (std::size_t p = 0; p < sizes.size(); ++p)
            for (int t = 0; t < sizes[p]; ++t, ++face)
                EXPECT_EQ(mesh.getFaceMtlIndex(face), static_cast<int>(p) + 1)
                    << "face " << face << " of polygon " << p << ", sizes "
                    << ::testing::PrintToString(sizes);
        EXPECT_EQ(face, mesh.getNumFaces());
    }
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

TEST(MeshNumbering, PolygonMeshElementsAreNumberedByTheirFirstFace) {
    // Three strips of quads whose faces are listed interleaved: A B A C B A C, joined within each strip.
    MNMesh mesh;
    for (int strip = 0; strip < 3; ++strip)
        for (int i = 0; i < 8; ++i)
            mesh.NewVert(Point3(static_cast<float>(i / 2 + 10 * strip), static_cast<float>(i % 2), 0.0f));
    const auto quad = [&mesh](int strip, int step) {
        const int base = 8 * strip + 2 * step;
        const int corners[] = {base, base + 2, base + 3, base + 1};
        mesh.NewFace(-1, 4, corners);
    };
    const int order[][2] = {{0, 0}, {1, 0}, {0, 1}, {2, 0}, {1, 1}, {0, 2}, {2, 1}};
    for (const auto& [strip, step] : order)
        quad(strip, step);
    NumberElements(mesh);
    std::vector<int> numbers;
    for (int f = 0; f < mesh.numf; ++f)
        numbers.push_back(mesh.f[f].material);
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 0, 2, 1, 0, 2}));
    // Numbering again gives the same numbers: nothing is left over from the first pass.
    NumberElements(mesh);
    for (int f = 0; f < mesh.numf; ++f)
        EXPECT_EQ(mesh.f[f].material, numbers[static_cast<std::size_t>(f)]) << "face " << f;
}

// Separate triangles with material 9, each a polygon and an element of its own.
MNMesh SeparateTriangles(int count) {
    MNMesh mesh;
    for (int t = 0; t < count; ++t) {
        int corners[3];
        for (int c = 0; c < 3; ++c)
            corners[c] = mesh.NewVert(Point3(static_cast<float>(3 * t + c), static_cast<float>(c % 2), 0.0f));
        const int face = mesh.NewFace(-1, 3, corners);
        mesh.f[face].material = 9;
    }
    return mesh;
}

// Every face its own polygon and element, so every face is a seed: meshes number polygons from 1 and
// elements from 0, polygon meshes both from 0.
TEST(MeshNumbering, SeparateFacesAndASingleFaceAreEachNumbered) {
    for (int count : {1, 2, 5}) {
        Mesh triangles = Triangles(count);
        NumberPolygons(triangles);
        Mesh triangleElements = Triangles(count);
        NumberElements(triangleElements);
        MNMesh polygons = SeparateTriangles(count);
        NumberPolygons(polygons);
        MNMesh polygonElements = SeparateTriangles(count);
        NumberElements(polygonElements);
        for (int f = 0; f < count; ++f) {
            EXPECT_EQ(triangles.getFaceMtlIndex(f), f + 1) << "face " << f << " of " << count;
            EXPECT_EQ(triangleElements.getFaceMtlIndex(f), f) << "face " << f << " of " << count;
            EXPECT_EQ(polygons.f[f].material, f) << "face " << f << " of " << count;
            EXPECT_EQ(polygonElements.f[f].material, f) << "face " << f << " of " << count;
        }
    }
}

// Two triangles on the edge from (0, 0, 0) to (1, 0, 0), the second folded by `fold` radians out of the
// first's plane; the shared edge (edge 0 of both) visible or not.
Mesh Hinge(float fold, bool visible) {
    Mesh mesh;
    mesh.setNumVerts(4);
    mesh.setNumFaces(2);
    mesh.setVert(0, 0.0f, 0.0f, 0.0f);
    mesh.setVert(1, 1.0f, 0.0f, 0.0f);
    mesh.setVert(2, 0.5f, 1.0f, 0.0f);
    mesh.setVert(3, 0.5f, -std::cos(fold), std::sin(fold));
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.faces[1].setVerts(1, 0, 3);
    for (Face& face : mesh.faces)
        face.setEdgeVisFlags(visible ? EDGE_VIS : EDGE_INVIS, EDGE_VIS, EDGE_VIS);
    return mesh;
}

// Faces join one polygon across an invisible edge when their normals differ by less than 0.80110615
// radians; a visible edge always parts them.
TEST(MeshNumbering, PolygonsJoinBelowTheThresholdAcrossInvisibleEdgesOnly) {
    const struct {
        float fold;
        bool visible, joined;
    } cases[] = {
        {0.80110615f - 1e-5f, false, true}, {0.80110615f + 1e-5f, false, false}, {0.0f, true, false}};
    for (const auto& c : cases) {
        Mesh mesh = Hinge(c.fold, c.visible);
        NumberPolygons(mesh);
        EXPECT_EQ(mesh.getFaceMtlIndex(0) == mesh.getFaceMtlIndex(1), c.joined)
            << "fold " << c.fold << (c.visible ? ", visible edge" : "");
    }
}

} // namespace
