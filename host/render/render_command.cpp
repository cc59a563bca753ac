#include "host/render/render_command.h"

#include "host/atomic_file.h"
#include "host/bitmap_status.h"
#include "host/command_arguments.h"
#include "host/import/model_scene.h"
#include "host/render/builtin_scene.h"
#include "host/render/mr_shader_print.h"
#include "host/render/png_file.h"
#include "host/render/progress_display.h"
#include "host/render/scene_checks.h"
#include "host/scene/scene_file.h"
#include "host/text.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/mtl.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace host {

namespace {

// "WxH" with both sides from 1 to kMaxRenderSide.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseInt(text.substr(0, x), 1, kMaxRenderSide, width) &&
           ParseInt(text.substr(x + 1), 1, kMaxRenderSide, height);
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
    throw std::runtime_error("cannot read the bitmap '" + file + "': " + ImageLoadProblem(file, status));
}

} // namespace

const char* RenderUsage() {
    return R"usage(Usage: chromasift render [SCENE.json | MODEL] [--bitmap IMAGE] [--mode LABEL] [--colors N]
                         [--skip N] [--gamma G] [--hue H] [--saturation S] [--value V]
                         [--renderer scanline|vray|mentalray] [--print-shader] [--size WxH]
                         [--threads N] [--unlit] [--triangulate] [--up y|z]
                         [--import-time-limit SECONDS] [--allow-missing]
                         [--frame F | --frames LIST [--skip-existing]] -o OUT.png

Renders a scene with the Chromasift map and writes the picture as a PNG file.

What is rendered:
  SCENE.json         A scene file. Its objects may name model files ("meshFile", relative to
                     the scene file).
  MODEL              A model file: OBJ, PLY, STL, 3DS, glTF/GLB, FBX or Collada (Linux build).
                     Every mesh node becomes a node of its own, materials become face material
                     IDs, texture coordinates map channel 1; all parts wear one material with a
                     Chromasift map, and the camera frames the model.
  (nothing)          The built-in scene: a box, a sphere, a cylinder and a polygon box on a
                     ground plane, all wearing one material with a Chromasift map.

Map settings (they set every Chromasift map of the scene, as a saved scene would):
  --bitmap IMAGE     The source picture (default: the scene's own, else a built-in picture).
  --mode LABEL       The distribution mode by its label in the map's rollout: "Random",
                     "Linear", "Mirror", "Object (linear)", "Object (random)", "Per Element",
                     "Object ID", "Material ID", "Per Face", "VRay Instance (rnd)",
                     "1D Mapping", "2D Mapping", "3D Mapping", "As Tiles", "Input map",
                     "BerconTile(Lin)", "BerconTile(Rnd)".
  --colors N         "# colors", 1-100.
  --skip N           "# colors skip", 0-30.
  --gamma G          "Gamma", 0.1-10.
  --hue H, --saturation S, --value V
                     The alterations in percent, 1-100.

Rendering:
  --renderer NAME    scanline (the host's renderer, default), vray (the V-Ray stand-in) or
                     mentalray (the mental ray stand-in: each map is translated into the host's
                     "Chromasift" mental ray shader, which shades from those parameters only).
  --print-shader     With mentalray: print every translated shader instance with all its
                     parameters and their values.
  --size WxH         The picture size (default 640x480).
  --threads N        Render threads (default: one per core).
  --unlit            Write each surface's map colour as it is, without lighting.
  --triangulate      Split a model's polygons into triangles ("Per Face" then colours triangles).
  --up y|z           A model's up axis (default: y for OBJ, PLY, glTF, FBX and Collada; z for
                     STL and 3DS).
  --import-time-limit SECONDS
                     How long a model file, or each model file a scene file names, may take
                     to read (default 60); a reader that runs longer is stopped and the
                     command fails. Model files are read by a process
                     of their own, which may also use at most half of the machine's memory.
  --allow-missing    Render although pictures that the scene's maps name are missing (each is
                     named on standard error); without it the command fails, naming them.
  -o, --output FILE  The PNG file to write; - writes it to standard output. A device or a
                     named pipe is written as it is; a file is replaced whole.
Animation (30 frames a second; a scene file may key parameters and set the time slider):
  --frame F          Render frame F (-10000000 to 10000000), with the time slider moved to F.
  --frames LIST      Render a sequence: frames and ranges separated by commas, such as 0-30 or
                     1,8-9,24, each frame once, from 0 to 10000000 (no negative frames: their
                     names would not sort in frame order). Each frame goes to the output file
                     name with its run of '#' replaced by the frame number, padded with zeros
                     (seq_####.png gives seq_0000.png, ...; a '#' in a folder is refused). The
                     frames render in ascending order as one job: as in the host, the time slider
                     stays where the scene left it and the renderer's time moves. More than 1000
                     frames: the command first says how many files it writes.
  --skip-existing    With --frames: a frame whose file is there already is not rendered again,
                     so a sequence cut short resumes where it stopped (frames are written whole,
                     never half).

Example:
  chromasift render model.obj --bitmap photo.jpg --mode "Per Face" --colors 12 -o faces.png
)usage";
}

bool RenderOptionTakesValue(const std::string& option) {
    static const char* const kValued[] = {"--bitmap",
                                          "--mode",
                                          "--colors",
                                          "--skip",
                                          "--gamma",
                                          "--hue",
                                          "--saturation",
                                          "--value",
                                          "--renderer",
                                          "--size",
                                          "--threads",
                                          "-o",
                                          "--output",
                                          "--up",
                                          "--frame",
                                          "--frames",
                                          "--import-time-limit"};
    for (const char* name : kValued)
        if (option == name)
            return true;
    return false;
}

std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options,
                               const std::string& command) {
    for (const CommandArgument& argument : ReadCommandArguments(argc, argv, first, RenderOptionTakesValue)) {
        const std::string& arg = argument.text;
        if (arg == "--unlit" || arg == "--triangulate") {
            (arg == "--unlit" ? options.unlit : options.model.triangulate) = true;
            continue;
        }
        if (arg == "--print-shader" || arg == "--skip-existing" || arg == "--allow-missing") {
            (arg == "--print-shader"    ? options.printShader
             : arg == "--skip-existing" ? options.skipExisting
                                        : options.allowMissing) = true;
            continue;
        }
        if (!argument.option) {
            if (!options.scene.empty())
                return "'" + command + "' takes one scene or model file, not also '" + arg + "'";
            options.scene = arg;
            continue;
        }
        if (!RenderOptionTakesValue(arg))
            return "unknown option '" + arg + "' for '" + command + "'";
        if (!argument.value)
            return arg + " needs a value";
        const std::string& value = *argument.value;
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
        } else if (arg == "--up") {
            if (value != "y" && value != "z")
                return "--up takes y or z, not '" + value + "'";
            options.model.upAxis = value[0];
        } else if (arg == "--import-time-limit") {
            if (!ParseFloat(value, 0.1f, 86400.0f, real))
                return "--import-time-limit takes seconds from 0.1 to 86400, not '" + value + "'";
            options.model.timeLimitSeconds = real;
        } else if (arg == "--frame") {
            if (!ParseInt(value, -kMaxFrame, kMaxFrame, number))
                return "--frame takes a frame number from " + std::to_string(-kMaxFrame) + " to " +
                       std::to_string(kMaxFrame) + ", not '" + value + "'";
            options.frame = number;
        } else if (arg == "--frames") {
            std::vector<int> frames;
            const std::string error = ParseFrameList(value, frames);
            if (!error.empty())
                return error;
            options.frames = std::move(frames);
        } else if (arg == "--threads") {
            if (!ParseInt(value, 1, 1024, number))
                return "--threads takes a number from 1 to 1024, not '" + value + "'";
            options.threads = number;
        } else {
            options.output = value;
        }
    }
    if (options.output.empty())
        return "'" + command + "' needs an output file: -o OUT.png";
    if (options.frame && options.frames)
        return "--frame and --frames cannot go together";
    if (options.frames) {
        const std::string problem = FramePatternProblem(options.output);
        if (!problem.empty())
            return "--frames: " + problem;
    }
    if (options.skipExisting && !options.frames)
        return "--skip-existing skips the frames of a sequence already written: it needs --frames";
    if (options.printShader && options.renderer != RendererKind::MentalRay)
        return "--print-shader shows mental ray's shaders: it needs --renderer mentalray";
    return std::string();
}

std::string ParseRenderOptions(std::vector<std::string> arguments, RenderOptions& options,
                               const std::string& command) {
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    return ParseRenderOptions(static_cast<int>(pointers.size()), pointers.data(), 0, options, command);
}

RenderSource RenderSceneSource(const RenderOptions& options, TemporaryPicture& picture, int& maps) {
    if (options.map.bitmap)
        CheckBitmap(*options.map.bitmap);
    const std::string origin = RenderSceneOrigin(options);
    RenderSource source;
    source.modelOptions = options.model;
    if (options.scene.empty()) {
        source.document = BuiltinScene();
    } else if (IsModelFile(options.scene)) {
        source.model = ImportModel(options.scene, options.model);
        source.document = ModelSceneDocument();
    } else {
        source.document = ParseSceneText(ReadSceneFile(PathFromUtf8(options.scene)), origin);
    }
    maps = ApplyMapSettings(source.document, options.map, [&picture] { return PathToUtf8(picture.Path()); });
    return source;
}

std::unique_ptr<SceneRoot> SceneFromSource(RenderSource& source, const std::string& origin,
                                           const PluginManager& plugins) {
    if (source.model.parts.empty())
        return SceneFromDocument(source.document, origin, plugins, {}, source.modelOptions);
    const auto addParts = [&](SceneRoot& scene, const SceneObjectLookup& objectById) {
        try {
            AddModelNodes(std::move(source.model), dynamic_cast<Mtl*>(objectById(kModelMaterialId)), scene);
        } catch (const std::runtime_error& e) {
            throw SceneError(origin + ": " + e.what());
        }
    };
    return SceneFromDocument(source.document, origin, plugins, addParts);
}

std::string RenderSceneOrigin(const RenderOptions& options) {
    return options.scene.empty() ? "built-in scene" : options.scene == "-" ? "standard input" : options.scene;
}

void CheckMapsInstalled(int maps, const RenderOptions& options, const PluginManager& plugins,
                        std::string& warning) {
    warning.clear();
    if (maps == 0)
        warning = RenderSceneOrigin(options) + " has no Chromasift map: the map's settings change nothing";
    else if (plugins.FindClass(TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID) == nullptr)
        throw SceneError(
            "the Chromasift map is not installed: no kr_tintworks.dlt in the plug-in directories "
            "provides it (see 'chromasift plugins')");
}

std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning) {
    int maps = 0;
    RenderSource source = RenderSceneSource(options, picture, maps);
    CheckMapsInstalled(maps, options, plugins, warning);
    return SceneFromSource(source, RenderSceneOrigin(options), plugins);
}

namespace {

// The frames of a range still to render: those whose file is missing when `skipExisting`.
std::vector<int> FramesToRender(const RenderOptions& options, int& skipped) {
    std::vector<int> frames;
    skipped = 0;
    for (int frame : *options.frames) {
        std::error_code ignored;
        if (options.skipExisting &&
            std::filesystem::exists(PathFromUtf8(FrameFileName(options.output, frame)), ignored)) {
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
