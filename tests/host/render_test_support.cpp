#include "render_test_support.h"

#include "host/base/text.h"
#include "host/commands/render_command.h"
#include "host/scene/builtin_scene.h"
#include "host/scene/primitive_objects.h"
#include "host/sheet/sheet_command.h"

#include "command_line.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/node.h"
#include "hostsdk/path_config.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

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

host::FrameBuffer RenderUnlit(host::SceneRoot& scene, int width, int height, int threads,
                              host::RendererKind renderer) {
    host::RenderSettings settings = Settings(width, height, threads);
    settings.unlit = true;
    settings.renderer = renderer;
    return host::RenderScene(scene, settings);
}

std::unique_ptr<host::SceneRoot> Prepare(const host::RenderOptions& options,
                                         host::TemporaryPicture& picture) {
    std::string warning;
    std::unique_ptr<host::SceneRoot> scene =
        host::PrepareRenderScene(options, LoadedPlugins(), picture, warning);
    EXPECT_EQ(warning, "");
    return scene;
}

host::RenderOptions ModeOptions(const char* mode, int colours) {
    host::RenderOptions options;
    options.map.mode = host::FindMapMode(mode)->combined;
    options.map.colours = colours;
    return options;
}

std::string WriteBuiltinSceneWith(const std::filesystem::path& file, const host::Json& param,
                                  int sliderTime) {
    host::Json scene = host::BuiltinScene();
    host::Json& map = scene["objects"][0];
    if (!map.contains("paramBlocks"))
        map["paramBlocks"] =
            host::Json::array({host::Json{{"ref", 0}, {"block", 0}, {"params", host::Json::array()}}});
    map["paramBlocks"][0]["params"].push_back(param);
    scene["sliderTime"] = sliderTime;
    WriteBytes(file, scene.dump());
    return host::PathToUtf8(file);
}

std::string WriteAnimatedScene(const std::filesystem::path& file) {
    return WriteBuiltinSceneWith(
        file,
        host::Json{{"id", 7},
                   {"type", "float"},
                   {"keys", host::Json::array({host::Json{0, 1.0}, host::Json{4800, 3.0}})}},
        1600);
}

namespace {

// Runs the command with the loaded plug-ins and keeps what it printed.
template <class Options, class Command>
Run Captured(Command command, const Options& options, bool showProgress) {
    std::ostringstream out, err;
    const int status = command(options, LoadedPlugins(), out, err, showProgress);
    return Run{status, out.str(), err.str()};
}

// The render command's parser with its own name in messages.
std::string ParseRenderArguments(int argc, char** argv, int first, host::RenderOptions& options) {
    return host::ParseRenderOptions(argc, argv, first, options);
}

// Parses the arguments with `parse` and, when they parse, runs the command with `run`.
template <class Options, class Parse, class Command>
Run ParseAndRun(std::vector<std::string>& args, Parse parse, Command command) {
    Options options;
    const std::string error = ParseCommandLine(parse, args, options);
    return error.empty() ? Captured(command, options, false) : Run{2, "", error};
}

} // namespace

Run RunRenderWith(const host::RenderOptions& options, bool showProgress) {
    return Captured(host::RunRenderCommand, options, showProgress);
}

Run RunRender(std::vector<std::string> args) {
    return ParseAndRun<host::RenderOptions>(args, ParseRenderArguments, host::RunRenderCommand);
}

std::string ParseRender(std::vector<std::string> args, host::RenderOptions& options) {
    return ParseCommandLine(ParseRenderArguments, std::move(args), options);
}

Run RunSheet(std::vector<std::string> args) {
    return ParseAndRun<host::SheetOptions>(args, host::ParseSheetOptions, host::RunSheetCommand);
}

std::vector<std::string> Words(const std::string& line, const std::vector<std::string>& more) {
    std::istringstream in(line);
    std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

Picture::Picture(const std::filesystem::path& file) {
    BitmapInfo info;
    info.SetName(file.wstring().c_str());
    BMMRES status = 1;
    bitmap.reset(TheManager->Load(&info, &status));
    EXPECT_EQ(status, 0) << host::PathToUtf8(file) << " cannot be read";
    width = info.Width();
    height = info.Height();
}

AColor Picture::Pixel(int x, int y) const {
    BMM_Color_fl p;
    EXPECT_NE(bitmap->GetLinearPixels(x, y, 1, &p), 0) << x << ", " << y;
    return AColor(p.r, p.g, p.b, p.a);
}

} // namespace render_test
