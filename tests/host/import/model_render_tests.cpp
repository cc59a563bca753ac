// A real model file rendered with the loaded plug-in: its polygons reach the map. How imports split models
// into parts, materials and polygons is the import tests'; what the map makes of them, the map's.
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "../render_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace {

TEST(ModelRender, PerFaceColoursWholePolygonsOfAQuadModel) {
    if (!host::CanImportModels())
        GTEST_SKIP() << "this build cannot import model files";
    host::RenderOptions options;
    options.scene = TestDataFile("meshes/box.obj");
    options.map.mode = host::FindMapMode("Per Face")->combined;
    options.map.colours = 12;
    options.map.bitmap = TestDataFile("images/rubberwhale1.png");
    host::TemporaryPicture picture;
    std::string warning;
    const std::unique_ptr<host::SceneRoot> scene =
        host::PrepareRenderScene(options, render_test::LoadedPlugins(), picture, warning);
    host::RenderSettings settings = render_test::Settings(160, 120, 2);
    settings.unlit = true;
    const host::FrameBuffer frame = host::RenderScene(*scene, settings);

    // Each quad of box.obj is rendered as two triangles, 2k and 2k + 1.
    std::map<int, std::set<std::tuple<float, float, float>>> quads;
    for (std::size_t i = 0; i < frame.colour.size(); ++i)
        if (frame.face[i] >= 0)
            quads[frame.face[i] / 2].insert({frame.colour[i].r, frame.colour[i].g, frame.colour[i].b});
    ASSERT_GE(quads.size(), 2u) << "the camera sees several sides";
    std::set<std::tuple<float, float, float>> distinct;
    for (const auto& [quad, colours] : quads) {
        EXPECT_EQ(colours.size(), 1u) << "quad " << quad << " shows " << colours.size() << " colours";
        distinct.insert(*colours.begin());
    }
    EXPECT_GT(distinct.size(), 1u) << "the sides differ";
}

} // namespace
