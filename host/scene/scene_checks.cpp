#include "host/scene/scene_checks.h"

#include "host/base/text.h"
#include "host/import/bitmap_status.h"
#include "host/scene/renderable_object.h"
#include "host/scene/scene_maps.h"
#include "plugin/param_ids.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/param_block.h"
#include "hostsdk/tex_gen.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>

namespace host {

namespace {

std::string MapName(Texmap& map, const char* kind) {
    const std::string name = ToUtf8(map.GetName());
    return name.empty() ? std::string("a ") + kind + " map without a name" : "the map \"" + name + "\"";
}

// Empty when the picture loads; else why not.
std::string LoadProblem(const std::string& file) {
    BitmapInfo info;
    info.SetName(FromUtf8(file).c_str());
    BMMRES status = BMMRES_SUCCESS;
    BitmapPtr bitmap(TheManager->Load(&info, &status));
    return bitmap != nullptr && status == BMMRES_SUCCESS ? std::string() : ImageLoadProblem(file, status);
}

} // namespace

std::vector<MissingPicture> FindMissingPictures(SceneRoot& scene) {
    const std::vector<Texmap*> maps = SceneMaps(scene);
    std::vector<MissingPicture> missing;
    std::set<std::string> named;
    const auto note = [&](const std::string& file, const std::string& map) {
        if (file.empty() || !named.insert(file).second)
            return;
        std::error_code error;
        if (!std::filesystem::exists(PathFromUtf8(file), error))
            missing.push_back({file, map, ""});
        else if (std::string problem = LoadProblem(file); !problem.empty())
            missing.push_back({file, map, problem});
    };
    for (Texmap* map : maps)
        if (map->ClassID() == CHROMASIFT_CLASS_ID)
            if (auto* block = dynamic_cast<IParamBlock2*>(map->GetReference(0)))
                if (PBBitmap* bitmap = block->GetBitmap(pb_bitmap))
                    note(ToUtf8(bitmap->bi.Name()), MapName(*map, "Chromasift"));
    for (Texmap* map : maps)
        if (auto* bitmap = dynamic_cast<BitmapTex*>(map))
            note(ToUtf8(bitmap->GetMapName()), MapName(*map, "bitmap"));
    return missing;
}

bool HasNothingToDraw(SceneRoot& scene, TimeValue t) {
    for (INode* node : scene.Nodes())
        if (RenderableObject(*node, t) != nullptr)
            return false;
    return true;
}

void CheckSceneBeforeRender(SceneRoot& scene, const std::string& origin, bool allowMissing,
                            std::ostream& err) {
    const std::vector<MissingPicture> missing = FindMissingPictures(scene);
    for (const MissingPicture& picture : missing)
        err << "chromasift: " << (allowMissing ? "warning: " : "") << origin << ": "
            << (picture.unreadable.empty() ? "missing" : "unreadable") << " picture '" << picture.file << "'"
            << (picture.unreadable.empty() ? "" : " (" + picture.unreadable + ")") << ", wanted by "
            << picture.map << "\n";
    const auto unreadable = std::count_if(missing.begin(), missing.end(),
                                          [](const MissingPicture& p) { return !p.unreadable.empty(); });
    if (!missing.empty() && !allowMissing)
        throw std::runtime_error(origin + ": " + std::to_string(missing.size()) +
                                 (missing.size() == 1 ? " picture is" : " pictures are") +
                                 (unreadable == 0 ? " missing" : " missing or unreadable") +
                                 "; --allow-missing renders without them");
    if (HasNothingToDraw(scene, GetCOREInterface()->GetTime()))
        err << "chromasift: warning: " << origin
            << ": the scene has no visible objects: the picture is empty (transparent)\n";
}

} // namespace host
