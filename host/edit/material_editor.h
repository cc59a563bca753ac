#pragma once

// The material-editor window of the "edit" command (Windows build): the map's rollouts in a rollup
// window, a File menu that saves the scene, and the replay of scripted user actions on the same window.
#include "host/edit/edit_script.h"
#include "host/scene/scene.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace host {

struct EditorSession {
    SceneRoot& scene;
    Texmap& map;
    std::string saveTo; // empty: File > Save asks for a file name
    // Set when the person chose File > Open...: the scene file to edit next, once this editor has closed.
    std::string openNext;
};

// Shows the editor until the person closes it, or opens another scene (then `session.openNext` names
// it). Returns the exit status.
int RunMaterialEditor(EditorSession& session, std::ostream& err);

// Replays the actions on the editor's controls, without waiting for a person, then closes it. Returns 0,
// or 1 with a message naming the script line of the first action that could not be done.
int ReplayEditScript(EditorSession& session, const std::vector<EditAction>& actions, std::ostream& out,
                     std::ostream& err);

// Whether this build has the windows the editor and the screenshots need (the Windows build).
bool HasWindowSystem();

// Writes PNG pictures of the editor's rollouts and of the map's reorder dialog into `directory`, copied
// from the windows' own device contexts; `picture`, when not empty, is chosen with the bitmap button first.
// Returns 0, or 1 with a message.
int TakeScreenshots(EditorSession& session, const std::string& picture,
                    const std::filesystem::path& directory, std::ostream& out, std::ostream& err);

} // namespace host
