// The render command's path end to end with the loaded plug-in: scenes configured through the scene file
// reader, rendered, and the map's real colours checked in the frame.
#include "host/render/builtin_scene.h"
#include "host/render/png_file.h"
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "render_test_support.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace {

using Colour = std::tuple<float, float, float, float>;

Colour Key(const AColor& c) {
    return {c.r, c.g, c.b, c.a};
}

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Loads the scene the command would render with these map settings.
std::unique_ptr<host::SceneRoot> Prepare(const host::RenderOptions& options,
                                         host::TemporaryPicture& picture) {
    std::string warning;
    std::unique_ptr<host::SceneRoot> scene =
        host::PrepareRenderScene(options, render_test::LoadedPlugins(), picture, warning);
    EXPECT_EQ(warning, "");
    return scene;
}

host::RenderOptions Options(const char* mode, int colours = 12) {
    host::RenderOptions options;
    options.map.mode = host::FindMapMode(mode)->combined;
    options.map.colours = colours;
    return options;
}

host::RenderSettings Unlit(int width, int height, int threads,
                           host::RendererKind renderer = host::RendererKind::Scanline) {
    host::RenderSettings settings = render_test::Settings(width, height, threads);
    settings.unlit = true;
    settings.renderer = renderer;
    return settings;
}

// The colours each node shows, by node number.
std::map<int, std::set<Colour>> ColoursByNode(const host::FrameBuffer& frame) {
    std::map<int, std::set<Colour>> colours;
    for (std::size_t i = 0; i < frame.colour.size(); ++i)
        if (frame.nodeID[i] >= 0)
            colours[frame.nodeID[i]].insert(Key(frame.colour[i]));
    return colours;
}

// A scene file of one box wearing a Chromasift map, written for the test.
class BoxSceneFile : public render_test::TempFile {
public:
    BoxSceneFile() : TempFile("box.json") {
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
        std::ofstream(Path()) << document.dump(2);
    }
};

TEST(RenderEndToEnd, PerFaceGivesEachSideOfTheBoxItsOwnColour) {
    const BoxSceneFile file;
    host::RenderOptions options = Options("Per Face");
    options.scene = file.Utf8();
    host::TemporaryPicture picture;
    std::unique_ptr<host::SceneRoot> scene = Prepare(options, picture);
    ASSERT_EQ(scene->Nodes().size(), 1u);

    // Two views from opposite corners see all six sides; both triangles of a side share its colour.
    std::map<int, std::set<Colour>> sides;
    for (const Point3& eye : {Point3(70, -90, 80), Point3(-70, 90, -80)}) {
        scene->SetCamera(render_test::CameraAt(eye, Point3(0, 0, 18)));
        const host::FrameBuffer frame = host::RenderScene(*scene, Unlit(120, 90, 2));
        for (std::size_t i = 0; i < frame.colour.size(); ++i)
            if (frame.face[i] >= 0)
                sides[frame.face[i] / 2].insert(Key(frame.colour[i]));
    }
    ASSERT_EQ(sides.size(), 6u);
    std::set<Colour> distinct;
    for (const auto& [side, colours] : sides) {
        EXPECT_EQ(colours.size(), 1u) << "side " << side << " shows " << colours.size() << " colours";
        distinct.insert(*colours.begin());
    }
    EXPECT_EQ(distinct.size(), 6u) << "six polygons, six colours";
}

TEST(RenderEndToEnd, TheBuiltInSceneSavesAndLoadsAgain) {
    host::TemporaryPicture picture;
    host::RenderOptions options = Options("Per Element", 7);
    options.map.bitmap = TestDataFile("images/rubberwhale1.png");
    std::unique_ptr<host::SceneRoot> scene = Prepare(options, picture);
    ASSERT_EQ(scene->Nodes().size(), 5u);
    const std::string json = host::SceneToJson(*scene);
    std::unique_ptr<host::SceneRoot> loaded =
        host::SceneFromJson(json, "saved.json", render_test::LoadedPlugins());
    EXPECT_EQ(host::SceneToJson(*loaded), json);
    EXPECT_TRUE(host::RenderScene(*scene, Unlit(64, 48, 1)).colour ==
                host::RenderScene(*loaded, Unlit(64, 48, 1)).colour)
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
        std::unique_ptr<host::SceneRoot> scene = Prepare(Options(c.mode), picture);
        const std::map<int, std::set<Colour>> colours =
            ColoursByNode(host::RenderScene(*scene, Unlit(160, 120, 2, c.renderer)));
        ASSERT_EQ(colours.size(), 5u) << c.mode << ": ground, box, sphere, cylinder and polygon box";
        std::set<Colour> distinct;
        for (const auto& [node, set] : colours) {
            EXPECT_EQ(set.size(), 1u) << c.mode << ", node " << node;
            distinct.insert(*set.begin());
        }
        EXPECT_GE(distinct.size(), c.distinct) << c.mode;
        // Each object keeps its colour from render to render, on any number of threads.
        EXPECT_EQ(ColoursByNode(host::RenderScene(*scene, Unlit(160, 120, 1, c.renderer))), colours)
            << c.mode;
    }
}

TEST(RenderEndToEnd, EveryModeRendersAndThePngHoldsTheUnlitFrame) {
    for (const host::MapMode& mode : host::MapModes()) {
        const render_test::TempFile output("mode.png");
        host::RenderOptions options = Options(mode.label);
        options.renderer = mode.combined == 16 ? host::RendererKind::VRay : host::RendererKind::Scanline;
        options.width = 64;
        options.height = 48;
        options.threads = 1;
        options.unlit = true;
        options.output = output.Utf8();
        std::ostringstream out, err;
        ASSERT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 0)
            << mode.label << ": " << err.str();
        EXPECT_EQ(err.str(), "") << mode.label;

        // The same scene rendered here gives the bytes of the file.
        host::TemporaryPicture picture;
        std::unique_ptr<host::SceneRoot> scene = Prepare(options, picture);
        host::RenderSettings settings = Unlit(64, 48, 1, options.renderer);
        const std::vector<std::uint8_t> expected = host::ToRgba8(host::RenderScene(*scene, settings));
        const render_test::TempFile written("mode_here.png");
        host::WritePng(written.Path(), 64, 48, expected);
        EXPECT_EQ(Bytes(output.Path()), Bytes(written.Path())) << mode.label;
    }
}

} // namespace
