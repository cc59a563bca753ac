// A model part's faces as one corner list with face starts: what AddFace builds and what the part answers
// about it.
#include "host/import/imported_model.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using host::ImportedPart;

std::vector<int> List(std::span<const int> corners) {
    return std::vector<int>(corners.begin(), corners.end());
}

TEST(ImportedPart, FacesLieOneAfterAnotherInOneCornerList) {
    ImportedPart part;
    EXPECT_EQ(part.FaceCount(), 0u);
    const std::vector<int> triangle{0, 1, 2}, quad{2, 1, 3, 4}, uvs{5, 6, 7, 8};
    part.AddFace(triangle, 4);
    part.AddFace(quad, 9, uvs);
    EXPECT_EQ(part.faceStarts, (std::vector<std::uint32_t>{0, 3, 7}));
    EXPECT_EQ(part.corners, (std::vector<int>{0, 1, 2, 2, 1, 3, 4}));
    EXPECT_EQ(part.faceMaterials, (std::vector<int>{4, 9}));
    ASSERT_EQ(part.FaceCount(), 2u);
    EXPECT_EQ(List(part.Face(0)), triangle);
    EXPECT_EQ(List(part.Face(1)), quad);
    EXPECT_EQ(part.uvCorners, uvs) << "the first face brought no uv corners";
    ImportedPart moved = std::move(part);
    EXPECT_EQ(moved.FaceCount(), 2u);
}

TEST(ImportedPart, PolygonsAreFacesOfMoreThanThreeCorners) {
    ImportedPart part;
    const std::vector<int> triangle{0, 1, 2}, quad{0, 1, 2, 3};
    EXPECT_FALSE(part.HasPolygons()) << "no faces";
    part.AddFace(triangle, 0);
    part.AddFace(triangle, 0);
    EXPECT_FALSE(part.HasPolygons());
    part.AddFace(quad, 0);
    EXPECT_TRUE(part.HasPolygons()) << "the last face a polygon";
    ImportedPart first;
    first.AddFace(quad, 0);
    first.AddFace(triangle, 0);
    EXPECT_TRUE(first.HasPolygons()) << "the first face a polygon";
}

TEST(ImportedModel, ModelFilesAreKnownByTheirExtension) {
    EXPECT_EQ(host::FileExtension("models/Chair.OBJ"), "obj");
    EXPECT_EQ(host::FileExtension("models.v2/chair"), "") << "a dot in a folder's name";
    EXPECT_EQ(host::FileExtension("chair"), "");
    EXPECT_TRUE(host::IsModelFile("a/b.Dae"));
    EXPECT_TRUE(host::IsModelFile("b.glb"));
    EXPECT_FALSE(host::IsModelFile("scene.json"));
    EXPECT_FALSE(host::IsModelFile("obj"));
}

} // namespace
