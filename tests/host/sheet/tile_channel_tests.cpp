// Tile numbers written into the objects a contact sheet renders: one number at every corner of a face (of
// each polygon of a polygon mesh), and every object's map channels as they were once the numbers go.
#include "host/sheet/tile_channel.h"

#include "../render_test_support.h"

#include "host/scene/primitive_objects.h"

#include "shade/mode_index.h"

#include "hostsdk/null_view.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Two small triangles in opposite corners of the polygon box's bounds: one on its lid at (5, 5), one on its
// floor at (-5, -5).
TriObject* NewCornerTriangles() {
    TriObject* object = CreateNewTriObject();
    Mesh& mesh = object->GetMesh();
    mesh.setNumVerts(6);
    const Point3 corners[] = {{5, 5, 10}, {4, 5, 10}, {5, 4, 10}, {-5, -5, 0}, {-4, -5, 0}, {-5, -4, 0}};
    for (int i = 0; i < 6; ++i)
        mesh.setVert(i, corners[i]);
    mesh.setNumFaces(2);
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.faces[1].setVerts(3, 4, 5);
    return object;
}

// The tile number at each corner of each face of the mesh's channel 99, as the shading contexts read it.
std::vector<std::vector<std::int32_t>> CornerTiles(Mesh& mesh) {
    std::vector<std::vector<std::int32_t>> tiles;
    if (!mesh.mapSupport(99))
        return tiles;
    const MeshMap& map = mesh.Map(99);
    for (const TVFace& face : map.tf) {
        std::vector<std::int32_t>& corners = tiles.emplace_back();
        for (DWORD t : face.t)
            corners.push_back(t < map.tv.size() ? mode_index::BerconTileKey(map.tv[t].x) : -1);
    }
    return tiles;
}

class FittedTiles : public ::testing::Test {
protected:
    FittedTiles() {
        map = new render_test::ProbeMap([](ShadeContext&) { return AColor(); });
        Mtl* material = render_test::MaterialWith(map);
        const float size[] = {10.0f, 10.0f, 10.0f};
        box = static_cast<PolyObject*>(
            host::CreatePrimitive(*host::FindPrimitiveType(std::string("polybox")), size));
        triangles = NewCornerTriangles();
        render_test::AddNode(scene, box, material, Point3(100.0f, 0.0f, 0.0f));
        render_test::AddNode(scene, triangles, material, Point3());
        // The triangles a second time, as an instance of the same object.
        render_test::AddNode(scene, triangles, material, Point3(0.0f, 50.0f, 0.0f));
    }

    // The box's triangles as a render gets them.
    Mesh BoxRenderMesh() {
        NullView view;
        BOOL needDelete = FALSE;
        Mesh* mesh = box->GetRenderMesh(0, nullptr, view, needDelete);
        Mesh copy = *mesh;
        if (needDelete)
            delete mesh;
        return copy;
    }

    host::SceneRoot scene;
    render_test::ProbeMap* map = nullptr;
    PolyObject* box = nullptr;
    TriObject* triangles = nullptr;
};

TEST_F(FittedTiles, NumberEveryCornerOfAFaceByTheTileOfItsCentre) {
    ASSERT_EQ(host::kTileGridSide, 6) << "the numbers below are those of a grid of 6 x 6";
    const host::FittedTileChannel channel(host::SurfacesWearing(scene, *map, 0));
    // The grid lies over x and y of all the object points, -5 to 5 each: the triangles' centres fall in the
    // last and the first tile.
    EXPECT_EQ(CornerTiles(triangles->GetMesh()),
              (std::vector<std::vector<std::int32_t>>{{35, 35, 35}, {0, 0, 0}}));
    // The box's floor and lid lie over the middle (tile 14, just short of the grid's half); its sides at
    // the first and last column and row of the middle.
    Mesh rendered = BoxRenderMesh();
    const std::vector<std::vector<std::int32_t>> boxTiles = CornerTiles(rendered);
    ASSERT_EQ(boxTiles.size(), 12u);
    std::multiset<std::int32_t> numbers;
    for (std::size_t f = 0; f < boxTiles.size(); ++f) {
        EXPECT_EQ(boxTiles[f], std::vector<std::int32_t>(3, boxTiles[f][0])) << "triangle " << f;
        if (f % 2 == 1) {
            EXPECT_EQ(boxTiles[f][0], boxTiles[f - 1][0]) << "the two triangles of polygon " << f / 2;
        }
        numbers.insert(boxTiles[f][0]);
    }
    EXPECT_EQ(numbers, (std::multiset<std::int32_t>{2, 2, 12, 12, 14, 14, 14, 14, 17, 17, 32, 32}));
    EXPECT_EQ(channel.TileCount(), 7);
}

TEST_F(FittedTiles, GiveTheObjectsTheirChannelsBack) {
    const int triangleMaps = triangles->GetMesh().getNumMaps();
    const int boxMaps = box->GetMesh().MNum();
    ASSERT_LE(triangleMaps, 99);
    ASSERT_LE(boxMaps, 99);
    {
        const host::FittedTileChannel channel(host::SurfacesWearing(scene, *map, 0));
        EXPECT_TRUE(triangles->GetMesh().mapSupport(99));
        EXPECT_TRUE(BoxRenderMesh().mapSupport(99));
    }
    EXPECT_FALSE(triangles->GetMesh().mapSupport(99)) << "the object worn twice is written once";
    EXPECT_EQ(triangles->GetMesh().getNumMaps(), triangleMaps);
    EXPECT_EQ(box->GetMesh().MNum(), boxMaps);
    EXPECT_FALSE(BoxRenderMesh().mapSupport(99));

    // Meshes whose last map channel is channel 98.
    triangles->GetMesh().setNumMaps(99, TRUE);
    box->GetMesh().SetMapNum(99);
    {
        const host::FittedTileChannel channel(host::SurfacesWearing(scene, *map, 0));
        EXPECT_TRUE(triangles->GetMesh().mapSupport(99));
        EXPECT_TRUE(BoxRenderMesh().mapSupport(99));
    }
    EXPECT_EQ(triangles->GetMesh().getNumMaps(), 99);
    EXPECT_EQ(box->GetMesh().MNum(), 99);

    // A channel 99 that a polygon mesh holds but does not use (no map face per polygon) comes back whole.
    box->GetMesh().SetMapNum(100);
    box->GetMesh().M(99)->v.assign(3, Point3(-7.5f, 0.0f, 0.0f));
    {
        const host::FittedTileChannel channel(host::SurfacesWearing(scene, *map, 0));
        EXPECT_EQ(box->GetMesh().M(99)->FNum(), 6);
    }
    ASSERT_EQ(box->GetMesh().MNum(), 100);
    EXPECT_EQ(box->GetMesh().M(99)->v, std::vector<UVVert>(3, Point3(-7.5f, 0.0f, 0.0f)));
    EXPECT_EQ(box->GetMesh().M(99)->FNum(), 0);
}

TEST(FaceCentres, AreTheMeansOfTheCornersThatExist) {
    Mesh mesh;
    mesh.setNumVerts(3);
    mesh.setVert(0, Point3(0.0f, 0.0f, 0.0f));
    mesh.setVert(1, Point3(3.0f, 0.0f, 6.0f));
    mesh.setVert(2, Point3(0.0f, 3.0f, 0.0f));
    mesh.setNumFaces(3);
    mesh.faces[0].setVerts(0, 1, 2);
    mesh.faces[1].setVerts(0, 1, 3);
    mesh.faces[2].setVerts(7, 8, 9);
    EXPECT_EQ(host::FaceCentres(mesh),
              (std::vector<Point3>{Point3(1.0f, 1.0f, 2.0f), Point3(1.5f, 0.0f, 3.0f), Point3()}));

    MNMesh polygons;
    for (const Point3& p : {Point3(0, 0, 0), Point3(4, 0, 0), Point3(4, 4, 0), Point3(0, 4, 8)})
        polygons.NewVert(p);
    const int quad[] = {0, 1, 2, 3}, broken[] = {1, 2, 4};
    polygons.NewFace(-1, 4, quad);
    polygons.NewFace(-1, 3, broken);
    polygons.NewFace(-1, 0, nullptr);
    EXPECT_EQ(host::FaceCentres(polygons),
              (std::vector<Point3>{Point3(2.0f, 2.0f, 2.0f), Point3(4.0f, 2.0f, 0.0f), Point3()}));
}

} // namespace
