#include "host/render/render_command.h"

#include "host/render/builtin_scene.h"
#include "host/render/mr_shader_print.h"
#include "host/render/png_file.h"
#include "host/render/progress_display.h"
#include "host/scene_file.h"
#include "host/text.h"

#include "hostsdk/bitmap.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace host {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseFloat(const std::string& text, float low, float high, float& value) {
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != 0 || !std::isfinite(parsed) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// "WxH" with both sides from 1 to kMaxRenderSide.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseInt(text.substr(0, x), 1, kMaxRenderSide, width) &&
           ParseInt(text.substr(x + 1), 1, kMaxRenderSide, height);
}

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The map would only show a message box for a bitmap it cannot load; the command says so before anything.
void CheckBitmap(const std::string& file) {
    BitmapInfo info;
    info.SetName(FromUtf8(file).c_str());
    BMMRES status = BMMRES_SUCCESS;
    Bitmap* bitmap = TheManager->Load(&info, &status);
    if (bitmap != nullptr)
        bitmap->DeleteThis();
    if (status == BMMRES_SUCCESS && bitmap != nullptr)
        return;
    const char* reason = status == BMMRES_FILENOTFOUND    ? "file not found"
                         : status == BMMRES_INVALIDFORMAT ? "not an image file"
                         : status == BMMRES_CORRUPTFILE   ? "the image is damaged or truncated"
                         : status == BMMRES_NODRIVER      ? "this build cannot read that kind of image"
                                                          : "the file cannot be read";
    throw std::runtime_error("cannot read the bitmap '" + file + "': " + reason);
}

const char* RendererName(RendererKind kind) {
    return kind == RendererKind::VRay ? "vray" : (kind == RendererKind::MentalRay ? "mentalray" : "scanline");
}

} // namespace

std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--unlit") {
            options.unlit = true;
            continue;
        }
        if (arg == "--print-shader") {
            options.printShader = true;
            continue;
        }
        if (arg.rfind("-", 0) != 0 || arg == "-") {
            if (!options.scene.empty())
                return "'render' takes one scene file, not also '" + arg + "'";
            options.scene = arg;
            continue;
        }
        static const char* const kValued[] = {
            "--bitmap", "--mode",     "--colors", "--skip",    "--gamma", "--hue",   "--saturation",
            "--value",  "--renderer", "--size",   "--threads", "-o",      "--output"};
        bool valued = false;
        for (const char* name : kValued)
            valued = valued || arg == name;
        if (!valued)
            return "unknown option '" + arg + "' for 'render'";
        if (i + 1 >= argc)
            return arg + " needs a value";
        const std::string value = argv[++i];
        int number = 0;
        float real = 0.0f;
        if (arg == "--bitmap") {
            options.map.bitmap = value;
        } else if (arg == "--mode") {
            const MapMode* mode = FindMapMode(value);
            if (mode == nullptr)
                return "--mode takes a mode's label as the map's rollout shows it (" + MapModeLabels() +
                       "), not '" + value + "'";
            options.map.mode = mode->combined;
        } else if (arg == "--colors") {
            if (!ParseInt(value, 1, 100, number))
                return "--colors takes a number from 1 to 100, not '" + value + "'";
            options.map.colours = number;
        } else if (arg == "--skip") {
            if (!ParseInt(value, 0, 30, number))
                return "--skip takes a number from 0 to 30, not '" + value + "'";
            options.map.skip = number;
        } else if (arg == "--gamma") {
            if (!ParseFloat(value, 0.1f, 10.0f, real))
                return "--gamma takes a number from 0.1 to 10, not '" + value + "'";
            options.map.gamma = real;
        } else if (arg == "--hue" || arg == "--saturation" || arg == "--value") {
            if (!ParseInt(value, 1, 100, number))
                return arg + " takes a percentage from 1 to 100, not '" + value + "'";
            (arg == "--hue"          ? options.map.hue
             : arg == "--saturation" ? options.map.saturation
                                     : options.map.value) = number;
        } else if (arg == "--renderer") {
            const std::optional<RendererKind> kind = FindRendererKind(value);
            if (!kind)
                return "--renderer takes scanline, vray or mentalray, not '" + value + "'";
            options.renderer = *kind;
        } else if (arg == "--size") {
            if (!ParseSize(value, options.width, options.height))
                return "--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxRenderSide) +
                       " pixels (such as 1920x1080), not '" + value + "'";
        } else if (arg == "--threads") {
            if (!ParseInt(value, 1, 1024, number))
                return "--threads takes a number from 1 to 1024, not '" + value + "'";
            options.threads = number;
        } else {
            options.output = value;
        }
    }
    if (options.output.empty())
        return "'render' needs an output file: -o OUT.png";
    if (options.printShader && options.renderer != RendererKind::MentalRay)
        return "--print-shader shows mental ray's shaders: it needs --renderer mentalray";
    return std::string();
}

std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning) {
    if (options.map.bitmap)
        CheckBitmap(*options.map.bitmap);
    const bool builtin = options.scene.empty();
    const std::string origin = builtin ? "built-in scene" : options.scene;
    Json document =
        builtin ? BuiltinScene() : ParseSceneText(ReadSceneFile(PathFromUtf8(options.scene)), origin);
    const int maps =
        ApplyMapSettings(document, options.map, [&picture] { return PathToUtf8(picture.Path()); });
    warning.clear();
    if (maps == 0)
        warning = origin + " has no Chromasift map: the map's settings change nothing";
    else if (plugins.FindClass(TEXMAP_CLASS_ID, kChromasiftClassID) == nullptr)
        throw SceneError(
            "the Chromasift map is not installed: no kr_tintworks.dlt in the plug-in directories "
            "provides it (see 'chromasift plugins')");
    return SceneFromDocument(document, origin, plugins);
}

int RunRenderCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress) {
    TemporaryPicture picture;
    try {
        std::string warning;
        std::unique_ptr<SceneRoot> scene = PrepareRenderScene(options, plugins, picture, warning);
        if (!warning.empty())
            err << "chromasift: warning: " << warning << "\n";

        RenderSettings settings;
        settings.renderer = options.renderer;
        settings.width = options.width;
        settings.height = options.height;
        settings.threads = options.threads;
        settings.unlit = options.unlit;
        if (options.printShader)
            settings.shaderTranslated = [&out](imrShader& shader) { PrintShader(shader, out); };
        ProgressDisplay display(err, showProgress, "Rendering");
        settings.progress = [&display](int done, int total) { display.Update(done, total); };
        const auto start = std::chrono::steady_clock::now();
        const FrameBuffer frame = RenderScene(*scene, settings);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        display.Finish();

        WritePng(PathFromUtf8(options.output), frame.width, frame.height, ToRgba8(frame));
        char summary[200];
        std::snprintf(summary, sizeof summary, ": %d x %d pixels, %s renderer, %d thread%s, %s, %.3f s\n",
                      frame.width, frame.height, RendererName(options.renderer),
                      RenderThreadCount(options.threads), RenderThreadCount(options.threads) == 1 ? "" : "s",
                      options.unlit ? "unlit" : "lit", seconds);
        out << options.output << summary;
        return 0;
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
