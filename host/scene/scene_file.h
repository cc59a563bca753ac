#pragma once

// Scene files: JSON documents holding every object of a scene by its class, its parameter blocks by
// parameter ID with their types, and its references; the scene's top-level maps and nodes; and its camera.
#include "host/base/plugin_library.h"
#include "host/import/imported_model.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <stdexcept>

namespace host {

// A scene file that cannot be read; the message names the file, what is wrong and where.
class SceneError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The animation range, in frames, of a scene that does not give one: the host's own default.
inline constexpr int kDefaultFirstFrame = 0, kDefaultLastFrame = 100;

// Picture paths that lie under the scene file's folder are written relative to it, as loading reads them.
void SaveScene(SceneRoot& scene, const std::filesystem::path& file);
// Picture paths as the maps hold them.
std::string SceneToJson(SceneRoot& scene);

// Loads the way the host does: objects are created for loading, their stored references installed,
// `Load` called on each, and the post-load callbacks run in priority order once the whole scene is read,
// with the time slider and the animation range set as the scene gives them.
std::unique_ptr<SceneRoot> LoadScene(const std::filesystem::path& file, const PluginManager& plugins);
std::unique_ptr<SceneRoot> SceneFromJson(const std::string& text, const std::string& origin,
                                         const PluginManager& plugins);
// The objects of a document being read, by their IDs; null for an ID the document does not use.
using SceneObjectLookup = std::function<ReferenceTarget*(int id)>;
// Adds to a scene being read what its document does not spell out (an imported model's nodes). It runs
// once the document's objects exist and are connected and its nodes are in the scene, before the
// post-load callbacks, so that those see the whole scene.
using SceneAdditions = std::function<void(SceneRoot& scene, const SceneObjectLookup& objectById)>;

// The same for a document already parsed; `origin` names it in messages. The model files that its objects
// name are read within the time and memory limits of `models` (their triangulation and up axis follow the
// object and the file's kind).
std::unique_ptr<SceneRoot> SceneFromDocument(const Json& document, const std::string& origin,
                                             const PluginManager& plugins,
                                             const SceneAdditions& additions = {},
                                             const ModelImportOptions& models = {});
// Parses a scene file's text; throws SceneError naming `origin`, the line and the column.
Json ParseSceneText(const std::string& text, const std::string& origin);
// The most a scene file may hold: a path that names a device or a stream without end is refused once
// this much is read, not read until memory runs out.
inline constexpr std::uint64_t kMaxSceneFileBytes = std::uint64_t{1} << 30;
// Reads a scene file's text, "-" from standard input; throws SceneError when it cannot be opened or holds
// more than `maxBytes`.
std::string ReadSceneFile(const std::filesystem::path& file, std::uint64_t maxBytes = kMaxSceneFileBytes);
// The same from a stream of no known size (a device, a pipe, standard input); `name` names it in messages.
std::string ReadSceneText(std::istream& in, const std::string& name,
                          std::uint64_t maxBytes = kMaxSceneFileBytes);

} // namespace host
