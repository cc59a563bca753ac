// Real model files rendered with the loaded plug-in: polygons, material IDs and parts reach the map.
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "../render_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace {

using FaceGroupColour = std::tuple<float, float, float>;

class ModelRender : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host::CanImportModels())
            GTEST_SKIP() << "this build cannot import model files";
    }

    // The unlit frame of a model rendered in `mode` with the scanline renderer and twelve colours.
    static host::FrameBuffer Render(const std::string& model, const char* mode, bool triangulate = false) {
        host::RenderOptions options;
        options.scene = TestDataFile(model);
        options.model.triangulate = triangulate;
        options.map.mode = host::FindMapMode(mode)->combined;
        options.map.colours = 12;
        options.map.bitmap = TestDataFile("images/rubberwhale1.png");
        host::TemporaryPicture picture;
        std::string warning;
        const std::unique_ptr<host::SceneRoot> scene =
            host::PrepareRenderScene(options, render_test::LoadedPlugins(), picture, warning);
        host::RenderSettings settings = render_test::Settings(160, 120, 2);
        settings.unlit = true;
        return host::RenderScene(*scene, settings);
    }

    // The colours seen on each group of render faces, the group being face / `facesPerGroup`.
    static std::map<int, std::set<FaceGroupColour>> ColoursByFaceGroup(const host::FrameBuffer& frame,
                                                                       int facesPerGroup) {
        std::map<int, std::set<FaceGroupColour>> groups;
        for (std::size_t i = 0; i < frame.colour.size(); ++i)
            if (frame.face[i] >= 0)
                groups[frame.face[i] / facesPerGroup].insert(
                    {frame.colour[i].r, frame.colour[i].g, frame.colour[i].b});
        return groups;
    }
};

TEST_F(ModelRender, PerFaceColoursWholePolygonsOfAQuadModel) {
    // Each quad of box.obj is rendered as two triangles, 2k and 2k + 1.
    const std::map<int, std::set<FaceGroupColour>> quads =
        ColoursByFaceGroup(Render("meshes/box.obj", "Per Face"), 2);
    ASSERT_GE(quads.size(), 2u) << "the camera sees several sides";
    std::set<FaceGroupColour> distinct;
    for (const auto& [quad, colours] : quads) {
        EXPECT_EQ(colours.size(), 1u) << "quad " << quad << " shows " << colours.size() << " colours";
        distinct.insert(*colours.begin());
    }
    EXPECT_GT(distinct.size(), 1u) << "the sides differ";

    // Triangulated, every triangle is a polygon of its own: some quad shows two colours.
    const std::map<int, std::set<FaceGroupColour>> split =
        ColoursByFaceGroup(Render("meshes/box.obj", "Per Face", true), 2);
    bool twoColoured = false;
    for (const auto& [quad, colours] : split)
        twoColoured = twoColoured || colours.size() > 1;
    EXPECT_TRUE(twoColoured);
}

TEST_F(ModelRender, MaterialIdFollowsTheFilesMaterials) {
    // cube_usemtl.obj gives its sides several materials; faces of one material share a colour, and more
    // than one colour shows.
    const host::FrameBuffer frame = Render("meshes/cube_usemtl.obj", "Material ID");
    const std::map<int, std::set<FaceGroupColour>> faces = ColoursByFaceGroup(frame, 1);
    std::set<FaceGroupColour> seen;
    for (const auto& [face, colours] : faces) {
        EXPECT_EQ(colours.size(), 1u);
        seen.insert(colours.begin(), colours.end());
    }
    EXPECT_GT(seen.size(), 1u);
}

TEST_F(ModelRender, ObjectRandomColoursEachPartInOneColour) {
    const host::FrameBuffer frame = Render("meshes/spider.obj", "Object (random)");
    std::map<int, std::set<FaceGroupColour>> parts;
    for (std::size_t i = 0; i < frame.colour.size(); ++i)
        if (frame.nodeID[i] >= 0)
            parts[frame.nodeID[i]].insert({frame.colour[i].r, frame.colour[i].g, frame.colour[i].b});
    ASSERT_GT(parts.size(), 1u);
    for (const auto& [node, colours] : parts)
        EXPECT_EQ(colours.size(), 1u) << "node " << node;
}

} // namespace
