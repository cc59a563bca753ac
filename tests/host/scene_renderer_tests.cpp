#include "host/render/scene_renderer.h"

#include "render_test_support.h"

#include "host/render/rasteriser.h"
#include "host/scene/primitive_meshes.h"
#include "host/scene/primitive_objects.h"

#include "hostsdk/node.h"
#include "hostsdk/notify.h"
#include "hostsdk/render_context.h"
#include "hostsdk/tri_object.h"
#include "hostsdk/vray.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using render_test::AddNode;
using render_test::CameraAt;
using render_test::MaterialWith;
using render_test::NewBox;
using render_test::ProbeMap;
using render_test::RenderUnlit;
using render_test::Settings;

// The covered pixels' colours in the order one render thread shades them: tile by tile, row by row.
std::vector<AColor> InShadingOrder(const host::FrameBuffer& frame) {
    std::vector<AColor> colours;
    const int tile = host::Rasteriser::kTileSize;
    for (int ty = 0; ty < frame.height; ty += tile)
        for (int tx = 0; tx < frame.width; tx += tile)
            for (int y = ty; y < std::min(ty + tile, frame.height); ++y)
                for (int x = tx; x < std::min(tx + tile, frame.width); ++x)
                    if (frame.nodeID[frame.Index(x, y)] >= 0)
                        colours.push_back(frame.colour[frame.Index(x, y)]);
    return colours;
}

// Calls `check` for every covered pixel with its colour, node number and face.
template <class F> void ForEachCovered(const host::FrameBuffer& frame, F check) {
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const std::size_t i = frame.Index(x, y);
            if (frame.nodeID[i] >= 0)
                check(x, y, frame.colour[i], frame.nodeID[i], frame.face[i]);
        }
}

// Both renderers number the rendered nodes in scene order; V-Ray's contexts carry its class ID and number
// the instances from 1 in render order, scanline contexts are no V-Ray contexts.
TEST(SceneRenderer, NumbersRenderedNodesInSceneOrder) {
    host::SceneRoot scene;
    auto* probe = new ProbeMap([](ShadeContext& sc) {
        auto* vray = dynamic_cast<VUtils::VRayInterface*>(&sc);
        int instance = -1;
        if (vray != nullptr && !vray->GetHitInstanceNumber(instance))
            instance = -2;
        return AColor(static_cast<float>(sc.NodeID()), static_cast<float>(sc.Node()->GetGBufID()),
                      static_cast<float>(instance),
                      sc.ClassID() == VRAY_SHADE_CONTEXT_CLASS_ID ? 1.0f : 0.0f);
    });
    StdMat* material = MaterialWith(probe);
    std::vector<INode*> nodes;
    for (int i = 0; i < 4; ++i) {
        nodes.push_back(AddNode(scene, NewBox(20.0f), material,
                                Point3(-60.0f + 40.0f * static_cast<float>(i), 0.0f, 0.0f)));
        nodes.back()->SetGBufID(static_cast<ULONG>(11 + i));
    }
    nodes[1]->Hide(TRUE);
    scene.SetCamera(CameraAt(Point3(0, -260, 60), Point3(0, 0, 10)));
    for (const host::RendererKind renderer : {host::RendererKind::Scanline, host::RendererKind::VRay}) {
        const bool vray = renderer == host::RendererKind::VRay;
        const host::FrameBuffer frame = RenderUnlit(scene, 160, 80, 2, renderer);
        // The hidden second node gets no number: the others are 0, 1 and 2, left to right.
        const float gbufOf[] = {11.0f, 13.0f, 14.0f};
        std::set<int> seen;
        int leftmost[] = {frame.width, frame.width, frame.width}, rightmost[] = {-1, -1, -1};
        ForEachCovered(frame, [&](int x, int, const AColor& c, int node, int) {
            ASSERT_GE(node, 0);
            ASSERT_LT(node, 3);
            seen.insert(node);
            // The context's NodeID is the frame's node number, its Node the numbered node; the instance
            // number and V-Ray's class ID follow.
            EXPECT_EQ(c, AColor(static_cast<float>(node), gbufOf[node],
                                vray ? static_cast<float>(node + 1) : -1.0f, vray ? 1.0f : 0.0f));
            leftmost[node] = std::min(leftmost[node], x);
            rightmost[node] = std::max(rightmost[node], x);
        });
        EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
        EXPECT_LT(rightmost[0], leftmost[1]);
        EXPECT_LT(rightmost[1], leftmost[2]);
        for (INode* node : nodes)
            EXPECT_EQ(node->GetRenderID(), 0xffff) << "render numbers are taken back after the render";
    }
}

TEST(SceneRenderer, ContextsCarryFaceNumbersAndMaterialIds) {
    host::SceneRoot scene;
    auto* probe = new ProbeMap([](ShadeContext& sc) {
        return AColor(static_cast<float>(sc.FaceNumber()), static_cast<float>(sc.mtlNum), 0.0f);
    });
    StdMat* material = MaterialWith(probe);
    AddNode(scene, NewBox(30.0f), material, Point3(-25, 0, 0));
    // The polygon box renders through a mesh the object hands over: its triangles keep their polygon's ID.
    AddNode(scene, host::CreatePrimitive(*host::FindPrimitiveType(std::string("polybox"))), material,
            Point3(25, 0, 0));
    scene.SetCamera(CameraAt(Point3(-80, -140, 110), Point3(0, 0, 15)));
    const host::FrameBuffer frame = RenderUnlit(scene, 200, 120);

    std::set<int> faces[2], sides[2];
    ForEachCovered(frame, [&](int, int, const AColor& c, int node, int face) {
        EXPECT_EQ(c.r, static_cast<float>(face)) << "the context's FaceNumber is the frame's face";
        // Faces 2k and 2k + 1 make side k, whose material ID is k.
        EXPECT_EQ(c.g, static_cast<float>(face / 2)) << "mtlNum is the face's material ID";
        faces[node].insert(face);
        sides[node].insert(face / 2);
    });
    for (int node = 0; node < 2; ++node) {
        EXPECT_EQ(faces[node].size(), 6u) << "node " << node << ": three sides of two triangles in view";
        EXPECT_EQ(sides[node], (std::set<int>{host::kBoxTop, host::kBoxFront, host::kBoxLeft}))
            << "node " << node;
    }
}

TEST(SceneRenderer, InterpolatesMapChannelsAndObjectPoints) {
    // A 100 x 100 plane seen square-on from 100 units with a 90 degree field of view: on a 64 x 64 picture it
    // covers pixels 16 to 47, and texture coordinates are linear in pixel position.
    auto* plane = CreateNewTriObject();
    host::BuildPlaneMesh(plane->GetMesh(), 100.0f, 100.0f, 2, 2);
    Mesh& mesh = plane->GetMesh();
    mesh.setMapSupport(99, TRUE);
    mesh.Map(99).tv = mesh.Map(1).tv;
    for (UVVert& uv : mesh.Map(99).tv)
        uv = UVVert(-10.0f * uv.x, 0.0f, 0.0f);
    mesh.Map(99).tf = mesh.Map(1).tf;

    std::atomic<int> wrongPoints{0};
    auto* probe = new ProbeMap([&](ShadeContext& sc) {
        const Point3 uv = sc.UVW(1);
        const Point3 p = sc.PObj();
        if (std::abs(p.z) > 1e-4f || std::abs(p.x / 100.0f + 0.5f - uv.x) > 1e-4f || !(sc.UVW(5) == Point3()))
            ++wrongPoints;
        return AColor(uv.x, uv.y, sc.UVW(99).x, uv.z);
    });
    host::SceneRoot scene;
    AddNode(scene, plane, MaterialWith(probe), Point3(0, 0, 0));
    scene.SetCamera(host::SceneCamera{Point3(0, 0, 100), Point3(0, 0, 0), Point3(0, 1, 0), 90.0f});
    const host::FrameBuffer frame = RenderUnlit(scene, 64, 64);

    int covered = 0;
    ForEachCovered(frame, [&](int x, int y, const AColor& c, int, int) {
        ++covered;
        const float u = (static_cast<float>(x) + 0.5f - 32.0f) / 32.0f + 0.5f;
        const float v = 0.5f - (static_cast<float>(y) + 0.5f - 32.0f) / 32.0f;
        EXPECT_NEAR(c.r, u, 1e-4f) << "pixel " << x << ", " << y;
        EXPECT_NEAR(c.g, v, 1e-4f) << "pixel " << x << ", " << y;
        EXPECT_NEAR(c.b, -10.0f * u, 1e-3f) << "channel 99 at " << x << ", " << y;
        EXPECT_EQ(c.a, 0.0f);
    });
    EXPECT_EQ(covered, 32 * 32);
    EXPECT_EQ(wrongPoints, 0);

    // Lit, the face turned to the eye keeps its colour in the middle and darkens towards the corners.
    probe->colour = [](ShadeContext&) { return AColor(1.0f, 1.0f, 1.0f); };
    const host::FrameBuffer lit = host::RenderScene(scene, Settings(64, 64));
    EXPECT_NEAR(lit.colour[lit.Index(32, 32)].r, 1.0f, 1e-3f);
    EXPECT_LT(lit.colour[lit.Index(16, 16)].r, 0.95f);
    EXPECT_EQ(lit.colour[lit.Index(16, 16)].a, 1.0f);
}

struct Events {
    std::mutex lock;
    std::vector<std::string> list;
    Class_ID renderer;
    int instancesAtFrameStart = -1;
    void Add(const std::string& e) {
        const std::lock_guard<std::mutex> guard(lock);
        if (list.empty() || list.back() != e)
            list.push_back(e);
    }
};

void OnPreRender(void* param, NotifyInfo*) {
    auto* events = static_cast<Events*>(param);
    events->Add("pre-render");
    Renderer* renderer = GetCOREInterface()->GetCurrentRenderer();
    events->renderer = renderer == nullptr ? Class_ID() : renderer->ClassID();
}
void OnPreFrame(void* param, NotifyInfo* info) {
    static_cast<Events*>(param)->Add("pre-frame");
    static_cast<Events*>(param)->instancesAtFrameStart =
        static_cast<RenderGlobalContext*>(info->callParam)->NumRenderInstances();
}
void OnPostRender(void* param, NotifyInfo*) {
    static_cast<Events*>(param)->Add("post-render");
}

TEST(SceneRenderer, SendsThePreRenderNotificationOnceAJobBeforeAnything) {
    Events events;
    const std::pair<NOTIFYPROC, int> handlers[] = {{OnPreRender, NOTIFY_PRE_RENDER},
                                                   {OnPreFrame, NOTIFY_PRE_RENDERFRAME},
                                                   {OnPostRender, NOTIFY_POST_RENDER}};
    for (const auto& [handler, code] : handlers)
        RegisterNotification(handler, &events, code);

    host::SceneRoot scene;
    auto* recorder = new ProbeMap([&events](ShadeContext&) {
        events.Add("sample");
        return AColor(1, 1, 1);
    });
    recorder->updated = [&events] { events.Add("update"); };
    StdMat* material = MaterialWith(recorder);
    AddNode(scene, NewBox(20.0f), material, Point3(-15, 0, 0));
    AddNode(scene, NewBox(20.0f), material, Point3(15, 0, 0));
    for (host::RendererKind kind : {host::RendererKind::Scanline, host::RendererKind::VRay}) {
        events.list.clear();
        host::RenderSettings settings = Settings(64, 48, 2);
        settings.renderer = kind;
        host::RenderScene(scene, settings);
        EXPECT_EQ(events.list,
                  (std::vector<std::string>{"pre-render", "update", "pre-frame", "sample", "post-render"}));
        EXPECT_EQ(events.renderer,
                  kind == host::RendererKind::VRay ? VRAY_RENDERER_CLASS_ID : host::kScanlineRendererClassID)
            << "the renderer is the current one when the notification goes out";
        EXPECT_EQ(events.instancesAtFrameStart, 2);
        EXPECT_EQ(GetCOREInterface()->GetCurrentRenderer(), nullptr) << "the previous renderer is back";
    }
    // A job of two frames hears of the render once and of each frame once.
    events.list.clear();
    {
        host::RenderJob job(scene, Settings(64, 48, 2));
        job.RenderFrame(0);
        job.RenderFrame(160);
    }
    EXPECT_EQ(events.list, (std::vector<std::string>{"pre-render", "update", "pre-frame", "sample", "update",
                                                     "pre-frame", "sample", "post-render"}));
    for (const auto& [handler, code] : handlers)
        UnRegisterNotification(handler, &events, code);
}

TEST(SceneRenderer, UnlitPixelsAreTheMapsColoursUnchanged) {
    // Colours outside 0..1, an odd alpha and values no 8-bit level matches, different on every call.
    std::vector<AColor> returned;
    auto* probe = new ProbeMap([&returned](ShadeContext&) {
        const float k = static_cast<float>(returned.size());
        returned.push_back(AColor(k / 3.0f, 1.7f - k / 7.0f, -0.3f, 0.42f + k / 1e6f));
        return returned.back();
    });
    host::SceneRoot scene;
    AddNode(scene, NewBox(30.0f), MaterialWith(probe), Point3(0, 0, 0));
    scene.SetCamera(CameraAt(Point3(60, -90, 70), Point3(0, 0, 15)));
    const host::FrameBuffer frame = RenderUnlit(scene, 80, 70);
    const std::vector<AColor> shaded = InShadingOrder(frame);
    ASSERT_GT(shaded.size(), 500u);
    ASSERT_EQ(shaded, returned) << "one sample per covered pixel, its colour unchanged";
}

// Renders a colour that depends on the order of evaluation, restarting at every pre-render notification.
class CountingProbe : public ProbeMap {
public:
    CountingProbe()
        : ProbeMap([this](ShadeContext&) {
              const float k = static_cast<float>(counter++ % 97);
              return AColor(k / 97.0f, 0.0f, 0.0f);
          }) {
        RegisterNotification(Restart, this, NOTIFY_PRE_RENDER);
    }
    ~CountingProbe() override { UnRegisterNotification(Restart, this); }

private:
    static void Restart(void* self, NotifyInfo*) { static_cast<CountingProbe*>(self)->counter = 0; }
    std::atomic<int> counter{0};
};

TEST(SceneRenderer, OneThreadGivesTheSameImageEveryTime) {
    host::SceneRoot scene;
    auto* probe = new CountingProbe();
    StdMat* material = MaterialWith(probe);
    AddNode(scene, NewBox(30.0f), material, Point3(-20, 0, 0));
    AddNode(scene, host::CreatePrimitive(*host::FindPrimitiveType(std::string("sphere"))), material,
            Point3(25, 0, 20));
    const host::RenderSettings one = Settings(120, 90, 1);
    const host::FrameBuffer first = host::RenderScene(scene, one);
    const host::FrameBuffer second = host::RenderScene(scene, one);
    EXPECT_TRUE(first.colour == second.colour);
    EXPECT_TRUE(first.nodeID == second.nodeID);

    // Colours that depend on the sample alone come out the same on any number of threads.
    probe->colour = [](ShadeContext& sc) {
        return AColor(static_cast<float>(sc.FaceNumber()) / 100.0f, sc.UVW(1).x,
                      static_cast<float>(sc.NodeID()));
    };
    const host::FrameBuffer single = host::RenderScene(scene, one);
    const host::FrameBuffer several = host::RenderScene(scene, Settings(120, 90, 3));
    EXPECT_TRUE(single.colour == several.colour);
    EXPECT_TRUE(single.face == several.face);
}

// A range render whose second frame has other instances than its first, as many of them in a context at
// the same place: a box that another hid in frame 0 and one that was hidden then. The map keeps its tables
// for the whole job, yet each frame shades with its own instances, as the frame rendered alone does.
TEST(SceneRenderer, KeyedModesFollowTheInstancesOfEachFrameOfARange) {
    for (const char* mode : {"Per Face", "Per Element"}) {
        SCOPED_TRACE(mode);
        host::TemporaryPicture picture;
        const std::unique_ptr<host::SceneRoot> scene =
            render_test::Prepare(render_test::ModeOptions(mode), picture);
        Mtl* material = scene->Nodes().front()->GetMtl();
        for (INode* node : scene->Nodes())
            node->Hide(TRUE);
        AddNode(*scene, NewBox(20.0f), material, Point3(0, 0, 0));
        INode* front = AddNode(*scene, NewBox(60.0f), material, Point3(0, -60, -20));
        INode* shown = AddNode(*scene, NewBox(20.0f), material, Point3(40, 0, 0));
        shown->Hide(TRUE);
        scene->SetCamera(CameraAt(Point3(0, -200, 10), Point3(0, 0, 10)));
        host::RenderSettings settings = Settings(96, 72);
        settings.unlit = true;
        host::FrameBuffer ranged;
        {
            host::RenderJob job(*scene, settings);
            job.RenderFrame(0);
            front->Hide(TRUE);
            shown->Hide(FALSE);
            ranged = job.RenderFrame(160);
        }
        settings.time = 160;
        const host::FrameBuffer alone = host::RenderScene(*scene, settings);
        ASSERT_TRUE(ranged.nodeID == alone.nodeID);
        EXPECT_TRUE(ranged.colour == alone.colour);
        std::set<int> nodes;
        ForEachCovered(alone, [&](int, int, const AColor&, int node, int) { nodes.insert(node); });
        EXPECT_EQ(nodes.size(), 2u);
    }
}

TEST(SceneRenderer, MaterialsWithoutMapsAndScenesWithoutCamera) {
    host::SceneRoot scene;
    StdMat* plain = NewDefaultStdMat();
    plain->SetDiffuse(Color(0.2f, 0.4f, 0.6f), 0);
    StdMat* switchedOff = MaterialWith(new ProbeMap([](ShadeContext&) { return AColor(1, 0, 0); }));
    switchedOff->SetDiffuse(Color(0.1f, 0.3f, 0.5f), 0);
    switchedOff->EnableMap(ID_DI, FALSE);
    AddNode(scene, NewBox(20.0f), plain, Point3(-300, 0, 0));
    AddNode(scene, NewBox(20.0f), nullptr, Point3(0, 200, 100));
    AddNode(scene, NewBox(20.0f), switchedOff, Point3(300, 0, 0));
    const host::FrameBuffer frame = RenderUnlit(scene, 160, 90);

    const AColor expected[] = {AColor(0.2f, 0.4f, 0.6f), AColor(0.5f, 0.5f, 0.5f), AColor(0.1f, 0.3f, 0.5f)};
    std::set<int> seen;
    ForEachCovered(frame, [&](int x, int y, const AColor& c, int node, int) {
        seen.insert(node);
        EXPECT_EQ(c, expected[node]) << "node " << node;
        EXPECT_TRUE(x > 0 && y > 0 && x < frame.width - 1 && y < frame.height - 1) << "within the border";
    });
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2})) << "a scene without camera is framed whole";
}

} // namespace
