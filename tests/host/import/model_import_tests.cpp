// Model files read into parts, parts into scene documents, and scenes naming model files. The files are
// real models made by others; what the tests expect of them is counted from the files' own text here.
#include "host/import/model_scene.h"
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "hostsdk/mn_mesh.h"
#include "hostsdk/node.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include "../render_test_support.h"
#include "part_faces.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

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

TEST_F(ModelImport, EveryMeshNodeBecomesANodeOfTheScene) {
    host::RenderSource source{
        host::ModelSceneDocument(), ImportModel(TestDataFile("meshes/spider.obj"), {}), {}};
    const std::size_t parts = source.model.parts.size();
    ASSERT_GT(parts, 1u);
    const std::unique_ptr<host::SceneRoot> scene =
        host::SceneFromSource(source, "spider.obj", render_test::LoadedPlugins());
    const std::vector<INode*> nodes = scene->Nodes();
    ASSERT_EQ(nodes.size(), parts);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i]->GetGBufID(), i + 1) << "object IDs count the parts";
        EXPECT_EQ(nodes[i]->GetMtl(), nodes[0]->GetMtl()) << "one material for the whole model";
        ASSERT_NE(nodes[i]->GetObjectRef(), nullptr);
    }
    EXPECT_FALSE(scene->Camera().has_value()) << "the renderer frames the model";
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
        try {
            ImportModel(file, {});
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const std::string meshes = std::filesystem::path(TestDataFile("meshes/box.obj")).parent_path().string();
    EXPECT_NE(message(meshes).find("it is a directory"), std::string::npos);
    EXPECT_NE(message(meshes + "/none.obj").find("file not found"), std::string::npos);
    render_test::TempFile text("not_a_model.obj");
    std::ofstream(text.Path()) << "this is not a model\n";
    EXPECT_NE(message(text.Utf8()).find(text.Utf8()), std::string::npos);
}

// Scene files name model files relative to themselves; the model becomes the object's one mesh.
TEST_F(ModelImport, SceneFilesNameModelFilesRelativeToThemselves) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "chromasift_mesh_file_test";
    std::filesystem::create_directories(dir / "models");
    std::filesystem::copy_file(TestDataFile("meshes/box.obj"), dir / "models" / "box.obj",
                               std::filesystem::copy_options::overwrite_existing);
    const auto scene = [&](const char* classWords, const char* file) {
        std::ostringstream text;
        text << R"({"format": "chromasift-scene", "version": 1, "objects": [{"id": 1, "superClass": "0x10",
            "class": )"
             << classWords << R"(, "settings": {"meshFile": ")" << file << R"("}},
            {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 1}]}],
            "maps": [], "nodes": [2]})";
        std::ofstream(dir / "scene.json") << text.str();
        return host::LoadScene(dir / "scene.json", render_test::LoadedPlugins());
    };
    const std::unique_ptr<host::SceneRoot> poly = scene(R"(["0x5d21369a", "0x2a4c6e13"])", "models/box.obj");
    auto* polyObject = dynamic_cast<PolyObject*>(poly->Nodes().at(0)->GetObjectRef());
    ASSERT_NE(polyObject, nullptr);
    EXPECT_EQ(polyObject->GetMesh().numf, 6);
    const std::unique_ptr<host::SceneRoot> tri = scene(R"(["0x9", "0x0"])", "models/box.obj");
    auto* triObject = dynamic_cast<TriObject*>(tri->Nodes().at(0)->GetObjectRef());
    ASSERT_NE(triObject, nullptr);
    EXPECT_EQ(triObject->GetMesh().getNumFaces(), 12) << "a triangle mesh takes the model triangulated";
    try {
        scene(R"(["0x9", "0x0"])", "models/missing.obj");
        ADD_FAILURE() << "a missing model file loaded";
    } catch (const host::SceneError& e) {
        EXPECT_NE(std::string(e.what()).find("/objects/0/settings/meshFile"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("missing.obj"), std::string::npos) << e.what();
    }
    std::filesystem::remove_all(dir);
}

TEST(ModelImportUnavailable, SaysSoClearly) {
    if (host::CanImportModels())
        GTEST_SKIP() << "this build imports model files";
    try {
        ImportModel("model.obj", {});
        ADD_FAILURE() << "a build without an importer imported a model";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("cannot import model files"), std::string::npos) << e.what();
    }
}

} // namespace
