// The host's own mental ray shader "Chromasift": what it reads from a shader instance, and how it picks a
// colour from what it sees of a sample.
#include "host/render/mr_chromasift_shader.h"

#include <gtest/gtest.h>

#include <set>

namespace {

ParamID Find(IParamBlock2* block, const wchar_t* name) {
    return block->IndextoID(block->GetDesc()->NameToIndex(name));
}

host::ChromasiftShaderParams FourColours(int mode) {
    host::ChromasiftShaderParams params;
    params.colours = {AColor(1, 0, 0, 1), AColor(0, 1, 0, 1), AColor(0, 0, 1, 1), AColor(1, 1, 0, 1)};
    params.mappingMode = mode;
    return params;
}

TEST(ChromasiftShader, ReadsItsInstanceAndKeepsItsDefaultsForUnwrittenParameters) {
    mrShaderLibrary library;
    library.Declare(host::ChromasiftShaderDeclaration());
    imrShader* shader = library.CreateShader(L"Chromasift", L"m");
    IParamBlock2* values = shader->GetParametersParamBlock();
    host::ChromasiftShaderParams params = host::ReadChromasiftShader(*shader);
    EXPECT_TRUE(params.colours.empty());
    EXPECT_EQ(params.scale, Point3(1, 1, 1)) << "an untranslated scale leaves coordinates as they are";
    EXPECT_EQ(params.tileWidth, 1);
    EXPECT_EQ(params.inputMap, nullptr);

    values->SetCount(Find(values, L"colors"), 2);
    values->SetValue(Find(values, L"colors"), 0, AColor(0.5f, 0.25f, 0.0f, 1.0f), 1);
    values->SetValue(Find(values, L"mappingMode"), 0, 13);
    values->SetValue(Find(values, L"VOffset"), 0, 0.5f);
    values->SetValue(Find(values, L"WAngle"), 0, 0.75f);
    values->SetValue(Find(values, L"tileHeight"), 0, 4);
    values->SetValue(Find(values, L"inputMap"), 0, 0.375f);
    params = host::ReadChromasiftShader(*shader);
    ASSERT_EQ(params.colours.size(), 2u);
    EXPECT_EQ(params.colours[1], AColor(0.5f, 0.25f, 0.0f, 1.0f));
    EXPECT_EQ(params.mappingMode, 13);
    EXPECT_EQ(params.offset, Point3(0.0f, 0.5f, 0.0f));
    EXPECT_EQ(params.angle, Point3(0.0f, 0.0f, 0.75f));
    EXPECT_EQ(params.tileHeight, 4);
    EXPECT_EQ(params.inputValue, 0.375f);
}

TEST(ChromasiftShader, CoordinateModesReadTheTranslatedCoordinateSystem) {
    host::ShaderSample sample;
    sample.objectPoint = Point3(0.1f, 0.1f, 0.1f);
    sample.worldPoint = Point3(4.0f, 0.0f, 0.0f);
    sample.uvw1 = Point3(0.75f, 0.75f, 0.0f);
    sample.vertexColour = Point3(7.0f, 0.0f, 0.0f);

    host::ChromasiftShaderParams tiles = FourColours(13);
    tiles.mapping = UVW_COORDS;
    tiles.tileWidth = 2;
    tiles.tileHeight = 2;
    EXPECT_EQ(host::ChromasiftShaderIndex(tiles, sample, 0.0f), 3) << "row 1, column 1 of two by two";

    host::ChromasiftShaderParams world = FourColours(2);
    world.mapping = XYZ_WORLD_COORDS;
    world.offset = Point3(1.0f, 0.0f, 0.0f);
    world.scale = Point3(0.1f, 1.0f, 1.0f);
    EXPECT_EQ(host::ChromasiftShaderIndex(world, sample, 0.0f), 2) << "(4 + 1) x 0.1 = 0.5 of four colours";
    world.mapping = UVW2_COORDS;
    EXPECT_EQ(host::ChromasiftShaderIndex(world, sample, 0.0f), 3) << "(7 + 1) x 0.1 of the vertex colours";
    world.mapping = XYZ_COORDS;
    EXPECT_EQ(host::ChromasiftShaderIndex(world, sample, 0.0f), 0);
}

TEST(ChromasiftShader, FaceModesGoByMaterialIDAndRasterModesByPixel) {
    host::ShaderSample sample;
    for (const int mode : {6, 7, 8, 9, 16}) {
        sample.materialID = 6;
        EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(mode), sample, 0.0f), 2) << "mode " << mode;
    }
    std::set<int> drawn;
    for (int id = 1; id <= 6; ++id) {
        sample.materialID = id;
        const int index = host::ChromasiftShaderIndex(FourColours(12), sample, 0.0f);
        drawn.insert(index);
        EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(12), sample, 0.0f), index)
            << "a key keeps its draw";
    }
    EXPECT_GE(drawn.size(), 2u) << "polygons draw different colours";

    sample.x = 3;
    sample.y = 1;
    sample.width = 10;
    EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(1), sample, 0.0f), 1) << "pixel 13 of a raster scan";
    EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(11), sample, 0.0f), 2) << "13 mod 8 runs back to 2";
    EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(5), sample, 0.6f), 2) << "input 0.6 of four colours";

    EXPECT_EQ(host::ChromasiftShaderIndex(FourColours(17), sample, 0.0f), -1) << "an unknown mode is black";
    host::ChromasiftShaderParams none = FourColours(8);
    none.colours.clear();
    EXPECT_EQ(host::ChromasiftShaderIndex(none, sample, 0.0f), -1);
}

} // namespace
