// Before a mental ray render in "Per Element" or "Per Face" the map numbers the geometry of the nodes that
// use it, in the render's copies of that geometry.
#include "change_listener.h"
#include "map_test_support.h"
#include "test_maps.h"
#include "test_meshes.h"

#include "hostsdk/std_mat.h"
#include "hostsdk/tri_object.h"
#include "plugin/param_ids.h"

#include <gtest/gtest.h>

namespace {

class MentalRayNumbering : public ::testing::Test {
protected:
    void SetUp() override {
        // The material keeps the map alive, the nodes the material: dropping both deletes them.
        map = NewMap().release();
        StdMat* material = NewDefaultStdMat();
        material->SetSubTexmap(ID_DI, map);
        meshObject = new TimeRecordingTriObject();
        AddBox(meshObject->GetMesh(), 0.0f, 77);
        meshNode.SetObjectRef(meshObject);
        meshNode.SetMtl(material);
        polyObject = new PolyObject();
        AddCube(polyObject->mm);
        polyNode.SetObjectRef(polyObject);
        polyNode.SetMtl(material);
        GetCOREInterface()->AssignCurRenderer(&mentalRay);
    }
    void TearDown() override {
        GetCOREInterface()->AssignCurRenderer(nullptr);
        meshNode.SetMtl(nullptr);
        polyNode.SetMtl(nullptr);
    }

    static Mesh& RenderMesh(TriObject& object, INode& node) {
        NullView view;
        BOOL needDelete = FALSE;
        return *object.GetRenderMesh(0, &node, view, needDelete);
    }
    Mesh& RenderMesh() { return RenderMesh(*meshObject, meshNode); }

    StubRenderer mentalRay{MENTAL_RAY_RENDERER_CLASS_ID};
    Chromasift* map = nullptr;
    TimeRecordingTriObject* meshObject = nullptr;
    PolyObject* polyObject = nullptr;
    TimeRecordingNode meshNode;
    INode polyNode;
};

TEST_F(MentalRayNumbering, NodesAreEvaluatedAtTheSliderAndTheirMeshesAskedForAtTimeZero) {
    map->pblock->SetValue(pb_mapping_old, 0, 9);
    const SliderAt slider;
    map->PrepareForRender();
    EXPECT_EQ(meshNode.evalTimes, std::vector<TimeValue>{kSliderTime});
    EXPECT_EQ(meshObject->renderMeshTimes, std::vector<TimeValue>{0});
}

// The numbering itself is the shade folder's; here only where it lands: the render's copies, not the stored
// mesh and polygons.
TEST_F(MentalRayNumbering, PerFaceNumbersTheRenderCopiesOnly) {
    map->pblock->SetValue(pb_mapping_old, 0, 12);
    meshObject->BeginRenderCopy();
    polyObject->BeginRenderCopy();
    map->PrepareForRender();
    EXPECT_EQ(RenderMesh().getFaceMtlIndex(11), 6);
    EXPECT_EQ(polyObject->RenderPolygons().f[5].material, 5);
    EXPECT_EQ(meshObject->GetMesh().getFaceMtlIndex(11), 77) << "the stored mesh keeps its IDs";
    EXPECT_EQ(polyObject->mm.f[5].material, 0);
    meshObject->EndRenderCopy();
    polyObject->EndRenderCopy();
    EXPECT_EQ(RenderMesh().getFaceMtlIndex(11), 77);
}

TEST_F(MentalRayNumbering, TheModeIsReadAtTimeZero) {
    // "Per Face" at time 0 numbers, whatever the slider and the render say ("Object (linear)").
    KeyThreeTimes(*map->pblock, pb_mapping_old, 12, 6, 6);
    const SliderAt slider;
    meshObject->BeginRenderCopy();
    map->PrepareForRender();
    EXPECT_EQ(RenderMesh().getFaceMtlIndex(2), 2);
    meshObject->EndRenderCopy();

    // "Object (linear)" at time 0 numbers nothing, though the slider and the render say "Per Face".
    KeyThreeTimes(*map->pblock, pb_mapping_old, 6, 12, 12);
    meshObject->BeginRenderCopy();
    map->PrepareForRender();
    EXPECT_EQ(RenderMesh().getFaceMtlIndex(2), 77);
    meshObject->EndRenderCopy();
}

TEST_F(MentalRayNumbering, EveryNumberedMeshAnnouncesItsChange) {
    // The second mesh is a single face of a box.
    auto* secondObject = new TriObject();
    AddBox(secondObject->GetMesh(), 0.0f, 5);
    secondObject->GetMesh().setNumFaces(1, TRUE);
    INode secondNode;
    secondNode.SetObjectRef(secondObject);
    secondNode.SetMtl(meshNode.GetMtl());
    ChangeListener listener(map);
    for (int mode : {9, 12}) {
        map->pblock->SetValue(pb_mapping_old, 0, mode);
        listener.changes = 0;
        meshObject->BeginRenderCopy();
        secondObject->BeginRenderCopy();
        map->PrepareForRender();
        EXPECT_EQ(listener.changes, 2) << "mode " << mode << ": two meshes numbered, two announcements";
        EXPECT_EQ(RenderMesh(*secondObject, secondNode).getFaceMtlIndex(0), mode == 9 ? 0 : 1)
            << "both meshes are numbered";
        EXPECT_EQ(RenderMesh().getFaceMtlIndex(11), mode == 9 ? 0 : 6);
        meshObject->EndRenderCopy();
        secondObject->EndRenderCopy();
    }
    // Polygon objects alone are numbered without an announcement.
    meshNode.SetObjectRef(nullptr);
    secondNode.SetObjectRef(nullptr);
    listener.changes = 0;
    map->PrepareForRender();
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(polyObject->RenderPolygons().f[5].material, 5);
    secondNode.SetMtl(nullptr);
}

TEST_F(MentalRayNumbering, OtherRenderersChangeNothing) {
    StubRenderer scanline{Class_ID(1, 0)};
    meshObject->BeginRenderCopy();
    map->pblock->SetValue(pb_mapping_old, 0, 12);
    GetCOREInterface()->AssignCurRenderer(&scanline);
    map->PrepareForRender();
    EXPECT_EQ(RenderMesh().getFaceMtlIndex(0), 77);
    meshObject->EndRenderCopy();
}

} // namespace
