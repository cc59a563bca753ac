#pragma once

// The "render" command: a scene (a file, or the built-in scene) rendered with the map configured from the
// command line, written as a PNG file.
#include "host/import/imported_model.h"
#include "host/plugin_library.h"
#include "host/render/builtin_picture.h"
#include "host/render/frame_list.h"
#include "host/render/map_settings.h"
#include "host/render/scene_renderer.h"
#include "host/scene/scene_json.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace host {

struct RenderOptions {
    // A scene file, or a model file (by its extension); empty for the built-in scene.
    std::string scene;
    // How a model file is read.
    ModelImportOptions model;
    MapSettings map;
    RendererKind renderer = RendererKind::Scanline;
    int width = 640;
    int height = 480;
    int threads = 0;
    bool unlit = false;
    // --allow-missing: render although pictures the scene's maps name are missing.
    bool allowMissing = false;
    // Print every mental ray shader instance as its map translated it.
    bool printShader = false;
    // --frame: the frame rendered, with the time slider moved to it.
    std::optional<int> frame;
    // --frames: the frames of a range render, ascending; the output file name's run of '#' takes the frame
    // number (see FrameFileName).
    std::optional<std::vector<int>> frames;
    // --skip-existing: a frame of a range whose file is there already is not rendered again.
    bool skipExisting = false;
    std::string output;
};

// The largest picture side the command renders.
inline constexpr int kMaxRenderSide = 8192;

// A range of more frames than this says first how many files it writes.
inline constexpr std::size_t kManyFrames = 1000;

// The command's help: usage, options and an example.
const char* RenderUsage();

// Whether a render option is followed by its value ("--size 640x480").
bool RenderOptionTakesValue(const std::string& option);

// Parses the arguments after "render" (or another command that renders: `command` names it in messages);
// returns an error message, empty on success. Options left out keep the values `options` holds.
std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options,
                               const std::string& command = "render");
// The same for arguments another command has gathered for the render.
std::string ParseRenderOptions(std::vector<std::string> arguments, RenderOptions& options,
                               const std::string& command);

// What the scene to render is read from: the document of the scene file, the built-in scene or a model
// file's scene, and a model file's parts, which become nodes as the scene is read (see AddModelNodes).
struct RenderSource {
    Json document;
    ImportedModel model;
    // The limits of reading the model file, or the model files the scene file names.
    ModelImportOptions modelOptions;
};

// The source of the scene to render (the scene file, the model file or the built-in scene) with the map
// settings written into its maps' records; `maps` is the number of maps configured. A map without a bitmap
// gets the built-in picture, which `picture` holds. Throws SceneError for a scene that cannot be read, and
// std::runtime_error for a model or a --bitmap image that cannot be.
RenderSource RenderSceneSource(const RenderOptions& options, TemporaryPicture& picture, int& maps);
// Reads the scene of a source; the model's parts move into the scene's meshes, leaving `source.model`
// empty. Throws SceneError naming `origin`.
std::unique_ptr<SceneRoot> SceneFromSource(RenderSource& source, const std::string& origin,
                                           const PluginManager& plugins);
// The name of the rendered scene in messages.
std::string RenderSceneOrigin(const RenderOptions& options);
// `warning` tells when the scene has no Chromasift map; throws SceneError when the map is not installed.
void CheckMapsInstalled(int maps, const RenderOptions& options, const PluginManager& plugins,
                        std::string& warning);

// The scene to render: the scene file, the model file or the built-in scene, with the map settings written
// into its maps' records before the scene is read, so that they reach the maps the way a saved scene does. A
// map without a bitmap gets the built-in picture, which `picture` holds until the scene is done with.
// `warning` tells when the scene has no Chromasift map. Throws SceneError for a scene that cannot be read,
// and std::runtime_error for a --bitmap image that cannot be.
std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning);

// Runs the command: messages go to `err` (progress too, when `showProgress`), the summary to `out`.
// Returns 0 on success and 1 when the scene cannot be read, rendered or written.
int RunRenderCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress);

} // namespace host
