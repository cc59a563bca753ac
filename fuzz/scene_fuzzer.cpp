// Scene file bytes as the host loads them: parsed, every object created through its class (the Chromasift
// map through the plug-in module in plugins/ beside this program), references installed, post-load
// callbacks run; then a tiny render with one of the three renderers, chosen by the bytes.
#include "host/base/platform.h"
#include "host/render/scene_renderer.h"
#include "host/scene/scene_file.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/path_config.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const host::PluginManager* plugins = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    paths->ClearPlugInEntries();
    paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
    GetCOREInterface()->SetQuietMode(TRUE);
    // Never unloaded: the module stays attached until the process ends.
    auto* manager = new host::PluginManager();
    manager->LoadAll();
    if (manager->Libraries().empty()) {
        std::fprintf(stderr, "scene_fuzzer: no plug-in found in %s\n",
                     (host::ExecutableDirectory() / "plugins").string().c_str());
        std::abort();
    }
    plugins = manager;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<host::SceneRoot> scene;
    try {
        scene = host::SceneFromJson(text, "fuzz.json", *plugins);
    } catch (const host::SceneError&) {
        return 0; // refused with a message naming the problem
    }

    host::RenderSettings settings;
    settings.width = 8;
    settings.height = 8;
    settings.threads = 1;
    const std::uint8_t last = size == 0 ? 0 : data[size - 1];
    settings.renderer = static_cast<host::RendererKind>(last % 3);
    settings.unlit = (last & 4) != 0;
    host::RenderScene(*scene, settings);
    return 0;
}
