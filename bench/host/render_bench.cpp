// Wall-clock time of rendering the built-in scene with the loaded plug-in, configured as the render
// command configures it: 1920 x 1080 pixels on two render threads, for a few distribution modes.
#include "render_test_support.h"

#include "host/job/render_options.h"
#include "host/job/render_source.h"
#include "host/render/scene_renderer.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void RenderBuiltinScene(benchmark::State& state, const char* mode, host::RendererKind renderer, bool unlit) {
    host::RenderOptions options;
    options.map.mode = host::FindMapMode(mode)->combined;
    host::TemporaryPicture picture;
    std::string warning;
    std::unique_ptr<host::SceneRoot> scene =
        host::PrepareRenderScene(options, render_test::LoadedPlugins(), picture, warning);
    host::RenderSettings settings;
    settings.renderer = renderer;
    settings.width = 1920;
    settings.height = 1080;
    settings.threads = 2;
    settings.unlit = unlit;
    for (auto _ : state) {
        host::FrameBuffer frame = host::RenderScene(*scene, settings);
        benchmark::DoNotOptimize(frame.colour.data());
    }
    state.counters["pixels/s"] =
        benchmark::Counter(1920.0 * 1080.0, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK_CAPTURE(RenderBuiltinScene, Random, "Random", host::RendererKind::Scanline, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RenderBuiltinScene, PerFace, "Per Face", host::RendererKind::Scanline, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RenderBuiltinScene, PerElement, "Per Element", host::RendererKind::Scanline, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RenderBuiltinScene, ObjectRandom, "Object (random)", host::RendererKind::Scanline, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RenderBuiltinScene, AsTilesUnlit, "As Tiles", host::RendererKind::Scanline, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RenderBuiltinScene, VRayInstance, "VRay Instance (rnd)", host::RendererKind::VRay, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
