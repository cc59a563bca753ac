#pragma once

// Rendering a scene with one of the host's renderers into a frame buffer.
#include "host/render/render_instances.h"
#include "host/render/renderers.h"
#include "host/scene/scene.h"

#include "hostsdk/mental_ray.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace host {

struct RenderSettings {
    RendererKind renderer = RendererKind::Scanline;
    int width = 640;
    int height = 480;
    // Render threads; 0 for one per processor core.
    int threads = 0;
    // Each pixel gets its material's diffuse colour (the map's colour) as it is, without lighting.
    bool unlit = false;
    // Called after every finished tile with the number of finished tiles and the total, one call at a time,
    // from whichever render thread finished it.
    std::function<void(int done, int total)> progress;
    // The time rendered; the time slider's when not given. A range render gives each frame's time and
    // leaves the slider where it is.
    std::optional<TimeValue> time;
    // mental ray: called with every shader instance right after its map has translated it.
    std::function<void(imrShader& shader)> shaderTranslated;
};

// Pixels row by row from the top left. Where no surface was hit the colour is (0, 0, 0, 0) and the node
// and face numbers are -1.
struct FrameBuffer {
    int width = 0;
    int height = 0;
    std::vector<AColor> colour;
    // The renderer's number of the node seen at each pixel, and the face of its render mesh.
    std::vector<int> nodeID;
    std::vector<int> face;

    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
};

// The frame's colours as bytes, four per pixel, row by row from the top, each channel as ToByte rounds it.
std::vector<std::uint8_t> ToRgba8(const FrameBuffer& frame);

class RenderScope;
class SurfaceShader;

// A frame set up as a render sets it up (render instances, updated materials, mental ray's shaders, the
// per-frame notifications), for a caller that picks its own points on the surfaces instead of pixels.
class FrameSurfaces {
public:
    FrameSurfaces(HostRenderGlobalContext& context, const SurfaceShader& shader)
        : context(context), shader(shader) {}

    HostRenderGlobalContext& Context() const { return context; }
    // The colour render instance `instance` shows, unlit, at the point `barycentric` of `face`; (x, y) is the
    // pixel that mental ray's shader is told of.
    AColor Shade(int instance, int face, const Point3& barycentric, int x = 0, int y = 0) const;

private:
    HostRenderGlobalContext& context;
    const SurfaceShader& shader;
};

// A render job: one frame, or a range of frames, rendered with one renderer, as the host renders them. For
// the job's duration the renderer is the host's current one and works on copies of the scene's geometry;
// the pre-render notification goes out once when the job starts and the post-render notification once
// when it ends, so whatever a map resets before a render (counters, random streams) carries on from frame
// to frame.
class RenderJob {
public:
    // `settings.time` (the time slider's when not given) is the time the geometry is copied at.
    RenderJob(SceneRoot& scene, RenderSettings settings);
    RenderJob(const RenderJob&) = delete;
    RenderJob& operator=(const RenderJob&) = delete;
    ~RenderJob();

    // Renders the scene's nodes at time `t` through its camera (or a camera framing the whole scene when it
    // has none): every visible, renderable node becomes a render instance numbered from 0 in scene order,
    // the instances' materials are updated, mental ray has the maps translate themselves into its shaders,
    // the per-frame notification goes out and the tiles are rendered on the render threads.
    // With one thread, tiles and the pixels within them are shaded in a fixed order.
    FrameBuffer RenderFrame(TimeValue t);
    // Sets frame `t` up as RenderFrame does and hands it to `shade` in place of the rasteriser.
    void ShadeFrame(TimeValue t, const std::function<void(const FrameSurfaces&)>& shade);

private:
    struct Frame;
    void SetUpFrame(TimeValue t, Frame& frame);

    SceneRoot& scene;
    const RenderSettings settings;
    std::unique_ptr<RenderScope> scope;
};

// A job of one frame at `settings.time`.
FrameBuffer RenderScene(SceneRoot& scene, const RenderSettings& settings);

// The number of render threads a setting of `requested` gives.
int RenderThreadCount(int requested);

} // namespace host
