// The render command's path end to end with the loaded plug-in: scenes configured through the scene file
// reader, rendered, and the map's real colours checked in the frame.
#include "host/render/builtin_scene.h"
#include "host/render/png_file.h"
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "render_test_support.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using render_test::Colour;
using render_test::ModeOptions;
using render_test::Prepare;
using render_test::RenderUnlit;

// The colours each node shows, by node number.
std::map<int, std::set<Colour>> ColoursByNode(const host::FrameBuffer& frame) {
    std::map<int, std::set<Colour>> colours;
    for (std::size_t i = 0; i < frame.colour.size(); ++i)
        if (frame.nodeID[i] >= 0) {
            const AColor& c = frame.colour[i];
            colours[frame.nodeID[i]].insert({c.r, c.g, c.b, c.a});
        }
    return colours;
}

// Each polygon (or node) shows one colour, and `distinct` of them at least differ.
void ExpectOneColourEach(const std::map<int, std::set<Colour>>& colours, std::size_t distinct) {
    std::set<Colour> all;
    for (const auto& [key, set] : colours) {
        EXPECT_EQ(set.size(), 1u) << key << " shows " << set.size() << " colours";
        all.insert(*set.begin());
    }
    EXPECT_GE(all.size(), distinct);
}

TEST(RenderEndToEnd, PerFaceGivesEachSideOfTheBoxItsOwnColour) {
    // The built-in scene's map and material on its box alone.
    const ScratchFolder folder;
    host::Json document = host::BuiltinScene();
    host::Json objects = host::Json::array();
    for (const host::Json& record : document["objects"])
        if (record["id"] == 1 || record["id"] == 2 || record["id"] == 4)
            objects.push_back(record);
    objects.push_back({{"id", 20},
                       {"superClass", "0x00000001"},
                       {"class", {"0x0", "0x0"}},
                       {"name", "Box"},
                       {"references", {{{"ref", 0}, {"object", 4}}, {{"ref", 1}, {"object", 2}}}}});
    document["objects"] = objects;
    document["nodes"] = {20};
    WriteBytes(folder / "box.json", document.dump());
    host::RenderOptions options = ModeOptions("Per Face");
    options.scene = folder.File("box.json");
    host::TemporaryPicture picture;
    std::unique_ptr<host::SceneRoot> scene = Prepare(options, picture);
    ASSERT_EQ(scene->Nodes().size(), 1u);

    // Two views from opposite corners see all six sides; both triangles of a side share its colour.
    std::map<int, std::set<Colour>> sides;
    for (const Point3& eye : {Point3(70, -90, 80), Point3(-70, 90, -80)}) {
        scene->SetCamera(render_test::CameraAt(eye, Point3(0, 0, 18)));
        for (const auto& [side, colours] : render_test::ColoursByPolygon(RenderUnlit(*scene, 120, 90, 2)))
            sides[side].insert(colours.begin(), colours.end());
    }
    ASSERT_EQ(sides.size(), 6u);
    ExpectOneColourEach(sides, 6);
}

TEST(RenderEndToEnd, TheBuiltInSceneSavesAndLoadsAgain) {
    host::TemporaryPicture picture;
    host::RenderOptions options = ModeOptions("Per Element", 7);
    options.map.bitmap = TestDataFile("images/rubberwhale1.png");
    std::unique_ptr<host::SceneRoot> scene = Prepare(options, picture);
    ASSERT_EQ(scene->Nodes().size(), 5u);
    const std::string json = host::SceneToJson(*scene);
    std::unique_ptr<host::SceneRoot> loaded =
        host::SceneFromJson(json, "saved.json", render_test::LoadedPlugins());
    EXPECT_EQ(host::SceneToJson(*loaded), json);
    EXPECT_TRUE(RenderUnlit(*scene, 64, 48).colour == RenderUnlit(*loaded, 64, 48).colour)
        << "the saved scene renders the same picture";
}

// The node numbers, G-buffer IDs and V-Ray instances the renderers give reach the loaded map: each of the
// built-in scene's five objects in one colour of its own. The colours each number picks are the map's tests.
TEST(RenderEndToEnd, ObjectModesPaintEachNodeInOneColour) {
    host::TemporaryPicture picture;
    const struct {
        const char* mode;
        host::RendererKind renderer;
        std::size_t distinct;
    } cases[] = {
        {"Object (linear)", host::RendererKind::Scanline, 5},
        {"Object ID", host::RendererKind::Scanline, 5},
        {"Object (random)", host::RendererKind::Scanline, 2},
        {"VRay Instance (rnd)", host::RendererKind::VRay, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        std::unique_ptr<host::SceneRoot> scene = Prepare(ModeOptions(c.mode), picture);
        const auto colours = ColoursByNode(RenderUnlit(*scene, 160, 120, 2, c.renderer));
        ASSERT_EQ(colours.size(), 5u) << "ground, box, sphere, cylinder and polygon box";
        ExpectOneColourEach(colours, c.distinct);
        // Each object keeps its colour from render to render, on any number of threads.
        EXPECT_EQ(ColoursByNode(RenderUnlit(*scene, 160, 120, 1, c.renderer)), colours);
    }
}

TEST(RenderEndToEnd, EveryModeRendersAndThePngHoldsTheUnlitFrame) {
    const ScratchFolder folder;
    for (const host::MapMode& mode : host::MapModes()) {
        host::RenderOptions options = ModeOptions(mode.label);
        options.renderer = mode.combined == 16 ? host::RendererKind::VRay : host::RendererKind::Scanline;
        options.width = 64;
        options.height = 48;
        options.threads = 1;
        options.unlit = true;
        options.output = folder.File("mode.png");
        const render_test::Run run = render_test::RunRenderWith(options);
        ASSERT_EQ(run.status, 0) << mode.label << ": " << run.err;
        EXPECT_EQ(run.err, "") << mode.label;

        // The same scene rendered here gives the bytes of the file.
        host::TemporaryPicture picture;
        const host::FrameBuffer frame = RenderUnlit(*Prepare(options, picture), 64, 48, 1, options.renderer);
        host::WritePng(folder / "mode_here.png", 64, 48, host::ToRgba8(frame));
        EXPECT_EQ(ReadBytes(folder / "mode.png"), ReadBytes(folder / "mode_here.png")) << mode.label;
    }
}

} // namespace
