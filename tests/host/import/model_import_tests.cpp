// Model files read into parts. The files are real models made by others; what the tests expect of them is
// counted from the files' own text here.
#include "host/scene/model_scene.h"

#include "error_message.h"
#include "part_faces.h"
#include "scratch_folder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

using host::ImportedModel;
using host::ImportedPart;
using host::ImportModel;

// The lines of a text model file that start with `keyword` and a space.
std::vector<std::string> LinesStartingWith(const std::string& file, const std::string& keyword) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(keyword + " ", 0) == 0)
            lines.push_back(line.substr(keyword.size() + 1));
    return lines;
}

class ModelImport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host::CanImportModels())
            GTEST_SKIP() << "this build cannot import model files";
    }
};

TEST_F(ModelImport, QuadsStayPolygonsUnlessTriangulated) {
    const std::string file = TestDataFile("meshes/box.obj");
    const ImportedModel model = ImportModel(file, {});
    ASSERT_EQ(model.parts.size(), 1u);
    const ImportedPart& box = model.parts[0];
    EXPECT_EQ(box.verts.size(), LinesStartingWith(file, "v").size());
    ASSERT_EQ(box.FaceCount(), LinesStartingWith(file, "f").size());
    for (const std::vector<int>& face : import_test::Faces(box))
        EXPECT_EQ(face.size(), 4u);
    EXPECT_TRUE(box.HasPolygons());

    host::ModelImportOptions triangulate;
    triangulate.triangulate = true;
    const ImportedModel triangles = ImportModel(file, triangulate);
    ASSERT_EQ(triangles.parts.size(), 1u);
    EXPECT_EQ(triangles.parts[0].FaceCount(), 2 * box.FaceCount());
    EXPECT_FALSE(triangles.parts[0].HasPolygons());
    EXPECT_EQ(triangles.parts[0].verts.size(), box.verts.size()) << "corners of one position are welded";
}

TEST_F(ModelImport, MaterialsBecomeFaceMaterialIndices) {
    const std::string file = TestDataFile("meshes/cube_usemtl.obj");
    const std::vector<std::string> uses = LinesStartingWith(file, "usemtl");
    const std::set<std::string> names(uses.begin(), uses.end());
    ASSERT_GT(names.size(), 1u);
    const ImportedPart merged = host::MergeParts(ImportModel(file, {}));
    EXPECT_EQ(merged.FaceCount(), LinesStartingWith(file, "f").size());
    const std::set<int> materials(merged.faceMaterials.begin(), merged.faceMaterials.end());
    EXPECT_EQ(materials.size(), names.size());
}

TEST_F(ModelImport, TextureCoordinatesFollowTheCorners) {
    // cube_uv.ply: vertex 1 is at (1, -1, -1) with s, t = (1, 0); vertex 3 at (-1, 1, -1) with (0, 1).
    const ImportedModel model = ImportModel(TestDataFile("meshes/cube_uv.ply"), {});
    ASSERT_EQ(model.parts.size(), 1u);
    const ImportedPart& cube = model.parts[0];
    ASSERT_FALSE(cube.uvVerts.empty());
    const import_test::FaceLists faces = import_test::Faces(cube), uvFaces = import_test::UvFaces(cube);
    ASSERT_EQ(uvFaces.size(), faces.size());
    EXPECT_EQ(faces.size(), 6u);
    EXPECT_EQ(cube.verts.size(), 8u) << "24 file vertices at 8 positions";
    int checked = 0;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        ASSERT_EQ(uvFaces[f].size(), faces[f].size());
        for (std::size_t c = 0; c < faces[f].size(); ++c) {
            const Point3& p = cube.verts[static_cast<std::size_t>(faces[f][c])];
            const Point3& uv = cube.uvVerts[static_cast<std::size_t>(uvFaces[f][c])];
            if (f == 0 && p == Point3(1.0f, -1.0f, -1.0f)) {
                EXPECT_EQ(uv, Point3(1.0f, 0.0f, 0.0f));
                ++checked;
            }
            if (f == 0 && p == Point3(-1.0f, 1.0f, -1.0f)) {
                EXPECT_EQ(uv, Point3(0.0f, 1.0f, 0.0f));
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 2) << "the first face holds both corners";
}

TEST_F(ModelImport, YUpModelsStandOnTheScenesZ) {
    // box.obj spans y from -1 to 1 like x and z, so take a model that is taller than it is deep.
    const ImportedPart upright = host::MergeParts(ImportModel(TestDataFile("meshes/Wuson.ply"), {}));
    host::ModelImportOptions asZUp;
    asZUp.upAxis = 'z';
    const ImportedPart lying = host::MergeParts(ImportModel(TestDataFile("meshes/Wuson.ply"), asZUp));
    ASSERT_EQ(upright.verts.size(), lying.verts.size());
    for (std::size_t i = 0; i < upright.verts.size(); i += 997) {
        EXPECT_FLOAT_EQ(upright.verts[i].z, lying.verts[i].y) << "file y is scene z";
        EXPECT_FLOAT_EQ(upright.verts[i].y, -lying.verts[i].z);
    }
}

TEST_F(ModelImport, ClearErrorsForFilesThatAreNotModels) {
    const auto message = [](const std::string& file) {
        return ErrorOf<std::runtime_error>([&] { ImportModel(file, {}); });
    };
    const std::string meshes = std::filesystem::path(TestDataFile("meshes/box.obj")).parent_path().string();
    EXPECT_NE(message(meshes).find("it is a directory"), std::string::npos);
    EXPECT_NE(message(meshes + "/none.obj").find("file not found"), std::string::npos);
    const ScratchFolder folder;
    WriteBytes(folder / "not_a_model.obj", "this is not a model\n");
    EXPECT_NE(message(folder.File("not_a_model.obj")).find(folder.File("not_a_model.obj")),
              std::string::npos);
    EXPECT_NE(message(folder.File("not_a_model.obj")).find("the file holds no meshes"), std::string::npos);
    WriteBytes(folder / "zeros.obj", std::string(100000, '\0'));
    EXPECT_NE(message(folder.File("zeros.obj")).find("not a model file: the file holds no meshes"),
              std::string::npos);
}

TEST(ModelImportUnavailable, SaysSoClearly) {
    if (host::CanImportModels())
        GTEST_SKIP() << "this build imports model files";
    const std::string message = ErrorOf<std::runtime_error>([] { ImportModel("model.obj", {}); });
    EXPECT_NE(message.find("cannot import model files"), std::string::npos) << message;
}

} // namespace
