// Scene files: the document as a whole. Its objects are created, connected and loaded, the top-level maps
// and nodes and the camera put in the scene, and the post-load callbacks run last.
#include "host/scene/scene_reader.h"

#include "host/scene/geometry_json.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/load_save.h"

#include <algorithm>

namespace host {

namespace {

// Keeps every object of a load alive until the scene's root holds what it needs; objects nothing refers
// to are deleted with it, also when the load fails half-way.
class LoadKeeper : public SceneRoot {};

class CollectingLoader : public ILoad {
public:
    ~CollectingLoader() override {
        for (PostLoadCallback* callback : callbacks)
            delete callback;
    }
    void RegisterPostLoadCallback(PostLoadCallback* callback) override { callbacks.push_back(callback); }

    // Lower priorities first; callbacks of equal priority in registration order. Each deletes itself.
    void RunCallbacks() {
        std::stable_sort(callbacks.begin(), callbacks.end(), [](PostLoadCallback* a, PostLoadCallback* b) {
            return a->Priority() < b->Priority();
        });
        std::vector<PostLoadCallback*> pending;
        pending.swap(callbacks);
        for (PostLoadCallback* callback : pending)
            callback->proc(this);
    }

private:
    std::vector<PostLoadCallback*> callbacks;
};

} // namespace

std::unique_ptr<SceneRoot> SceneReader::Read(const Json& document, const SceneAdditions& additions) {
    if (!document.is_object())
        Fail("", "a scene file holds one JSON object");
    OnlyMembers(document, "",
                {"format", "version", "objects", "maps", "nodes", "camera", "sliderTime", "animationRange"});
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || format->get<std::string>() != kSceneFormat)
        Fail("/format", std::string("expected \"") + kSceneFormat + "\"");
    const Json& version = Member(document, "", "version");
    if (!version.is_number_integer() || version.get<long long>() != kSceneVersion)
        Fail("/version", "this host reads scene version " + std::to_string(kSceneVersion));
    const Json& records = Member(document, "", "objects");
    if (!records.is_array())
        Fail("/objects", "expected an array of objects");

    const TimeSlider slider = ReadTimeSlider(document);

    // Values and keys are read as stored: animate mode must not turn them into new keys.
    AnimateSuspend suspended;
    LoadKeeper keeper;
    for (std::size_t i = 0; i < records.size(); ++i)
        Create(records[i], "/objects/" + std::to_string(i), keeper);
    for (std::size_t i = 0; i < records.size(); ++i)
        Connect(records[i], "/objects/" + std::to_string(i));

    CollectingLoader loader;
    for (auto& [id, loaded] : objects)
        loaded.object->Load(&loader);

    auto scene = std::make_unique<SceneRoot>();
    const Json& maps = document.contains("maps") ? document["maps"] : Json::array();
    if (!maps.is_array())
        Fail("/maps", "expected an array of object IDs");
    for (std::size_t i = 0; i < maps.size(); ++i) {
        auto* map = dynamic_cast<Texmap*>(Resolve(maps[i], "/maps/" + std::to_string(i)));
        if (map == nullptr)
            Fail("/maps/" + std::to_string(i), "the object is not a map");
        scene->AddMap(map);
    }
    const Json& nodes = document.contains("nodes") ? document["nodes"] : Json::array();
    if (!nodes.is_array())
        Fail("/nodes", "expected an array of object IDs");
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        auto* node = dynamic_cast<INode*>(Resolve(nodes[i], "/nodes/" + std::to_string(i)));
        if (node == nullptr)
            Fail("/nodes/" + std::to_string(i), "the object is not a node");
        scene->AddNode(node);
    }
    if (additions)
        additions(*scene, [this](int id) {
            const auto found = objects.find(id);
            return found == objects.end() ? nullptr : found->second.object;
        });
    if (document.contains("camera"))
        scene->SetCamera(ReadCamera(document["camera"], origin, "/camera"));
    // Post-load work sees the whole scene in place, with the slider where the scene left it.
    GetCOREInterface()->SetAnimRange(slider.range);
    GetCOREInterface()->SetTime(slider.time);
    loader.RunCallbacks();
    return scene;
}

Json ParseSceneText(const std::string& text, const std::string& origin) {
    try {
        return Json::parse(text);
    } catch (const Json::exception& e) {
        // A syntax error's message names the line and column. A number beyond the range of a double is
        // refused by the parser too (as out of range rather than as a parse error): the file is just as
        // malformed.
        std::string message = e.what();
        const std::size_t detail = message.find("] ");
        message = detail == std::string::npos ? message : message.substr(detail + 2);
        throw SceneError(origin + ": not valid JSON: " + message);
    }
}

std::unique_ptr<SceneRoot> SceneFromDocument(const Json& document, const std::string& origin,
                                             const PluginManager& plugins, const SceneAdditions& additions,
                                             const ModelImportOptions& models) {
    return SceneReader(origin, plugins, models).Read(document, additions);
}

std::unique_ptr<SceneRoot> SceneFromJson(const std::string& text, const std::string& origin,
                                         const PluginManager& plugins) {
    return SceneFromDocument(ParseSceneText(text, origin), origin, plugins);
}

std::unique_ptr<SceneRoot> LoadScene(const std::filesystem::path& file, const PluginManager& plugins) {
    return SceneFromJson(ReadSceneFile(file), file.string(), plugins);
}

} // namespace host
