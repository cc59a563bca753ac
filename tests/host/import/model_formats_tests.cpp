// Every model file kind the host reads: a box written in each kind by the import library's own exporters,
// read back by the host's importer. (FBX is written as text: the library's binary FBX writer makes files its
// own reader refuses.) The box keeps its shape whatever the file kind.
#include "host/scene/model_scene.h"

#include "part_faces.h"
#include "scratch_folder.h"
#include "test_files.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <gtest/gtest.h>

namespace {

TEST(ModelFormats, ABoxSurvivesEveryFileKind) {
    Assimp::Importer reader;
    const aiScene* box = reader.ReadFile(TestDataFile("meshes/box.obj"), 0);
    ASSERT_NE(box, nullptr) << reader.GetErrorString();
    const struct {
        const char* format; // the exporter's format ID
        const char* extension;
    } kinds[] = {{"stl", "stl"},  {"stlb", "stl"},    {"ply", "ply"},  {"3ds", "3ds"}, {"gltf2", "gltf"},
                 {"glb2", "glb"}, {"collada", "dae"}, {"fbxa", "fbx"}, {"obj", "obj"}};
    // The extent of the box as read from its own file, the same along every axis.
    const auto extent = [](const host::ImportedPart& part) {
        float low = 1e9f, high = -1e9f;
        for (const Point3& p : part.verts)
            for (int axis = 0; axis < 3; ++axis) {
                low = std::min(low, p[axis]);
                high = std::max(high, p[axis]);
            }
        return high - low;
    };
    const float size = extent(host::MergeParts(host::ImportModel(TestDataFile("meshes/box.obj"), {})));
    ASSERT_GT(size, 0.0f);
    // Some writers put side files (materials, buffers) beside the model: the folder takes them all away.
    const ScratchFolder folder;
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.format);
        const std::string file = folder.File(std::string("box_") + kind.format + "." + kind.extension);
        Assimp::Exporter writer;
        ASSERT_EQ(writer.Export(box, kind.format, file), AI_SUCCESS) << writer.GetErrorString();
        ASSERT_TRUE(host::IsModelFile(file));
        const host::ImportedPart merged = host::MergeParts(host::ImportModel(file, {}));
        EXPECT_EQ(merged.verts.size(), 8u) << "the corners weld to the box's eight";
        std::size_t triangles = 0;
        for (const std::vector<int>& face : import_test::Faces(merged))
            triangles += face.size() - 2;
        EXPECT_EQ(triangles, 12u) << "six sides of two triangles, as quads or triangles";
        EXPECT_NEAR(extent(merged), size, 1e-4f) << "the box keeps its size";
    }
}

} // namespace
