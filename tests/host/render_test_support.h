#pragma once

// What the render tests share: the loaded plug-in, a probe map whose colour is any function of the
// shading context, and small scenes built in code.
#include "host/plugin_library.h"
#include "host/render/scene_renderer.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include "hostsdk/mtl_base.h"
#include "hostsdk/std_mat.h"

#include <functional>
#include <string>

namespace render_test {

// The plug-in directory beside the test program, loaded once for the whole program.
host::PluginManager& LoadedPlugins();

// A map that answers EvalColor with whatever `colour` computes, and counts its Update calls.
class ProbeMap : public Texmap {
public:
    explicit ProbeMap(std::function<AColor(ShadeContext&)> colour) : colour(std::move(colour)) {}

    AColor EvalColor(ShadeContext& sc) override { return colour(sc); }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override { ++updates; }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    std::function<AColor(ShadeContext&)> colour;
    int updates = 0;
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

// A fresh path in the temporary directory; the file is removed with this object.
class TempFile {
public:
    explicit TempFile(const std::string& name);
    ~TempFile();
    const std::filesystem::path& Path() const { return path; }
    std::string Utf8() const;

private:
    std::filesystem::path path;
};

// Writes the built-in scene with one more entry in its map's parameter block and the time slider at
// `sliderTime`; returns the file's name.
std::string WriteBuiltinSceneWith(const TempFile& file, const host::Json& param, int sliderTime = 0);

// Writes the built-in scene with its map's "Gamma" keyed, 1 at frame 0 and 3 at frame 30, and the time
// slider at frame 10; returns the file's name.
std::string WriteAnimatedScene(const TempFile& file);
// Writes a scene of one Chromasift map named "Chromasift", and nothing to draw, whose "Bitmapname" entry
// is `bitmap`.
void WriteMapScene(const TempFile& file, const host::Json& bitmap);

} // namespace render_test
