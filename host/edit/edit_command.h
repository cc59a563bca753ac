#pragma once

// The "edit" command: the first Chromasift map of a scene in a material-editor window, as a person sees it
// in the host, or a script of user actions replayed on that window.
#include "host/base/plugin_library.h"
#include "host/scene/scene.h"

#include <memory>
#include <ostream>
#include <string>

namespace host {

struct EditOptions {
    std::string scene;  // empty: a new scene holding one new map
    std::string script; // empty: a person edits
    std::string output; // empty: the scene file itself
};

const char* EditUsage();

// Parses the arguments after "edit"; returns an error message, empty on success.
std::string ParseEditOptions(int argc, char** argv, int first, EditOptions& options);

// The scene to edit: the scene file, or a new scene with one map. Throws SceneError when it cannot be
// read or holds no Chromasift map.
std::unique_ptr<SceneRoot> SceneToEdit(const EditOptions& options, const PluginManager& plugins);

// The scene's first Chromasift map; SceneToEdit's scenes always hold one.
Texmap& MapToEdit(SceneRoot& scene);

// Opens the editor (or replays the script) and returns the exit status; messages go to `err`.
int RunEditCommand(const EditOptions& options, const PluginManager& plugins, std::ostream& out,
                   std::ostream& err);

} // namespace host
