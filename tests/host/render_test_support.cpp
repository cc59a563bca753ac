#include "render_test_support.h"

#include "host/render/builtin_scene.h"
#include "host/render/primitive_objects.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/node.h"
#include "hostsdk/path_config.h"

#include <fstream>
#include <random>

namespace render_test {

host::PluginManager& LoadedPlugins() {
    // A static of this function, so that the module unloads at exit before the SDK's own statics go.
    static host::PluginManager plugins = [] {
        IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
        paths->ClearPlugInEntries();
        paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
        GetCOREInterface()->SetQuietMode(TRUE);
        host::PluginManager manager;
        manager.LoadAll();
        return manager;
    }();
    return plugins;
}

StdMat* MaterialWith(Texmap* map) {
    StdMat* material = NewDefaultStdMat();
    material->SetSubTexmap(ID_DI, map);
    return material;
}

INode* AddNode(host::SceneRoot& scene, Object* object, Mtl* material, const Point3& position) {
    auto* node = new INode();
    node->SetObjectRef(object);
    node->SetMtl(material);
    Matrix3 tm(true);
    tm[3] = position;
    node->SetNodeTM(0, tm);
    scene.AddNode(node);
    return node;
}

GeomObject* NewBox(float size) {
    const float values[] = {size, size, size};
    return host::CreatePrimitive(*host::FindPrimitiveType(std::string("box")), values);
}

host::SceneCamera CameraAt(const Point3& position, const Point3& target, float fov) {
    host::SceneCamera camera;
    camera.position = position;
    camera.target = target;
    camera.up = Point3(0.0f, 0.0f, 1.0f);
    camera.fov = fov;
    return camera;
}

host::RenderSettings Settings(int width, int height, int threads) {
    host::RenderSettings settings;
    settings.width = width;
    settings.height = height;
    settings.threads = threads;
    return settings;
}

TempFile::TempFile(const std::string& name) {
    std::random_device device;
    path =
        std::filesystem::temp_directory_path() / ("chromasift-test-" + std::to_string(device()) + "-" + name);
}

TempFile::~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string TempFile::Utf8() const {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string WriteBuiltinSceneWith(const TempFile& file, const host::Json& param, int sliderTime) {
    host::Json scene = host::BuiltinScene();
    host::Json& map = scene["objects"][0];
    if (!map.contains("paramBlocks"))
        map["paramBlocks"] =
            host::Json::array({host::Json{{"ref", 0}, {"block", 0}, {"params", host::Json::array()}}});
    map["paramBlocks"][0]["params"].push_back(param);
    scene["sliderTime"] = sliderTime;
    std::ofstream(file.Path()) << scene.dump();
    return file.Utf8();
}

std::string WriteAnimatedScene(const TempFile& file) {
    return WriteBuiltinSceneWith(
        file,
        host::Json{{"id", 7},
                   {"type", "float"},
                   {"keys", host::Json::array({host::Json{0, 1.0}, host::Json{4800, 3.0}})}},
        1600);
}

void WriteMapScene(const TempFile& file, const host::Json& bitmap) {
    host::Json block{{"ref", 0}, {"block", 0}, {"params", host::Json::array({bitmap})}};
    host::Json map{{"id", 1},
                   {"superClass", "0xc10"},
                   {"class", {"0x61c17ce2", "0x2fa47e5b"}},
                   {"name", "Chromasift"},
                   {"paramBlocks", host::Json::array({block})}};
    const host::Json scene{{"format", "chromasift-scene"},
                           {"version", 1},
                           {"objects", host::Json::array({map})},
                           {"maps", host::Json::array({1})}};
    std::ofstream(file.Path()) << scene.dump();
}

} // namespace render_test
