// What the contact sheet counts on the objects that wear a map: which nodes, their points, and the keys of
// the modes that go by parts of the model.
#include "host/sheet/sheet_surfaces.h"

#include "../render_test_support.h"

#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Two triangles apart: two elements, two polygons, material IDs 3 and 5, tile numbers 1 and 2 in map
// channel 99 (kept negated, as a tile map writes them).
TriObject* NewTwoTriangles() {
    TriObject* object = CreateNewTriObject();
    Mesh& mesh = object->GetMesh();
    mesh.setNumVerts(6);
    for (int i = 0; i < 6; ++i)
        mesh.setVert(i, Point3(static_cast<float>(i % 3 == 1 ? 1 : 0) + (i < 3 ? 0.0f : 5.0f),
                               static_cast<float>(i % 3 == 2 ? 1 : 0), 0.0f));
    mesh.setNumFaces(2);
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.faces[1].setVerts(3, 4, 5);
    mesh.setFaceMtlIndex(0, 3);
    mesh.setFaceMtlIndex(1, 5);
    mesh.setMapSupport(99);
    mesh.setNumMapVerts(99, 2);
    mesh.setMapVert(99, 0, Point3(-1.0f, 0.0f, 0.0f));
    mesh.setMapVert(99, 1, Point3(-2.0f, 0.0f, 0.0f));
    mesh.mapFaces(99)[0] = TVFace(0, 0, 0);
    mesh.mapFaces(99)[1] = TVFace(1, 1, 1);
    return object;
}

class SheetSurfaces : public ::testing::Test {
protected:
    SheetSurfaces() {
        worn = new render_test::ProbeMap([](ShadeContext&) { return AColor(); });
        other = new render_test::ProbeMap([](ShadeContext&) { return AColor(); });
        Mtl* wearing = render_test::MaterialWith(worn);
        box = render_test::AddNode(scene, render_test::NewBox(10.0f), wearing, Point3(100.0f, 0.0f, 0.0f));
        render_test::AddNode(scene, render_test::NewBox(10.0f), render_test::MaterialWith(other), Point3());
        render_test::AddNode(scene, render_test::NewBox(30.0f), wearing, Point3())->Hide(TRUE);
        triangles = render_test::AddNode(scene, NewTwoTriangles(), wearing, Point3());
        triangles->SetGBufID(7);
    }

    host::SceneRoot scene;
    render_test::ProbeMap* worn = nullptr;
    render_test::ProbeMap* other = nullptr;
    INode* box = nullptr;
    INode* triangles = nullptr;
};

TEST_F(SheetSurfaces, AreTheVisibleNodesWearingTheMap) {
    const std::vector<host::SheetSurface> surfaces = host::SurfacesWearing(scene, *worn, 0);
    ASSERT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(surfaces[0].node, box);
    EXPECT_EQ(surfaces[1].node, triangles);
    EXPECT_EQ(surfaces[1].mesh->getNumFaces(), 2);

    // The box stands on z = 0 around the z axis; the node moves it by 100 along x in the world.
    const std::vector<host::SheetSurface> boxOnly = [&] {
        std::vector<host::SheetSurface> s = host::SurfacesWearing(scene, *worn, 0);
        s.pop_back();
        return s;
    }();
    host::CoordinateBox object, world;
    for (const Point3& p : host::CornerPoints(boxOnly, host::PointSource::Object))
        object.Add(p);
    for (const Point3& p : host::CornerPoints(boxOnly, host::PointSource::World))
        world.Add(p);
    EXPECT_EQ(object.lo, Point3(-5.0f, -5.0f, 0.0f));
    EXPECT_EQ(object.hi, Point3(5.0f, 5.0f, 10.0f));
    EXPECT_EQ(world.lo, Point3(95.0f, -5.0f, 0.0f));
    EXPECT_EQ(world.hi, Point3(105.0f, 5.0f, 10.0f));
    EXPECT_EQ(host::CornerPoints(boxOnly, host::PointSource::Object).size(), 8u)
        << "shared corners count once";
    // Channel 99 as the shading contexts read it: the box has none, so its faces read (0, 0, 0).
    EXPECT_EQ(host::CornerPoints(surfaces, host::PointSource::MapChannel, 99),
              (std::vector<Point3>{Point3(-1.0f, 0.0f, 0.0f), Point3(-2.0f, 0.0f, 0.0f), Point3()}));
    EXPECT_EQ(host::CornerPoints(boxOnly, host::PointSource::MapChannel, 99), std::vector<Point3>{Point3()});
}

// The counts in the order of the keys: objects, object IDs, material IDs, elements and polygons per object,
// channel 99, tile numbers, instance values, input map.
auto Counts(const host::ModelKeys& k) {
    return std::make_tuple(k.objects, k.objectIds, k.materialIds, k.elementsPerObject, k.polygonsPerObject,
                           k.tileChannel, k.tileNumbers, k.instanceValues, k.inputMap);
}

TEST_F(SheetSurfaces, CountTheKeysOfTheModesThatGoByParts) {
    std::vector<host::SheetSurface> surfaces = host::SurfacesWearing(scene, *worn, 0);
    // Object IDs 0 and 7; material IDs the box's sides' 0 to 5 and the triangles' 3 and 5; the triangles two
    // elements, the box six polygons; tile numbers 1, 2 and the box's 0.
    EXPECT_EQ(Counts(host::CountModelKeys(surfaces)), std::make_tuple(2, 2, 6, 2, 6, true, 3, false, false));
    // The triangles alone; then with one material ID and one face.
    surfaces.erase(surfaces.begin());
    EXPECT_EQ(Counts(host::CountModelKeys(surfaces)), std::make_tuple(1, 1, 2, 2, 2, true, 2, false, false));
    surfaces[0].mesh->setFaceMtlIndex(1, 3);
    surfaces[0].mesh->faces.pop_back();
    EXPECT_EQ(Counts(host::CountModelKeys(surfaces)), std::make_tuple(1, 1, 1, 1, 1, true, 1, false, false));
}

} // namespace
