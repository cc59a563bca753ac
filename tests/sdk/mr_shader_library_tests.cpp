// The map's translation tests fill a declared shader's parameters and connect its input map; here what
// they cannot see.
#include "hostsdk/mr_shader_library.h"

#include <gtest/gtest.h>

namespace {

TEST(MentalRayShaderLibrary, OnlyConnectableParametersTakeMaps) {
    mrShaderLibrary library;
    library.Declare(
        {L"Tint", {{L"mode", mrParamKind::Integer}, {L"amount", mrParamKind::Float, true, 0.25}}});
    EXPECT_EQ(library.CreateShader(L"tint", nullptr), nullptr) << "declaration names are exact";
    imrShader* shader = library.CreateShader(L"Tint", L"first");
    ASSERT_NE(shader, nullptr);
    IParamBlock2* connections = shader->GetConnectionsParamBlock();
    ASSERT_EQ(connections->NumParams(), 1);
    EXPECT_EQ(connections->GetDesc()->NameToIndex(L"amount.shader"), 0);
    const ParamDef* connection = connections->GetParamDef(connections->IndextoID(0));
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->type, TYPE_TEXMAP);
}

} // namespace
