#include "hostsdk/mesh.h"
#include "hostsdk/mesh_adjacency.h"
#include "hostsdk/mn_mesh.h"
#include "hostsdk/node.h"
#include "hostsdk/null_view.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tri_object.h"
#include "test_meshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

float Radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

// The threshold the map numbers polygons with: 45.9 degrees.
constexpr float kPolygonThreshold = 0.80110615f;

Mesh MakeMesh(const std::vector<Point3>& points, const std::vector<std::array<DWORD, 3>>& corners,
              DWORD edgeFlags = EDGE_ALL) {
    Mesh mesh;
    mesh.setNumVerts(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        mesh.setVert(static_cast<int>(i), points[i]);
    mesh.setNumFaces(static_cast<int>(corners.size()));
    for (std::size_t i = 0; i < corners.size(); ++i) {
        mesh.faces[i].setVerts(corners[i][0], corners[i][1], corners[i][2]);
        mesh.faces[i].flags = edgeFlags;
    }
    return mesh;
}

std::vector<int> SetFaces(const BitArray& set) {
    std::vector<int> faces;
    for (int i = 0; i < set.GetSize(); ++i)
        if (set[i])
            faces.push_back(i);
    return faces;
}

std::vector<int> Poly(Mesh& mesh, DWORD seed, float thresh, BOOL ignoreVisEdges) {
    BitArray set(mesh.getNumFaces());
    mesh.PolyFromFace(seed, set, thresh, ignoreVisEdges);
    return SetFaces(set);
}

// A polygon mesh of the points and faces given, each face a list of corners.
MNMesh MakeMNMesh(const std::vector<Point3>& points, const std::vector<std::vector<int>>& faces) {
    MNMesh mm;
    for (const Point3& p : points)
        mm.NewVert(p);
    for (const std::vector<int>& face : faces)
        mm.NewFace(-1, static_cast<int>(face.size()), face.data());
    return mm;
}

// `count` points along x, one unit apart, at height y.
std::vector<Point3> Row(int count, float y = 0.0f) {
    std::vector<Point3> points;
    for (int i = 0; i < count; ++i)
        points.emplace_back(static_cast<float>(i), y, 0.0f);
    return points;
}

// A unit quad split along its diagonal 0-2: the diagonal is edge 2 of face 0 and edge 0 of face 1.
Mesh Quad() {
    return MakeMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
}

// A strip of `segments` quads on a cylinder, each quad turned by stepDegrees from the one before; all
// edges invisible.
Mesh CurvedStrip(int segments, float stepDegrees) {
    std::vector<Point3> points;
    for (int k = 0; k <= segments; ++k) {
        const float a = Radians(stepDegrees * static_cast<float>(k));
        points.emplace_back(std::cos(a), std::sin(a), 0.0f);
        points.emplace_back(std::cos(a), std::sin(a), 1.0f);
    }
    std::vector<std::array<DWORD, 3>> corners;
    for (DWORD k = 0; k < static_cast<DWORD>(segments); ++k) {
        const DWORD a0 = 2 * k, b0 = 2 * k + 1, a1 = 2 * k + 2, b1 = 2 * k + 3;
        corners.push_back({a0, a1, b1});
        corners.push_back({a0, b1, b0});
    }
    return MakeMesh(points, corners, 0);
}

TEST(MeshPolygon, DiagonalVisibilityDecidesUnlessIgnored) {
    Mesh hidden = Quad();
    hidden.faces[0].setEdgeVis(2, EDGE_INVIS);
    hidden.faces[1].setEdgeVis(0, EDGE_INVIS);
    EXPECT_EQ(Poly(hidden, 0, kPolygonThreshold, FALSE), (std::vector<int>{0, 1}));
    EXPECT_EQ(Poly(hidden, 1, kPolygonThreshold, FALSE), (std::vector<int>{0, 1}));

    Mesh shown = Quad();
    EXPECT_EQ(Poly(shown, 0, kPolygonThreshold, FALSE), (std::vector<int>{0}));
    EXPECT_EQ(Poly(shown, 1, kPolygonThreshold, FALSE), (std::vector<int>{1}));
    EXPECT_EQ(Poly(shown, 0, kPolygonThreshold, TRUE), (std::vector<int>{0, 1}));

    // An edge one side shows is visible from both, so every seed finds the same polygon.
    Mesh halfShown = Quad();
    halfShown.faces[0].setEdgeVis(2, EDGE_INVIS);
    EXPECT_EQ(Poly(halfShown, 0, kPolygonThreshold, FALSE), (std::vector<int>{0}));
    EXPECT_EQ(Poly(halfShown, 1, kPolygonThreshold, FALSE), (std::vector<int>{1}));
}

TEST(MeshPolygon, FoldJoinsOnlyBelowThreshold) {
    // Two triangles on the edge 0-1 along x, the second lifted by 30 degrees about that edge.
    const float c = std::cos(Radians(30.0f)), s = std::sin(Radians(30.0f));
    Mesh fold = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0.5f, -1, 0}, {0.5f, c, s}}, {{0, 1, 2}, {1, 0, 3}});
    fold.faces[0].setEdgeVis(0, EDGE_INVIS);
    fold.faces[1].setEdgeVis(0, EDGE_INVIS);
    EXPECT_EQ(Poly(fold, 0, Radians(20.0f), FALSE).size(), 1u);
    EXPECT_EQ(Poly(fold, 0, Radians(40.0f), FALSE).size(), 2u);
    EXPECT_EQ(Poly(fold, 0, Radians(20.0f), TRUE).size(), 1u) << "ignoring visibility leaves the angle test";
    // A threshold meant in degrees would join any fold; in radians 0.5 (28.6 degrees) keeps a 30-degree fold.
    EXPECT_EQ(Poly(fold, 0, 0.5f, FALSE).size(), 1u);
}

TEST(MeshPolygon, CurvingStripChainsAcrossSmallSteps) {
    // Eight quads turning 10 degrees each: 70 degrees end to end, but no step reaches 15.
    Mesh strip = CurvedStrip(8, 10.0f);
    EXPECT_EQ(Poly(strip, 0, Radians(15.0f), FALSE).size(), 16u);
    EXPECT_EQ(Poly(strip, 9, Radians(15.0f), FALSE).size(), 16u);
    EXPECT_EQ(Poly(strip, 6, Radians(5.0f), FALSE), (std::vector<int>{6, 7})) << "each flat quad alone";
}

TEST(BitArray, BitsPastTheSizeStayClearSoThatAShrunkAndGrownSetCountsTrue) {
    BitArray all(70);
    all.SetAll();
    all.SetSize(65, 1);
    all.SetSize(70, 1);
    EXPECT_EQ(all.NumberSet(), 65);
}

TEST(MeshAdjacency, OddTopologyIsHandled) {
    // Three fins on the edge 0-1: the edge records the first two faces, the third is left unlinked.
    Mesh fins = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0.5f, 1, 0}, {0.5f, -1, 0}, {0.5f, 0, 1}},
                         {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}, 0);
    AdjEdgeList edges(fins);
    const int shared = edges.FindEdge(1, 0);
    ASSERT_GE(shared, 0);
    const MEdge& edge = edges.edges[static_cast<std::size_t>(shared)];
    EXPECT_EQ((std::array{edge.f[0], edge.f[1]}), (std::array<DWORD, 2>{0, 1}));
    // Vertex 1 is on the shared edge, face 0's edge to 2, face 1's to 3 and face 2's to 4, in that order.
    EXPECT_EQ(edges.list[1].Count(), 4);
    EXPECT_EQ(edges.FindEdge(4, 1), static_cast<int>(edges.list[1][3]));
    AdjFaceList faces(fins, edges);
    // Across edge 0 of each face, then across face 0's open edge 1.
    EXPECT_EQ((std::array{faces[0].f[0], faces[1].f[0], faces[2].f[0], faces[0].f[1]}),
              (std::array<DWORD, 4>{1, 0, UNDEFINED, UNDEFINED}));
    FaceElementList elements(fins, faces);
    EXPECT_EQ(elements.count, 2u);
    EXPECT_EQ(Poly(fins, 2, 4.0f, TRUE), (std::vector<int>{2}));

    // Corners beyond the vertex list, a repeated corner and a face without area.
    Mesh broken =
        MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1, 99}, {1, 1, 2}, {0, 2, 0}}, 0);
    AdjEdgeList brokenEdges(broken);
    AdjFaceList brokenFaces(broken, brokenEdges);
    FaceElementList brokenElements(broken, brokenFaces);
    EXPECT_EQ(brokenElements.elem.Count(), 4);
    EXPECT_EQ(Poly(broken, 0, 4.0f, TRUE), (std::vector<int>{0}))
        << "faces without a normal are never joined";
    EXPECT_EQ(broken.FaceNormal(1, TRUE), Point3());

    Mesh empty;
    AdjEdgeList emptyEdges(empty);
    AdjFaceList emptyFaces(empty, emptyEdges);
    FaceElementList emptyElements(empty, emptyFaces);
    EXPECT_EQ(emptyElements.count, 0u);
    EXPECT_EQ(emptyElements.elem.Count(), 0);
}

TEST(FaceElementList, NumbersElementsInFaceOrder) {
    MNMesh cubes;
    AddCube(cubes, Point3(0, 0, 0));
    AddCube(cubes, Point3(3, 0, 0));
    Mesh mesh;
    cubes.OutToTri(mesh);
    ASSERT_EQ(mesh.getNumFaces(), 24);
    // The second cube's last triangle comes first, so that cube is element 0.
    std::rotate(mesh.faces.begin(), mesh.faces.end() - 1, mesh.faces.end());
    AdjEdgeList edges(mesh);
    AdjFaceList faces(mesh, edges);
    FaceElementList elements(mesh, faces);
    EXPECT_EQ(elements.count, 2u);
    ASSERT_EQ(elements.elem.Count(), 24);
    for (int f = 0; f < 24; ++f)
        EXPECT_EQ(elements[f], f >= 1 && f <= 12 ? 1u : 0u) << "face " << f;
}

TEST(MNMesh, ElementsJoinAtEdgesNotCorners) {
    // The second face shares the edge 1-2 with the first, in the opposite direction; the third touches the
    // second only at corner 5; the fourth touches the first at 0 and the third at 6, never along an edge.
    MNMesh mm = MakeMNMesh(Row(9), {{0, 1, 2, 3}, {1, 4, 5, 2}, {5, 6, 7}, {0, 8, 6}});
    BitArray set(mm.numf);
    mm.ElementFromFace(0, set);
    EXPECT_EQ(SetFaces(set), (std::vector<int>{0, 1}));

    // A new face over a fresh edge must be seen: adding faces drops the cached adjacency.
    const int e[3] = {5, 7, 4};
    mm.NewFace(-1, 3, e);
    BitArray grown(mm.numf);
    mm.ElementFromFace(2, grown);
    EXPECT_EQ(SetFaces(grown), (std::vector<int>{0, 1, 2, 4}));

    // Three polygons on one edge form one element.
    MNMesh fins = MakeMNMesh(Row(5, 1.0f), {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}});
    BitArray finSet(fins.numf);
    fins.ElementFromFace(2, finSet);
    EXPECT_EQ(finSet.NumberSet(), 3);
}

TEST(MNFace, CornersBeyondFourSpillAndSurviveResizeCopyAndMove) {
    MNFace face;
    const int six[] = {9, 8, 7, 6, 5, 4};
    face.MakePoly(3, six);
    face.SetDeg(6); // grows past the corners held in place: the first three are kept
    EXPECT_EQ(face.vtx, (PolygonCorners{9, 8, 7, -1, -1, -1}));
    face.MakePoly(6, six);
    face.vtx.resize(7, 1);
    EXPECT_EQ(face.vtx, (PolygonCorners{9, 8, 7, 6, 5, 4, 1}));
    // A quad's corners live in the face itself: building a mesh of quads allocates nothing per face.
    MNFace quad;
    quad.MakePoly(4, six);
    const auto* inside = reinterpret_cast<const char*>(&quad.vtx);
    const auto* corners = reinterpret_cast<const char*>(quad.vtx.data());
    EXPECT_TRUE(corners >= inside && corners < inside + sizeof quad.vtx);
    MNFace copy = face;
    copy.vtx[0] = 0;
    EXPECT_EQ(face.vtx[0], 9) << "a copy's corners are its own";
    MNFace moved = std::move(copy);
    EXPECT_EQ(moved.vtx, (PolygonCorners{0, 8, 7, 6, 5, 4, 1}));
    EXPECT_TRUE(copy.vtx.empty()) << "a moved-from face is left without corners";
    // Shrinking back to a quad keeps exactly its corners.
    face.SetDeg(4);
    EXPECT_EQ(face.vtx, (PolygonCorners{9, 8, 7, 6}));
}

TEST(MNMesh, TriangulatesWithHiddenFanEdges) {
    std::vector<Point3> corners;
    for (int i = 0; i < 5; ++i)
        corners.emplace_back(std::cos(Radians(72.0f * static_cast<float>(i))),
                             std::sin(Radians(72.0f * static_cast<float>(i))), 0.0f);
    MNMesh mm = MakeMNMesh(corners, {{0, 1, 2, 3, 4}, {0, 1}});
    mm.f[0].material = 7;
    const int bad[3] = {0, 1, 5}; // the mesh has vertices 0 to 4
    mm.NewFace(0, 3, bad);
    EXPECT_EQ(mm.f[2].material, 7) << "a new face copies its initial face's material";
    Mesh mesh;
    mm.OutToTri(mesh);
    ASSERT_EQ(mesh.getNumFaces(), 3)
        << "faces of fewer than three corners or with unknown corners are dropped";
    for (const Face& face : mesh.faces)
        EXPECT_EQ(face.getMatID(), 7);
    EXPECT_TRUE(mesh.faces[0].getEdgeVis(0) && mesh.faces[0].getEdgeVis(1) && !mesh.faces[0].getEdgeVis(2));
    EXPECT_TRUE(!mesh.faces[1].getEdgeVis(0) && mesh.faces[1].getEdgeVis(1) && !mesh.faces[1].getEdgeVis(2));
    EXPECT_TRUE(!mesh.faces[2].getEdgeVis(0) && mesh.faces[2].getEdgeVis(1) && mesh.faces[2].getEdgeVis(2));
    EXPECT_EQ(Poly(mesh, 1, kPolygonThreshold, FALSE), (std::vector<int>{0, 1, 2}));

    MNMesh copy = mm;
    copy.f[0].material = 1;
    EXPECT_EQ(mm.f[0].material, 7) << "a copy has storage of its own";
    EXPECT_EQ(copy.numf, 3);
}

TEST(Mesh, MaterialIDsAndMapChannels) {
    Mesh mesh = Quad();
    mesh.faces[0].setEdgeVis(1, EDGE_INVIS);
    mesh.setFaceMtlIndex(0, 0xFFFF);
    mesh.setFaceMtlIndex(1, 3);
    EXPECT_EQ(mesh.getFaceMtlIndex(0), 0xFFFF);
    EXPECT_EQ(mesh.getFaceMtlIndex(1), 3);
    EXPECT_EQ(mesh.faces[0].flags & EDGE_ALL, EDGE_A | EDGE_C)
        << "the material ID leaves the edge bits alone";
    mesh.faces[0].setEdgeVisFlags(EDGE_VIS, EDGE_VIS, EDGE_VIS);
    EXPECT_EQ(mesh.getFaceMtlIndex(0), 0xFFFF) << "edge bits leave the material ID alone";

    EXPECT_FALSE(mesh.mapSupport(99));
    EXPECT_EQ(mesh.getNumMapVerts(99), 0);
    mesh.setMapSupport(99);
    mesh.setNumMapVerts(99, 1);
    mesh.setMapVert(99, 0, UVVert(-6.0f, 0, 0));
    mesh.mapFaces(99)[1].setTVerts(0, 0, 0);
    EXPECT_EQ(mesh.Map(99).getNumFaces(), 2);
    mesh.setNumFaces(3, TRUE);
    EXPECT_EQ(mesh.Map(99).getNumFaces(), 3) << "map faces follow the face count";
    EXPECT_EQ(mesh.getFaceMtlIndex(1), 3) << "kept faces keep their IDs";
    EXPECT_FALSE(mesh.mapSupport(1));
    EXPECT_THROW(mesh.Map(100), std::out_of_range);

    // Topology and material IDs only: the faces come along, the vertices and channels do not.
    Mesh copy;
    copy.DeepCopy(&mesh, TOPO_CHANNEL | MTL_CHANNEL);
    EXPECT_EQ(copy.getNumFaces(), 3);
    EXPECT_EQ(copy.getFaceMtlIndex(1), 3);
    EXPECT_EQ(copy.getNumVerts(), 0);
    EXPECT_FALSE(copy.mapSupport(99));
    copy.setFaceMtlIndex(1, 4);
    EXPECT_EQ(mesh.getFaceMtlIndex(1), 3);
}

// A map with one sub-map reference, enough to nest maps.
class TestMap : public Texmap {
public:
    ~TestMap() override { DeleteAllRefs(); }
    Class_ID ClassID() override { return Class_ID(0x1234, 0x5678); }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int) override { return subMap; }
    void SetReference(int, RefTargetHandle target) override { subMap = target; }
    AColor EvalColor(ShadeContext&) override { return AColor(1, 0, 0); }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    RefTargetHandle subMap = nullptr;
};

// The nodes that answer the node-collection message sent from `map`, in any order, duplicates kept.
std::multiset<INode*> NodesUsing(ReferenceTarget* map) {
    INodeTab nodes;
    map->NotifyDependents(FOREVER, reinterpret_cast<PartID>(&nodes), REFMSG_MTLXREF_GETNODES);
    return std::multiset<INode*>(nodes.begin(), nodes.end());
}

using Nodes = std::multiset<INode*>;

TEST(NodeCollection, MapListsEachNodeUsingItOnce) {
    auto* map = new TestMap();
    auto* outer = new TestMap();
    outer->ReplaceReference(0, map);
    StdMat* first = NewDefaultStdMat();
    StdMat* second = NewDefaultStdMat();
    StdMat* unrelated = NewDefaultStdMat();
    first->SetSubTexmap(ID_DI, map);
    second->SetSubTexmap(ID_DI, map);
    second->SetSubTexmap(ID_AM, outer);
    EXPECT_EQ(first->GetSubTexmap(ID_DI), map);

    INode a, b, c, bare;
    a.SetMtl(first);
    b.SetMtl(second);
    c.SetMtl(unrelated);
    EXPECT_EQ(NodesUsing(map), (Nodes{&a, &b}))
        << "b reaches the map directly and through another map, and is listed once";

    auto* d = new INode();
    d->SetMtl(first);
    EXPECT_EQ(NodesUsing(map), (Nodes{&a, &b, d}));
    // Deleting a node removes it from its material's dependents.
    d->DeleteThis();
    EXPECT_EQ(NodesUsing(map), (Nodes{&a, &b}));

    // Any other message leaves the table alone.
    INodeTab untouched;
    map->NotifyDependents(FOREVER, reinterpret_cast<PartID>(&untouched), REFMSG_CHANGE);
    EXPECT_EQ(untouched.Count(), 0);

    // Material swaps move nodes; the material a node leaves is deleted once no node uses it.
    a.SetMtl(unrelated);
    c.SetMtl(second);
    EXPECT_EQ(NodesUsing(map), (Nodes{&b, &c}));
    EXPECT_EQ(NodesUsing(outer), (Nodes{&b, &c}));
}

// A triangle object lends its own mesh; a polygon object makes one the caller deletes, its quads' halves
// joined by hidden diagonals.
TEST(Objects, NodesEvaluateToObjectsThatGiveRenderMeshes) {
    INode node;
    TriObject* tri = CreateNewTriObject();
    tri->mesh = Quad();
    node.SetObjectRef(tri);
    ASSERT_EQ(node.EvalWorldState(0).obj, tri);
    NullView view;
    BOOL needDelete = TRUE;
    EXPECT_EQ(static_cast<GeomObject*>(tri)->GetRenderMesh(0, &node, view, needDelete), &tri->mesh);
    EXPECT_FALSE(needDelete);
    node.Hide(TRUE);
    EXPECT_EQ(node.EvalWorldState(0).obj, tri) << "hidden nodes are evaluated by default";
    EXPECT_EQ(node.EvalWorldState(0, FALSE).obj, nullptr);

    auto* poly = new PolyObject();
    AddCube(poly->mm, Point3(0, 0, 0));
    node.SetObjectRef(poly);
    Mesh* triangles = poly->GetRenderMesh(0, &node, view, needDelete);
    ASSERT_NE(triangles, nullptr);
    EXPECT_TRUE(needDelete);
    EXPECT_EQ(Poly(*triangles, 0, kPolygonThreshold, FALSE), (std::vector<int>{0, 1}));
    EXPECT_EQ(Poly(*triangles, 0, Radians(100.0f), FALSE), (std::vector<int>{0, 1}))
        << "visible cube edges stop any threshold";
    delete triangles;
}

// A polygon mesh whose map channel 1 holds the map vertices and faces given.
MNMesh Mapped(MNMesh poly, const std::vector<UVVert>& mapVerts,
              const std::vector<std::vector<int>>& mapFaces) {
    poly.SetMapNum(2);
    MNMap& map = *poly.M(1);
    map.v = mapVerts;
    map.f.resize(mapFaces.size());
    for (std::size_t i = 0; i < mapFaces.size(); ++i)
        map.f[i].MakePoly(static_cast<int>(mapFaces[i].size()), mapFaces[i].data());
    return poly;
}

// The corners of every map face of the channel.
std::vector<std::vector<DWORD>> MapCorners(Mesh& mesh, int channel) {
    std::vector<std::vector<DWORD>> corners;
    for (int i = 0; i < mesh.getNumFaces(); ++i)
        corners.emplace_back(mesh.mapFaces(channel)[i].t, mesh.mapFaces(channel)[i].t + 3);
    return corners;
}

TEST(MNMeshMaps, TriangulationFansMapCornersLikeTheFaceCorners) {
    // The quad's map corners are deliberately not its vertex numbers.
    const MNMesh poly =
        Mapped(MakeMNMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}}, {{0, 1, 2, 3}, {1, 4, 2}}),
               {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 1, 0}, {0, 1, 0}, {1, 0, 0}}, {{3, 2, 1, 0}, {1, 4, 2}});
    Mesh mesh;
    poly.OutToTri(mesh);
    ASSERT_EQ(mesh.getNumFaces(), 3);
    EXPECT_FALSE(mesh.mapSupport(0)) << "channel 0 has no faces";
    ASSERT_TRUE(mesh.mapSupport(1));
    ASSERT_EQ(mesh.getNumMapVerts(1), 5);
    EXPECT_EQ(MapCorners(mesh, 1), (std::vector<std::vector<DWORD>>{{3, 2, 1}, {3, 1, 0}, {1, 4, 2}}));

    MNMesh copy = poly;
    ASSERT_EQ(copy.MNum(), 2);
    EXPECT_EQ(copy.M(1)->f[0].tv, (PolygonCorners{3, 2, 1, 0})) << "copies keep their maps";
    EXPECT_EQ(copy.M(2), nullptr);
}

TEST(MNMeshMaps, DroppedFacesTakeTheirMapFacesAlong) {
    // A face of two corners and one with an unknown corner before the quad.
    const MNMesh poly = Mapped(
        MakeMNMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1}, {0, 1, 9}, {0, 1, 2, 3}}),
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 0}}, {{4, 4}, {4, 4, 4}, {1, 2, 3, 0}});
    Mesh mesh;
    poly.OutToTri(mesh);
    ASSERT_EQ(mesh.getNumFaces(), 2) << "only the quad is fanned";
    ASSERT_TRUE(mesh.mapSupport(1));
    EXPECT_EQ(MapCorners(mesh, 1), (std::vector<std::vector<DWORD>>{{1, 2, 3}, {1, 3, 0}}));
}

} // namespace
