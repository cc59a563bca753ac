#pragma once

// What the render tests share: the loaded plug-in, a probe map whose colour is any function of the
// shading context, small scenes built in code or written as files, and the commands run as from the
// command line.
#include "host/base/plugin_library.h"
#include "host/job/render_options.h"
#include "host/job/render_source.h"
#include "host/render/scene_renderer.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/mtl_base.h"
#include "hostsdk/std_mat.h"

#include "scratch_folder.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace render_test {

// The plug-in directory beside the test program, loaded once for the whole program.
host::PluginManager& LoadedPlugins();

// A map that answers EvalColor with whatever `colour` computes, and calls `updated` (when set) on Update.
class ProbeMap : public Texmap {
public:
    explicit ProbeMap(std::function<AColor(ShadeContext&)> colour) : colour(std::move(colour)) {}

    AColor EvalColor(ShadeContext& sc) override { return colour(sc); }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {
        if (updated)
            updated();
    }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    std::function<AColor(ShadeContext&)> colour;
    std::function<void()> updated;
};

// A standard material whose diffuse slot holds `map`.
StdMat* MaterialWith(Texmap* map);
// Adds a node of `object` wearing `material` at `position` to the scene.
INode* AddNode(host::SceneRoot& scene, Object* object, Mtl* material, const Point3& position);
// A new box primitive of the given size (standing on z = 0, centred on x = y = 0).
GeomObject* NewBox(float size);
// A camera at `position` looking at `target`, z up, with a horizontal field of view of `fov` degrees.
host::SceneCamera CameraAt(const Point3& position, const Point3& target, float fov = 45.0f);

host::RenderSettings Settings(int width, int height, int threads = 1);
// The scene rendered without lights: every covered pixel is the map's colour.
host::FrameBuffer RenderUnlit(host::SceneRoot& scene, int width, int height, int threads = 1,
                              host::RendererKind renderer = host::RendererKind::Scanline);

// The scene the render command would draw with `options`, failing the test on a warning.
std::unique_ptr<host::SceneRoot> Prepare(const host::RenderOptions& options, host::TemporaryPicture& picture);
// Options of the map mode with this label and this many colours.
host::RenderOptions ModeOptions(const char* mode, int colours = 12);

// Writes the built-in scene with one more entry in its map's parameter block and the time slider at
// `sliderTime`; returns the file's name.
std::string WriteBuiltinSceneWith(const std::filesystem::path& file, const host::Json& param,
                                  int sliderTime = 0);
// Writes the built-in scene with its map's "Gamma" keyed, 1 at frame 0 and 3 at frame 30, and the time
// slider at frame 10; returns the file's name.
std::string WriteAnimatedScene(const std::filesystem::path& file);

// What a command printed, and its exit status (2 for options that do not parse, with the message in err).
struct Run {
    int status = -1;
    std::string out, err;
};
Run RunRenderWith(const host::RenderOptions& options, bool showProgress = false);
// Parses `args` (what follows "render" or "sheet") and runs the command when they parse.
Run RunRender(std::vector<std::string> args);
Run RunSheet(std::vector<std::string> args);
// What the render command's parser says of `args`: empty when they parse into `options`.
std::string ParseRender(std::vector<std::string> args, host::RenderOptions& options);
// The words of a command line, followed by `more` (paths, which may hold spaces).
std::vector<std::string> Words(const std::string& line, const std::vector<std::string>& more = {});

// The smallest file that is a whole PNG as the tool checks frames: the signature and the IEND chunk.
inline constexpr std::string_view kWholePng{"\x89PNG\r\n\x1a\n\0\0\0\0IEND\xae\x42\x60\x82", 20};

// A picture file read back through the SDK's bitmap manager.
class Picture {
public:
    explicit Picture(const std::filesystem::path& file);
    bool Loaded() const { return bitmap != nullptr; }
    int Width() const { return width; }
    int Height() const { return height; }
    AColor Pixel(int x, int y) const;

private:
    struct Deleter {
        void operator()(Bitmap* b) const { b->DeleteThis(); }
    };
    std::unique_ptr<Bitmap, Deleter> bitmap;
    int width = 0, height = 0;
};

} // namespace render_test
