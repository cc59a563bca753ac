#include "host/commands/render_command.h"

#include "host/base/atomic_file.h"
#include "host/base/progress_display.h"
#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/job/render_source.h"
#include "host/job/slider_keys.h"
#include "host/render/mr_shader_print.h"
#include "host/render/scene_renderer.h"
#include "host/scene/frame_list.h"
#include "host/scene/scene_checks.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace host {

namespace {

// The frames of a range still to render: with `skipExisting`, those without a whole PNG file.
std::vector<int> FramesToRender(const RenderOptions& options, int& skipped) {
    std::vector<int> frames;
    skipped = 0;
    for (int frame : *options.frames) {
        if (options.skipExisting && IsCompletePng(PathFromUtf8(FrameFileName(options.output, frame)))) {
            ++skipped;
            continue;
        }
        frames.push_back(frame);
    }
    return frames;
}

std::string Plural(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

} // namespace

int RunRenderCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress) {
    TemporaryPicture picture;
    // With the picture on standard output, the words go to standard error.
    std::ostream& report = options.output == kStandardOutputName ? err : out;
    try {
        int skipped = 0;
        std::vector<int> frames;
        if (options.frames) {
            frames = FramesToRender(options, skipped);
            if (frames.empty()) {
                report << "Every one of the " << Plural(options.frames->size(), "frame")
                       << " is there already: nothing to render\n";
                return 0;
            }
            if (frames.size() > kManyFrames)
                err << "chromasift: rendering " << frames.size() << " frames: writes " << frames.size()
                    << " files, " << FrameFileName(options.output, frames.front()) << " to "
                    << FrameFileName(options.output, frames.back()) << "\n";
        }
        std::string warning;
        std::unique_ptr<SceneRoot> scene = PrepareRenderScene(options, plugins, picture, warning);
        if (!warning.empty())
            err << "chromasift: warning: " << warning << "\n";
        CheckSceneBeforeRender(*scene, RenderSceneOrigin(options), options.allowMissing, err);
        if (const std::string keys = SliderKeysWarning(*scene, options); !keys.empty())
            err << "chromasift: warning: " << keys << "\n";

        RenderSettings settings;
        settings.renderer = options.renderer;
        settings.width = options.width;
        settings.height = options.height;
        settings.threads = options.threads;
        settings.unlit = options.unlit;
        if (options.printShader)
            settings.shaderTranslated = [&report](imrShader& shader) { PrintShader(shader, report); };
        // A single frame moves the slider to it; a range renders each frame's time under a still slider.
        if (options.frame)
            GetCOREInterface()->SetTime(FramesToTicks(*options.frame));
        const int count = options.frames ? static_cast<int>(frames.size()) : 1;
        ProgressDisplay display(err, showProgress, "Rendering");
        int framesDone = 0;
        double seconds = 0.0;
        settings.progress = [&display, &framesDone, count](int done, int total) {
            display.Update(framesDone * total + done, total * count);
        };
        // A range is one job, as on the host: the maps hear of the render once, before its first frame.
        if (options.frames)
            settings.time = FramesToTicks(frames.front());
        RenderJob job(*scene, settings);
        for (; framesDone < count; ++framesDone) {
            std::string output = options.output;
            TimeValue t = GetCOREInterface()->GetTime();
            if (options.frames) {
                t = FramesToTicks(frames[framesDone]);
                output = FrameFileName(options.output, frames[framesDone]);
            }
            const auto start = std::chrono::steady_clock::now();
            const FrameBuffer frame = job.RenderFrame(t);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (framesDone + 1 == count)
                display.Finish();
            WritePng(PathFromUtf8(output), frame.width, frame.height, ToRgba8(frame));
            if (!options.frames || framesDone + 1 == count) {
                char summary[200];
                std::snprintf(
                    summary, sizeof summary, ": %d x %d pixels, %s renderer, %d thread%s, %s, %.3f s",
                    frame.width, frame.height, RendererName(options.renderer),
                    RenderThreadCount(options.threads), RenderThreadCount(options.threads) == 1 ? "" : "s",
                    options.unlit ? "unlit" : "lit", seconds);
                if (!options.frames)
                    report << output << summary << "\n";
                else
                    report << FrameFileName(options.output, frames.front()) << " to " << output << " ("
                           << Plural(frames.size(), "frame")
                           << (skipped > 0 ? ", " + Plural(skipped, "frame") + " there already"
                                           : std::string())
                           << ")" << summary << "\n";
            }
        }
        return 0;
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host