// The mental ray stand-in end to end with the loaded plug-in: the numbering the map writes before the
// render reaches the host's shader through the render's copies of the geometry. How faces and elements are
// numbered is the shade folder's to test; which renderers number, and where, the map's.
#include "host/job/render_options.h"
#include "host/render/mr_chromasift_shader.h"
#include "host/render/mr_shader_print.h"
#include "host/render/scene_renderer.h"

#include "render_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

class MentalRayRender : public ::testing::Test {
protected:
    std::unique_ptr<host::SceneRoot> Prepare(const char* mode) {
        host::RenderOptions options = render_test::ModeOptions(mode);
        // The built-in map and material on a triangle-mesh box (each side two triangles sharing an invisible
        // diagonal), its faces of material ID 77, and a polygon box, its faces of 5.
        options.scene = TestDataFile("scenes/mesh_and_polygon_boxes.json");
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
