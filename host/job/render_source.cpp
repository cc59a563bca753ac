#include "host/job/render_source.h"

#include "host/base/text.h"
#include "host/import/bitmap_status.h"
#include "host/scene/builtin_scene.h"
#include "host/scene/model_scene.h"
#include "host/scene/scene_file.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/mtl.h"

#include <stdexcept>

namespace host {

namespace {

// The map would only show a message box for a bitmap it cannot load; the command says so before anything.
void CheckBitmap(const std::string& file) {
    BitmapInfo info;
    info.SetName(FromUtf8(file).c_str());
    BMMRES status = BMMRES_SUCCESS;
    Bitmap* bitmap = TheManager->Load(&info, &status);
    if (bitmap != nullptr)
        bitmap->DeleteThis();
    if (status == BMMRES_SUCCESS && bitmap != nullptr)
        return;
    throw std::runtime_error("cannot read the bitmap '" + file + "': " + ImageLoadProblem(file, status));
}

} // namespace

RenderSource RenderSceneSource(const RenderOptions& options, TemporaryPicture& picture, int& maps) {
    if (options.map.bitmap)
        CheckBitmap(*options.map.bitmap);
    const std::string origin = RenderSceneOrigin(options);
    RenderSource source;
    source.modelOptions = options.model;
    if (options.scene.empty()) {
        source.document = BuiltinScene();
    } else if (IsModelFile(options.scene)) {
        source.model = ImportModel(options.scene, options.model);
        source.document = ModelSceneDocument();
    } else {
        source.document = ParseSceneText(ReadSceneFile(PathFromUtf8(options.scene)), origin);
    }
    maps = ApplyMapSettings(source.document, options.map, [&picture] { return PathToUtf8(picture.Path()); });
    return source;
}

std::unique_ptr<SceneRoot> SceneFromSource(RenderSource& source, const std::string& origin,
                                           const PluginManager& plugins) {
    if (source.model.parts.empty())
        return SceneFromDocument(source.document, origin, plugins, {}, source.modelOptions);
    const auto addParts = [&](SceneRoot& scene, const SceneObjectLookup& objectById) {
        try {
            AddModelNodes(std::move(source.model), dynamic_cast<Mtl*>(objectById(kModelMaterialId)), scene);
        } catch (const std::runtime_error& e) {
            throw SceneError(origin + ": " + e.what());
        }
    };
    return SceneFromDocument(source.document, origin, plugins, addParts);
}

std::string RenderSceneOrigin(const RenderOptions& options) {
    return options.scene.empty() ? "built-in scene" : options.scene == "-" ? "standard input" : options.scene;
}

void CheckMapsInstalled(int maps, const RenderOptions& options, const PluginManager& plugins,
                        std::string& warning) {
    warning.clear();
    const MapSettings& map = options.map;
    const bool settingsGiven = map.bitmap || map.mode || map.colours || map.skip || map.gamma || map.hue ||
                               map.saturation || map.value;
    if (maps == 0 && settingsGiven)
        warning = RenderSceneOrigin(options) + " has no Chromasift map: the map's settings change nothing";
    else if (const std::string missing = MapNotInstalled(plugins); maps > 0 && !missing.empty())
        throw SceneError(missing);
}

std::string MapNotInstalled(const PluginManager& plugins) {
    if (plugins.FindClass(TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID) != nullptr)
        return std::string();
    return "the Chromasift map is not installed: no kr_tintworks.dlt in the plug-in directories provides it "
           "(see 'chromasift plugins')";
}

std::unique_ptr<SceneRoot> PrepareRenderScene(const RenderOptions& options, const PluginManager& plugins,
                                              TemporaryPicture& picture, std::string& warning) {
    int maps = 0;
    RenderSource source = RenderSceneSource(options, picture, maps);
    CheckMapsInstalled(maps, options, plugins, warning);
    return SceneFromSource(source, RenderSceneOrigin(options), plugins);
}

} // namespace host
