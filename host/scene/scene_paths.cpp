#include "host/scene/scene_paths.h"

#include "host/base/text.h"

namespace host {

std::string SceneRelativePath(const std::string& origin, const std::string& name) {
    const std::filesystem::path path = PathFromUtf8(name);
    const std::filesystem::path folder = PathFromUtf8(origin).parent_path();
    if (name.empty() || path.is_absolute() || folder.empty())
        return name;
    // A path from a root without a drive ("\\pictures\\a.png" on Windows) names a place on the current drive,
    // as the system reads it, not one in the scene's folder.
    if (path.has_root_directory())
        return WorkingFolderPath(name);
    return PathToUtf8((folder / path).lexically_normal());
}

std::string WorkingFolderPath(const std::string& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(name), error);
    return name.empty() || error ? name : PathToUtf8(absolute.lexically_normal());
}

std::string PathForSavedScene(const std::filesystem::path& folder, const std::string& name) {
    if (folder.empty() || name.empty())
        return name;
    std::error_code error;
    const std::filesystem::path base = std::filesystem::absolute(folder, error).lexically_normal();
    const std::filesystem::path file =
        std::filesystem::absolute(PathFromUtf8(name), error).lexically_normal();
    if (error)
        return name;
    const std::filesystem::path relative = file.lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..")
        return name;
    // Forward slashes, so that the file reads the same on every system.
    return PathToUtf8(std::filesystem::path(relative.generic_wstring()));
}

} // namespace host
