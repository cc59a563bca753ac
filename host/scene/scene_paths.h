#pragma once

// Relative paths in scene files are read from the scene file's folder, as glTF, OBJ's material libraries
// and USD read theirs, so that a scene renders the same from any working folder.
#include <filesystem>
#include <string>

namespace host {

// The file a scene at `origin` means by `name` (UTF-8): `name` itself when it is absolute or empty, or
// when `origin` names no folder (a scene in the working folder, standard input); else `name` in the scene
// file's folder.
std::string SceneRelativePath(const std::string& origin, const std::string& name);

// `name` as an absolute path, for a file named from the working folder (a command line's) that a scene
// document takes in; a name that cannot be made absolute stays as it is.
std::string WorkingFolderPath(const std::string& name);

// How a scene saved to `folder` writes `name`: relative to the folder when the file lies under it, else
// as it is (an empty folder: as it is).
std::string PathForSavedScene(const std::filesystem::path& folder, const std::string& name);

} // namespace host
