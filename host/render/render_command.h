#pragma once

// The "render" command: a scene (a file, or the built-in scene) rendered with the map configured from the
// command line, written as a PNG file.
#include "host/plugin_library.h"
#include "host/render/builtin_picture.h"
#include "host/render/map_settings.h"
#include "host/render/scene_renderer.h"

#include <memory>
#include <ostream>
#include <string>

namespace host {

struct RenderOptions {
    // Empty for the built-in scene.
    std::string scene;
    MapSettings map;
    RendererKind renderer = RendererKind::Scanline;
    int width = 640;
    int height = 480;
    int threads = 0;
    bool unlit = false;
    // Print every mental ray shader instance as its map translated it.
    bool printShader = false;
    std::string output;
};

// The largest picture side the command renders.
inline constexpr int kMaxRenderSide = 8192;

// Parses the arguments after "render"; returns an error message, empty on success.
std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options);

// The scene to render: the scene file or the built-in scene, with the map settings written into its maps'
// records before the scene is read, so that they reach the maps the way a saved scene does. A map without
// a bitmap gets the built-in picture, which `picture` holds until the scene is done with. `warning` tells
// when the scene has no Chromasift map. Throws SceneError for a scene that cannot be read, and
// std::runtime_error for a --bitmap image that cannot be.
std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning);

// Runs the command: messages go to `err` (progress too, when `showProgress`), the summary to `out`.
// Returns 0 on success and 1 when the scene cannot be read, rendered or written.
int RunRenderCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress);

} // namespace host
