#pragma once

// The scene a set of render options names, read with the map settings written into its maps.
#include "host/base/plugin_library.h"
#include "host/import/builtin_picture.h"
#include "host/import/imported_model.h"
#include "host/job/render_options.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include <memory>
#include <string>

namespace host {

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
// Why the commands that need the Chromasift map cannot run with these plug-ins; empty when it is installed.
std::string MapNotInstalled(const PluginManager& plugins);
// `warning` tells when the scene has no Chromasift map though map settings were given; throws SceneError
// when the map is not installed.
void CheckMapsInstalled(int maps, const RenderOptions& options, const PluginManager& plugins,
                        std::string& warning);

// The scene to render: the scene file, the model file or the built-in scene, with the map settings written
// into its maps' records before the scene is read, so that they reach the maps the way a saved scene does. A
// map without a bitmap gets the built-in picture, which `picture` holds until the scene is done with.
// `warning` tells when the scene has no Chromasift map. Throws SceneError for a scene that cannot be read,
// and std::runtime_error for a --bitmap image that cannot be.
std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning);

} // namespace host
