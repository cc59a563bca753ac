#include "host/render/scene_renderer.h"

#include "host/draw/png_file.h"
#include "host/render/material_shading.h"
#include "host/render/mr_translation.h"
#include "host/render/rasteriser.h"
#include "host/render/render_camera.h"
#include "host/render/render_instances.h"
#include "host/render/shade_contexts.h"
#include "host/render/transform_math.h"
#include "host/scene/renderable_object.h"

#include "hostsdk/large_arrays.h"
#include "hostsdk/mtl.h"
#include "hostsdk/notify.h"
#include "hostsdk/null_view.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_set>

namespace host {

// Makes the renderer the host's current one while it renders, and takes the render numbers back from the
// nodes afterwards.
class RenderScope {
public:
    explicit RenderScope(RendererKind kind) : renderer(NewRenderer(kind)) {
        previous = GetCOREInterface()->GetCurrentRenderer();
        GetCOREInterface()->AssignCurRenderer(renderer);
    }
    RenderScope(const RenderScope&) = delete;
    RenderScope& operator=(const RenderScope&) = delete;
    ~RenderScope() {
        for (GeomObject* object : copied)
            object->EndRenderCopy();
        for (INode* node : numbered)
            node->SetRenderID(0xffff);
        GetCOREInterface()->AssignCurRenderer(previous);
        renderer->DeleteThis();
    }

    void Number(INode* node, int id) {
        node->SetRenderID(static_cast<USHORT>(id));
        numbered.push_back(node);
    }

    // The render works on copies of the scene's geometry, so that what it writes into them (face material
    // IDs numbered for a shader) never reaches the stored objects.
    void CopyGeometry(SceneRoot& scene, TimeValue t) {
        std::unordered_set<GeomObject*> seen;
        for (INode* node : scene.Nodes())
            if (auto* object = dynamic_cast<GeomObject*>(node->EvalWorldState(t, TRUE).obj))
                if (seen.insert(object).second) {
                    object->BeginRenderCopy();
                    copied.push_back(object);
                }
    }

    HostRenderer* const renderer;

private:
    Renderer* previous = nullptr;
    std::vector<INode*> numbered;
    std::vector<GeomObject*> copied;
};

// Shades points on the render instances' surfaces as the job's renderer does, without lighting.
class SurfaceShader {
public:
    SurfaceShader(HostRenderGlobalContext& context, RendererKind renderer, TimeValue time, int width,
                  const MentalRayShaders& mentalRay)
        : context(context), renderer(renderer), time(time), width(width), mentalRay(mentalRay) {}

    AColor Shade(int index, int face, const Point3& barycentric, int x, int y) const {
        HostRenderInstance& instance = context.Instance(index);
        if (renderer == RendererKind::VRay) {
            VRayShadeContext sc(context, instance, face, barycentric, time);
            return DiffuseColour(instance.mtl, sc);
        }
        ScanlineShadeContext sc(context, instance, face, barycentric, time);
        if (const ChromasiftShaderParams* shader =
                renderer == RendererKind::MentalRay ? mentalRay.ForInstance(index) : nullptr)
            return ShadeChromasift(*shader, Sample(*shader, sc, instance, x, y), sc);
        return DiffuseColour(instance.mtl, sc);
    }

    HostRenderGlobalContext& context;

private:
    // What mental ray's shader learns of a sample: only what its mode reads.
    ShaderSample Sample(const ChromasiftShaderParams& shader, ScanlineShadeContext& sc,
                        HostRenderInstance& instance, int x, int y) const {
        ShaderSample sample;
        sample.x = x;
        sample.y = y;
        sample.width = width;
        sample.materialID = sc.mtlNum;
        if (shader.readsCoordinates) {
            if (shader.mapping == UVW_COORDS)
                sample.uvw1 = sc.UVW(1);
            else if (shader.mapping == UVW2_COORDS)
                sample.vertexColour = sc.UVW(0);
            else if (shader.mapping == XYZ_WORLD_COORDS)
                sample.worldPoint = instance.objToWorld.PointTransform(sc.PObj());
            else
                sample.objectPoint = sc.PObj();
        }
        if (shader.readsTileChannel)
            sample.uvw99 = sc.UVW(99);
        return sample;
    }

    const RendererKind renderer;
    const TimeValue time;
    const int width;
    const MentalRayShaders& mentalRay;
};

AColor FrameSurfaces::Shade(int instance, int face, const Point3& barycentric, int x, int y) const {
    return shader.Shade(instance, face, barycentric, x, y);
}

namespace {

// One render instance per visible node whose object renders and gives a mesh, in scene order.
void CollectInstances(SceneRoot& scene, TimeValue t, View& view, HostRenderGlobalContext& context,
                      RenderScope& scope) {
    for (INode* node : scene.Nodes()) {
        GeomObject* object = RenderableObject(*node, t);
        if (object == nullptr)
            continue;
        BOOL needDelete = FALSE;
        Mesh* mesh = object->GetRenderMesh(t, node, view, needDelete);
        if (mesh == nullptr)
            continue;
        auto instance = std::make_unique<HostRenderInstance>();
        if (needDelete)
            instance->ownedMesh.reset(mesh);
        instance->mesh = mesh;
        instance->mtl = node->GetMtl();
        instance->objToWorld = node->GetObjectTM(t);
        instance->SetINode(node);
        instance->SetEvalObject(object);
        instance->nodeID = context.NumRenderInstances();
        // V-Ray's instance numbers start at 1, so that 0 never names an instance.
        instance->instanceNumber = instance->nodeID + 1;
        scope.Number(node, instance->nodeID);
        context.AddInstance(std::move(instance));
    }
}

SceneCamera FrameInstances(HostRenderGlobalContext& context, int width, int height) {
    Point3 lo(0, 0, 0), hi(0, 0, 0);
    bool first = true;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        HostRenderInstance& instance = context.Instance(i);
        for (const Point3& v : instance.mesh->verts) {
            const Point3 p = instance.objToWorld.PointTransform(v);
            if (first) {
                lo = hi = p;
                first = false;
            }
            lo = Point3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = Point3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
    }
    return FrameBounds(lo, hi, width, height);
}

// Places the instances in camera space; returns the greatest depth of any vertex.
float PlaceInstances(HostRenderGlobalContext& context, const CameraSetup& camera) {
    float farthest = 0.0f;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        HostRenderInstance& instance = context.Instance(i);
        instance.objToCam = Compose(instance.objToWorld, camera.worldToCam);
        instance.normalObjToCam = instance.objToCam;
        instance.camToObj = Inverse(instance.objToCam);
        instance.cameraVerts.clear();
        ReserveLarge(instance.cameraVerts, instance.mesh->verts.size());
        Point3 sum;
        for (const Point3& v : instance.mesh->verts) {
            const Point3 p = instance.objToCam.PointTransform(v);
            instance.cameraVerts.push_back(p);
            sum = Add(sum, p);
            farthest = std::max(farthest, -p.z);
        }
        if (!instance.cameraVerts.empty())
            instance.center = Scale(sum, 1.0f / static_cast<float>(instance.cameraVerts.size()));
        for (const Point3& p : instance.cameraVerts)
            instance.radsq = std::max(instance.radsq, Dot(Sub(p, instance.center), Sub(p, instance.center)));
    }
    return farthest;
}

// A face's unit normal in camera space (zero for a face whose corners are not all vertices). Found for the
// faces a render shows as it shows them: a mesh of millions of faces shows a few hundred thousand at most.
Point3 CameraFaceNormal(const HostRenderInstance& instance, std::size_t f) {
    const Face& face = instance.mesh->faces[f];
    const std::size_t count = instance.cameraVerts.size();
    if (face.v[0] >= count || face.v[1] >= count || face.v[2] >= count)
        return Point3();
    const Point3& a = instance.cameraVerts[face.v[0]];
    return Normalize(Cross(Sub(instance.cameraVerts[face.v[1]], a), Sub(instance.cameraVerts[face.v[2]], a)));
}

void UpdateMaterials(HostRenderGlobalContext& context, TimeValue t) {
    std::unordered_set<Mtl*> updated;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        Mtl* material = context.Instance(i).mtl;
        if (material == nullptr || !updated.insert(material).second)
            continue;
        Interval valid = FOREVER;
        material->Update(t, valid);
    }
}

// Shades one tile of the rasterised picture into the frame buffer.
class TileShader {
public:
    TileShader(const Rasteriser& rasteriser, const SurfaceShader& surfaces, FrameBuffer& frame, bool unlit)
        : rasteriser(rasteriser), surfaces(surfaces), frame(frame), unlit(unlit) {}

    void Run(int tile) const {
        const TileRect rect = rasteriser.Tile(tile);
        Rasteriser::HitMemo memo;
        for (int y = rect.y0; y < rect.y1; ++y)
            for (int x = rect.x0; x < rect.x1; ++x) {
                const SurfaceHit hit = rasteriser.Hit(x, y, memo);
                if (hit.instance < 0)
                    continue;
                HostRenderInstance& instance = surfaces.context.Instance(hit.instance);
                const std::size_t at = frame.Index(x, y);
                frame.colour[at] =
                    Lit(surfaces.Shade(hit.instance, hit.face, hit.barycentric, x, y), instance, hit);
                frame.nodeID[at] = instance.nodeID;
                frame.face[at] = hit.face;
            }
    }

private:
    AColor Lit(const AColor& colour, HostRenderInstance& instance, const SurfaceHit& hit) const {
        if (unlit)
            return colour;
        const Face& face = instance.mesh->faces[static_cast<std::size_t>(hit.face)];
        const Point3 point = Blend(hit.barycentric, instance.cameraVerts[face.v[0]],
                                   instance.cameraVerts[face.v[1]], instance.cameraVerts[face.v[2]]);
        return Headlit(colour, CameraFaceNormal(instance, static_cast<std::size_t>(hit.face)),
                       Scale(point, -1.0f));
    }

    const Rasteriser& rasteriser;
    const SurfaceShader& surfaces;
    FrameBuffer& frame;
    const bool unlit;
};

// Hands out tiles in order to the render threads (this thread among them) until all are done or one
// fails; the first failure is rethrown here.
void RenderTiles(const TileShader& shader, int numTiles, int threads,
                 const std::function<void(int, int)>& progress) {
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex lock;
    int done = 0;
    const auto work = [&] {
        for (int tile = next++; tile < numTiles && !failed; tile = next++) {
            try {
                shader.Run(tile);
            } catch (...) {
                const std::lock_guard<std::mutex> guard(lock);
                if (!failure)
                    failure = std::current_exception();
                failed = true;
                return;
            }
            if (progress) {
                const std::lock_guard<std::mutex> guard(lock);
                progress(++done, numTiles);
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < std::min(threads, numTiles); ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

int RenderThreadCount(int requested) {
    if (requested > 0)
        return requested;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

RenderJob::RenderJob(SceneRoot& scene, RenderSettings settings)
    : scene(scene), settings(std::move(settings)) {
    if (this->settings.width <= 0 || this->settings.height <= 0)
        throw std::invalid_argument("the picture needs a width and a height of at least one pixel");
    scope = std::make_unique<RenderScope>(this->settings.renderer);
    scope->CopyGeometry(scene, this->settings.time.value_or(GetCOREInterface()->GetTime()));
    BroadcastNotification(NOTIFY_PRE_RENDER);
}

RenderJob::~RenderJob() {
    BroadcastNotification(NOTIFY_POST_RENDER);
}

// What a frame is shaded with, built by SetUpFrame.
struct RenderJob::Frame {
    HostRenderGlobalContext context;
    CameraSetup camera;
    MentalRayShaders mentalRay;
};

void RenderJob::SetUpFrame(TimeValue t, Frame& frame) {
    HostRenderGlobalContext& context = frame.context;
    context.renderer = scope->renderer;
    context.time = t;
    context.devWidth = settings.width;
    context.devHeight = settings.height;

    // Without a scene camera the camera depends on the meshes, so they are asked for through a null view.
    const std::optional<SceneCamera>& sceneCamera = scene.Camera();
    CameraSetup& camera = frame.camera;
    if (sceneCamera) {
        camera = SetUpCamera(*sceneCamera, settings.width, settings.height);
        CameraView view(camera);
        CollectInstances(scene, t, view, context, *scope);
    } else {
        NullView view;
        CollectInstances(scene, t, view, context, *scope);
        camera = SetUpCamera(FrameInstances(context, settings.width, settings.height), settings.width,
                             settings.height);
    }
    const float farthest = PlaceInstances(context, camera);
    camera.projection.nearDepth = std::max(1e-6f, farthest * 1e-5f);
    context.camToWorld = camera.camToWorld;
    context.worldToCam = camera.worldToCam;
    context.xscale = camera.projection.xscale;
    context.yscale = camera.projection.yscale;
    context.xc = camera.projection.xc;
    context.yc = camera.projection.yc;
    context.nearRange = camera.projection.nearDepth;
    context.farRange = farthest;

    UpdateMaterials(context, t);
    if (settings.renderer == RendererKind::MentalRay)
        frame.mentalRay.Translate(context, t, settings.shaderTranslated);
}

FrameBuffer RenderJob::RenderFrame(TimeValue t) {
    Frame setup;
    SetUpFrame(t, setup);
    HostRenderGlobalContext& context = setup.context;
    BroadcastNotification(NOTIFY_PRE_RENDERFRAME, &context);

    Rasteriser rasteriser(setup.camera.projection);
    std::vector<Rasteriser::MeshToDraw> meshes;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        const HostRenderInstance& instance = context.Instance(i);
        meshes.push_back({i, instance.mesh, instance.cameraVerts});
    }
    rasteriser.AddMeshes(meshes, RenderThreadCount(settings.threads));

    FrameBuffer frame;
    frame.width = settings.width;
    frame.height = settings.height;
    const std::size_t pixels =
        static_cast<std::size_t>(settings.width) * static_cast<std::size_t>(settings.height);
    frame.colour.assign(pixels, AColor(0.0f, 0.0f, 0.0f, 0.0f));
    frame.nodeID.assign(pixels, -1);
    frame.face.assign(pixels, -1);
    const SurfaceShader surfaces(context, settings.renderer, t, settings.width, setup.mentalRay);
    const TileShader shader(rasteriser, surfaces, frame, settings.unlit);
    RenderTiles(shader, rasteriser.NumTiles(), RenderThreadCount(settings.threads), settings.progress);

    BroadcastNotification(NOTIFY_POST_RENDERFRAME, &context);
    return frame;
}

void RenderJob::ShadeFrame(TimeValue t, const std::function<void(const FrameSurfaces&)>& shade) {
    Frame setup;
    SetUpFrame(t, setup);
    BroadcastNotification(NOTIFY_PRE_RENDERFRAME, &setup.context);
    const SurfaceShader surfaces(setup.context, settings.renderer, t, settings.width, setup.mentalRay);
    shade(FrameSurfaces(setup.context, surfaces));
    BroadcastNotification(NOTIFY_POST_RENDERFRAME, &setup.context);
}

FrameBuffer RenderScene(SceneRoot& scene, const RenderSettings& settings) {
    RenderJob job(scene, settings);
    return job.RenderFrame(settings.time.value_or(GetCOREInterface()->GetTime()));
}

std::vector<std::uint8_t> ToRgba8(const FrameBuffer& frame) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(frame.colour.size() * 4);
    for (const AColor& c : frame.colour) {
        bytes.push_back(ToByte(c.r));
        bytes.push_back(ToByte(c.g));
        bytes.push_back(ToByte(c.b));
        bytes.push_back(ToByte(c.a));
    }
    return bytes;
}

} // namespace host
