// Shader instances of the host's mental ray integration, and the parameter blocks behind them: parameters
// defined by name and type, colour tables resized and written per element.
#include "hostsdk/mr_shader_library.h"
#include "hostsdk/tex_gen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ParamID Find(IParamBlock2* block, const wchar_t* name) {
    return block->IndextoID(block->GetDesc()->NameToIndex(name));
}

const mrShaderDeclaration kDeclaration{L"Tint",
                                       {{L"colors", mrParamKind::ColourTable},
                                        {L"mode", mrParamKind::Integer, false, 3.0},
                                        {L"amount", mrParamKind::Float, true, 0.25}}};

// Names, defaults and a missing declaration are driven by the map's translation tests; here what they
// cannot see: exact names, the connections block and a redeclaration.
TEST(MentalRayShaderLibrary, MakesInstancesOfKnownDeclarationsOnly) {
    mrShaderLibrary library;
    library.Declare(kDeclaration);
    EXPECT_EQ(library.CreateShader(L"tint", L"first"), nullptr) << "declaration names are exact";
    EXPECT_EQ(library.CreateShader(nullptr, L"first"), nullptr);
    imrShader* shader = library.CreateShader(L"Tint", L"first");
    ASSERT_NE(shader, nullptr);
    IParamBlock2* values = shader->GetParametersParamBlock();
    EXPECT_EQ(values->GetParameterType(Find(values, L"colors")), TYPE_FRGBA | TYPE_TAB);
    IParamBlock2* connections = shader->GetConnectionsParamBlock();
    ASSERT_EQ(connections->NumParams(), 1) << "only connectable parameters take maps";
    EXPECT_EQ(connections->GetParameterType(Find(connections, L"amount.shader")), TYPE_TEXMAP);

    library.Declare({L"Tint", {{L"other", mrParamKind::Integer}}});
    imrShader* redeclared = library.CreateShader(L"Tint", nullptr);
    EXPECT_EQ(redeclared->GetParametersParamBlock()->NumParams(), 1);
    EXPECT_EQ(values->NumParams(), 3) << "shaders made earlier keep their declaration";
    EXPECT_EQ(library.Shaders(), (std::vector<imrShader*>{shader, redeclared}));
}

TEST(MentalRayShaderLibrary, ColourTablesAreResizedAndWrittenPerElementWithTypesChecked) {
    mrShaderLibrary library;
    library.Declare(kDeclaration);
    IParamBlock2* values = library.CreateShader(L"Tint", L"x")->GetParametersParamBlock();
    const ParamID colours = Find(values, L"colors");
    const ParamID mode = Find(values, L"mode");
    Interval valid = FOREVER;
    AColor read;

    EXPECT_FALSE(values->SetValue(colours, 0, AColor(1, 1, 1, 1), 0)) << "no element 0 before SetCount";
    EXPECT_TRUE(values->SetCount(colours, 3));
    EXPECT_TRUE(values->SetValue(colours, 0, AColor(0.5f, 0.25f, 0.125f, 0.75f), 2));
    EXPECT_TRUE(values->GetValue(colours, 0, read, valid, 2));
    EXPECT_EQ(read, AColor(0.5f, 0.25f, 0.125f, 0.75f)) << "all four channels kept";
    EXPECT_TRUE(values->SetCount(colours, 5));
    EXPECT_TRUE(values->GetValue(colours, 0, read, valid, 2));
    EXPECT_EQ(read, AColor(0.5f, 0.25f, 0.125f, 0.75f)) << "growing keeps the elements";
    EXPECT_TRUE(values->SetCount(colours, 1));
    EXPECT_EQ(values->Count(colours), 1);
    EXPECT_FALSE(values->GetValue(colours, 0, read, valid, 2));

    EXPECT_FALSE(values->SetCount(mode, 2)) << "a single value has no count";
    EXPECT_FALSE(values->SetValue(mode, 0, AColor(1, 0, 0, 1))) << "a colour is no integer";
    EXPECT_FALSE(values->SetValue(colours, 0, 1.0f, 0)) << "a float is no colour";
    EXPECT_TRUE(values->SetValue(mode, 0, 12));
    EXPECT_EQ(values->GetInt(mode), 12) << "the fast path still reads the value after a table moved";
}

TEST(MentalRayShaderLibrary, ShrinkingAMapTableReleasesTheDroppedMapsAndClonesKeepCounts) {
    std::vector<ParamDef> defs(2);
    defs[0].id = 0;
    defs[0].internalName = L"maps";
    defs[0].type = TYPE_TEXMAP | TYPE_TAB;
    defs[1].id = 4;
    defs[1].internalName = L"level";
    defs[1].type = TYPE_FLOAT;
    ParamBlockDesc2 desc(3, L"Block", defs);
    IParamBlock2* block = CreateParameterBlock2(&desc, nullptr);
    EXPECT_EQ(block->IndextoID(1), 4);
    ASSERT_TRUE(block->SetCount(0, 2));
    BitmapTex* kept = NewDefaultBitmapTex();
    BitmapTex* dropped = NewDefaultBitmapTex();
    ASSERT_TRUE(block->SetValue(0, 0, static_cast<Texmap*>(kept), 0));
    ASSERT_TRUE(block->SetValue(0, 0, static_cast<Texmap*>(dropped), 1));
    EXPECT_EQ(block->NumRefs(), 2);
    // Another holder keeps the dropped map alive so that its dependents can be looked at.
    auto* holder = CreateParameterBlock2(&desc, nullptr);
    holder->SetCount(0, 1);
    holder->SetValue(0, 0, static_cast<Texmap*>(dropped), 0);

    ASSERT_TRUE(block->SetCount(0, 1));
    EXPECT_EQ(block->NumRefs(), 1);
    EXPECT_EQ(block->GetTexmap(0, 0, 0), kept);
    EXPECT_EQ(dropped->Dependents().size(), 1u) << "only the other holder still refers to it";

    block->SetValue(4, 0, 2.5f);
    RemapDir remap;
    auto* copy = static_cast<IParamBlock2*>(block->Clone(remap));
    EXPECT_EQ(copy->Count(0), 1);
    EXPECT_EQ(copy->GetFloat(4), 2.5f);
    copy->DeleteThis();
    holder->DeleteThis();
    block->DeleteThis();
}

} // namespace
