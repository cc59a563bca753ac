// The mental ray stand-in end to end with the loaded plug-in: the numbering the map writes before the
// render reaches the host's shader through the render's copies of the geometry. How faces and elements are
// numbered is the shade folder's to test; which renderers number, and where, the map's.
#include "host/render/builtin_scene.h"
#include "host/render/mr_chromasift_shader.h"
#include "host/render/mr_shader_print.h"
#include "host/render/render_command.h"
#include "host/scene/geometry_json.h"
#include "host/scene/scene_file.h"
#include "host/scene/scene_records.h"
#include "host/text.h"

#include "render_test_support.h"
#include "test_meshes.h"

#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

namespace {

constexpr MtlID kStoredMeshID = 77;
constexpr MtlID kStoredPolygonID = 5;

// A scene of the built-in map and material on two objects: a triangle-mesh box (each side two triangles
// sharing an invisible diagonal) and a polygon box.
std::string WritePartsScene(const std::filesystem::path& file) {
    host::Json document = host::BuiltinScene();
    host::Json objects = host::Json::array();
    for (const host::Json& record : document["objects"])
        if (record["id"] == 1 || record["id"] == 2)
            objects.push_back(record);
    Mesh box;
    AddBox(box, 0.0f, kStoredMeshID);
    MNMesh polygons;
    for (int i = 0; i < 8; ++i)
        polygons.NewVert(Point3(static_cast<float>(i & 1), static_cast<float>((i >> 1) & 1),
                                static_cast<float>((i >> 2) & 1)));
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& quad : quads)
        polygons.F(polygons.NewFace(-1, 4, quad))->material = kStoredPolygonID;
    objects.push_back(host::GeometryRecord(10, triObjectClassID, {{"mesh", host::WriteMesh(box)}}));
    objects.push_back(
        host::GeometryRecord(11, polyObjectClassID, {{"polyMesh", host::WritePolyMesh(polygons)}}));
    for (int i = 0; i < 2; ++i)
        objects.push_back(host::NodeRecord(20 + i, "Node" + std::to_string(i), 0,
                                           {{"position", {0.0f, 3.0f * static_cast<float>(i), 0.0f}}}, 10 + i,
                                           2));
    document["objects"] = objects;
    document["nodes"] = {20, 21};
    document["camera"] = {{"position", {6.0f, -4.0f, 5.0f}}, {"target", {0.5f, 2.0f, 0.5f}}, {"fov", 60.0f}};
    WriteBytes(file, document.dump());
    return host::PathToUtf8(file);
}

class MentalRayRender : public ::testing::Test {
protected:
    std::unique_ptr<host::SceneRoot> Prepare(const char* mode) {
        host::RenderOptions options = render_test::ModeOptions(mode);
        options.scene = WritePartsScene(folder / "parts.json");
        return render_test::Prepare(options, picture);
    }

    host::FrameBuffer Render(host::SceneRoot& scene, host::RendererKind renderer) {
        host::RenderSettings settings = render_test::Settings(120, 90, 2);
        settings.unlit = true;
        settings.renderer = renderer;
        settings.shaderTranslated = [this](imrShader& shader) {
            shaders.push_back(host::ReadChromasiftShader(shader));
        };
        return host::RenderScene(scene, settings);
    }

    // Every pixel of the node shows the colour the shader picks for the material ID `expected` gives its
    // face; returns the number of pixels checked.
    int CheckNode(const host::FrameBuffer& frame, int node, const std::function<int(int face)>& expected) {
        EXPECT_EQ(shaders.size(), 1u) << "one map, one shader";
        int checked = 0;
        for (std::size_t i = 0; i < frame.colour.size() && !shaders.empty(); ++i) {
            if (frame.nodeID[i] != node)
                continue;
            host::ShaderSample sample;
            sample.materialID = expected(frame.face[i]);
            const int index = host::ChromasiftShaderIndex(shaders.back(), sample, 0.0f);
            EXPECT_GE(index, 0);
            if (index >= 0) {
                EXPECT_EQ(frame.colour[i], shaders.back().colours[static_cast<std::size_t>(index)])
                    << "node " << node << ", face " << frame.face[i];
            }
            ++checked;
        }
        return checked;
    }

    const ScratchFolder folder;
    host::TemporaryPicture picture;
    std::vector<host::ChromasiftShaderParams> shaders;
};

// The render's copies are numbered: a mesh box's sides 1 to 6, a polygon box's 0 to 5 (which copies, and
// that the stored meshes keep their IDs, is the map's to test).
TEST_F(MentalRayRender, PerFaceReachesTheShaderThroughTheNumberedRenderCopies) {
    std::unique_ptr<host::SceneRoot> scene = Prepare("Per Face");
    const host::FrameBuffer frame = Render(*scene, host::RendererKind::MentalRay);
    EXPECT_GT(CheckNode(frame, 0, [](int face) { return face / 2 + 1; }), 50);
    EXPECT_GT(CheckNode(frame, 1, [](int face) { return face / 2; }), 50);
}

TEST(MentalRayCommand, PrintShaderShowsWhatMentalRayReceives) {
    const ScratchFolder folder;
    const render_test::Run run =
        render_test::RunRender({"--mode", "VRay Instance (rnd)", "--colors", "3", "--renderer", "mentalray",
                                "--print-shader", "--size", "32x24", "-o", folder.File("printed.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& text = run.out;
    EXPECT_EQ(text.find("mental ray shader \"Chromasift (KR Chromasift)\", declaration \"Chromasift\"\n"), 0u)
        << text;
    for (const char* line : {"  colors = 3 colours\n", "  mappingMode = 8\n", "  inputMap = 0\n",
                             "  mapping = 0\n", "  UScale = 1\n", "  WAngle = 0\n", "  tileWidth = ",
                             "  inputMap.shader = none\n", "    [2] ", "mentalray renderer"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
}

} // namespace
